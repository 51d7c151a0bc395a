#pragma once
// Makes the design element kinds (design figure, design line, design block, kern) use
// their own item classes.

namespace vellmar {

// Part of the program's start-up registration, after the generic kinds.
void RegisterDesignKinds();

}  // namespace vellmar
