#pragma once
// The block picture drawn for any name a street's library lacks. The program has one,
// made on first use from "\DataFiles\Текстуры\DefaultBlock.bmp" and kept until exit.
// A missing or unreadable file must not stop the program: a placeholder picture (a red
// crossed frame) stands in and one warning says so.

#include <filesystem>
#include <memory>
#include <optional>

#include "document/design/DsnBlockDef.h"
#include "platform/WarningSink.h"

namespace vellmar {

// Width 1.5, height 3, no name, anchor (0, 0), the picture from file; the placeholder and
// one call of warn when file is nullopt or cannot be read.
std::unique_ptr<TDsnBlockDef> MakeDefaultBlock(const std::optional<std::filesystem::path>& file,
                                               const TWarningSink& warn);

// The process-wide default block; its warning goes to ReportWarning.
const TDsnBlockDef& DefaultBlock();

}  // namespace vellmar
