// The shell's rooms depend one way: the window on the tools, synchronisation and print;
// those on the plan; the plan on the files; everything on the small UI pieces. A file
// that includes a room above its own (a tool reaching back into the main window) brings
// back the two-way knots that made a tool impossible to build or test on its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace vellmar::test {
namespace {

namespace fs = std::filesystem;

// The rooms each room may include besides itself.
const std::map<std::string, std::set<std::string>>& Allowed() {
  static const std::map<std::string, std::set<std::string>> allowed = {
      {"window", {"tools", "sync", "print", "plan", "files", "ui"}},
      {"tools", {"plan", "files", "ui"}},
      {"sync", {"plan", "files", "ui"}},
      {"print", {"ui"}},
      {"plan", {"files", "ui"}},
      {"files", {"ui"}},
      {"ui", {}},
  };
  return allowed;
}

// Every "shell/<room>/..." include of the source files below the folder, with the file.
std::vector<std::pair<fs::path, std::string>> ShellIncludes(const fs::path& folder) {
  static const std::regex include(R"(^\s*#\s*include\s*"shell/([^"]*)\")");
  std::vector<std::pair<fs::path, std::string>> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".h" && extension != ".cpp") continue;
    std::ifstream in(entry.path());
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
      if (std::regex_search(line, match, include)) found.emplace_back(entry.path(), match[1].str());
    }
  }
  return found;
}

TEST(ShellRoomsTest, EverySourceLivesInARoomWithItsReadme) {
  const fs::path shell = VELLMAR_SHELL_SOURCES;
  for (const auto& entry : fs::directory_iterator(shell)) {
    if (entry.is_directory()) {
      const std::string room = entry.path().filename().string();
      if (room == "translations") continue;
      EXPECT_TRUE(Allowed().count(room)) << "a folder that is no room: " << room;
      EXPECT_TRUE(fs::exists(entry.path() / "README.md")) << room;
    } else {
      EXPECT_EQ(entry.path().extension(), ".md") << "a source outside the rooms: " << entry.path();
    }
  }
  for (const auto& [room, _] : Allowed()) EXPECT_TRUE(fs::is_directory(shell / room)) << room;
}

TEST(ShellRoomsTest, IncludesRunOneWayAndOnlyTheWindowSeesTheMainWindow) {
  const fs::path shell = VELLMAR_SHELL_SOURCES;
  int checked = 0;
  for (const auto& [file, included] : ShellIncludes(shell)) {
    const std::string room = fs::relative(file, shell).begin()->string();
    const std::string target = included.substr(0, included.find('/'));
    ++checked;
    if (target == room) continue;
    ASSERT_TRUE(Allowed().count(room)) << file;
    EXPECT_TRUE(Allowed().at(room).count(target)) << file << " includes shell/" << included;
  }
  // The folder was read at all: an empty scan would pass anything.
  EXPECT_GT(checked, 50);
}

TEST(ShellRoomsTest, TheCheckFindsAToolThatIncludesTheMainWindow) {
  const fs::path root = fs::temp_directory_path() / "vellmar-rooms-check";
  fs::remove_all(root);
  fs::create_directories(root / "tools");
  std::ofstream(root / "tools" / "Tool.cpp") << "#include \"shell/plan/PlanWindow.h\"\n"
                                                "  #include \"shell/window/MainForm.h\"\n";
  const auto found = ShellIncludes(root);
  fs::remove_all(root);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].second, "window/MainForm.h");
  EXPECT_FALSE(Allowed().at("tools").count("window"));
}

}  // namespace
}  // namespace vellmar::test
