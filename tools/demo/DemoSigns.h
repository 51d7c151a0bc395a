#pragma once
// The demo street's road signs and traffic lights: signs with the plates under them on
// posts at the crossing, before it and at the bus stop, each standing on the roadside of
// the traffic it speaks to and upright on the plan; and a traffic light on either side of
// the crossing, a pole with a vehicle head and a pedestrian head.

namespace vellmar {

class TStreetStructure;

// Adds them to a street that holds the avenue (along y = 0 from x = 0 to 300).
void AddDemoSigns(TStreetStructure& street);

}  // namespace vellmar
