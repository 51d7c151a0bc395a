#pragma once
// What the window tells people when a street file cannot be read or written: what
// happened, to which file (by its name) and what to do about it. The program's own
// text of the error goes under the message's details, not into it.

#include <QString>

namespace vellmar {

// Missing, unreadable, or there but not a street the program can read.
QString OpenFailureText(const QString& fileName);
QString SaveFailureText(const QString& fileName);

}  // namespace vellmar
