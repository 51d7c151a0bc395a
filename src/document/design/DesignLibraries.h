#pragma once
// Makes every street created from now on own the three design libraries (blocks,
// patterned lines, pattern fills), so that their chunks are read and written.

namespace vellmar {

// Part of the program's start-up registration.
void RegisterDesignLibraries();

}  // namespace vellmar
