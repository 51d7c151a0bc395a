#pragma once
// Named views of one street file (centre, scale, rotation and a name the user gave),
// in the order they were made, and their text form: one line per bookmark,
// "x y z scale rotation name", the numbers with every digit a single needs to come back
// the same and "." whatever the locale. Names are UTF-8 (they are the user's settings,
// not document text), without line breaks, unique within a file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/ViewState.h"

namespace vellmar {

struct TViewBookmark {
  std::string Name;
  TViewState View;
};

class TViewBookmarks {
 public:
  // Lines that are not bookmarks (a damaged or hand-edited settings file) are left out,
  // and so is a view no frame could be drawn with (a scale not above 0, a number that is
  // not finite).
  static TViewBookmarks FromLines(const std::vector<std::string>& lines);
  std::vector<std::string> ToLines() const;

  const std::vector<TViewBookmark>& Items() const { return items_; }
  // The name as a bookmark keeps it: line breaks and tabs made blanks, blanks around cut.
  static std::string CleanName(std::string_view name);
  // A new bookmark at the end. False (and nothing changes) for a name that is empty once
  // cleaned or that a bookmark has already: a view kept under a name is never replaced
  // unasked.
  bool Add(std::string_view name, const TViewState& view);
  bool Contains(std::string_view name) const { return Find(CleanName(name)).has_value(); }
  // False for an index outside the list, an empty name or the name of another bookmark.
  bool Rename(std::size_t index, std::string_view name);
  void Remove(std::size_t index);

 private:
  std::optional<std::size_t> Find(std::string_view name) const;

  std::vector<TViewBookmark> items_;
};

}  // namespace vellmar
