#pragma once
// Makes the road sign, second road sign and traffic light kinds use their own item classes.

namespace vellmar {

// Part of the program's start-up registration, after the generic kinds.
void RegisterSignKinds();

}  // namespace vellmar
