#pragma once
// The classes of the road kinds (surfaces, curbs, barriers, markings, axis, stationing).

namespace vellmar {

// Enters each road kind's class in the kind registry; RegisterItemKinds must have run.
void RegisterRoadKinds();

}  // namespace vellmar
