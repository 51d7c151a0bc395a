#pragma once
// Warnings the core raises for data it could do without (a missing data file, an empty
// library): the program goes on, and the user should hear of it once. The core never
// prints; whoever can show a message (the viewer, a tool) installs the process-wide sink.
// Warnings reported before a sink exists wait and are handed to the first sink installed,
// so nothing said during start-up is lost.

#include <functional>
#include <string>
#include <vector>

namespace vellmar {

// Receives one warning text (Windows-1251, as every message of the core).
using TWarningSink = std::function<void(const std::string& message)>;

// Installs the sink (an empty one collects again) and hands it the waiting warnings.
void SetWarningSink(TWarningSink sink);
// Passes the message to the installed sink, or keeps it until one is installed.
void ReportWarning(const std::string& message);
// Warnings reported while no sink was installed, oldest first; taking them empties the list.
std::vector<std::string> TakePendingWarnings();

}  // namespace vellmar
