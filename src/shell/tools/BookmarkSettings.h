#pragma once
// The view bookmarks of each street file, kept in the settings (section "Bookmarks"): one
// value per file, named after the file's full path (percent-encoded, so that a path's
// slashes do not become sections), holding one line per bookmark.

#include <QString>

#include "document/ViewBookmarks.h"

namespace vellmar {

// None when the file has none or the settings cannot be read.
TViewBookmarks ReadViewBookmarks(const QString& filePath);
// Raises EVellmarError when the settings cannot be written.
void WriteViewBookmarks(const QString& filePath, const TViewBookmarks& bookmarks);

}  // namespace vellmar
