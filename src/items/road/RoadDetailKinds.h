#pragma once
// The classes of the road's detail kinds: point furniture (manholes, grates, stops,
// pictures), dimensions and measures, defects, zebras, islands, bus-stop markings and
// label places.

namespace vellmar {

// Enters each detail kind's class in the kind registry; RegisterItemKinds must have run.
void RegisterRoadDetailKinds();

}  // namespace vellmar
