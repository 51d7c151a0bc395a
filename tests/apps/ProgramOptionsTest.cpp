// How the programs meet a user at the command line: --help and --version answer on
// stdout, a window program without a display says so in one line, and vellmar-render
// takes only the output names and options it can honour.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestSupport.h"
#include "support/ToolRun.h"

namespace vellmar {
namespace {

using test::Quote;
using test::RunTool;
using test::TToolRun;

int LineCount(const std::string& text) {
  int lines = 0;
  for (const char c : text) lines += c == '\n';
  return lines;
}

struct TWindowProgram {
  const char* Path;
  const char* Name;
  const char* HelpSays;  // what its help must explain
};

const TWindowProgram kWindowPrograms[] = {
    {VELLMAR_VIEWER_TOOL, "vellmar", "Opens street plans (*.pln) in tabs"},
    {VELLMAR_HUB_TOOL, "vellmar-hub", "Keeps street viewers in step"},
};

// Without the display variables, so that a window could never open.
std::string Headless(const char* program, const std::string& variables = "") {
  return "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + variables + " " + program;
}

TEST(WindowPrograms, HelpAndVersionAnswerOnStdoutWithoutADisplay) {
  const test::TempDir scratch;
  for (const TWindowProgram& program : kWindowPrograms) {
    SCOPED_TRACE(program.Name);
    const TToolRun version = RunTool(Headless(program.Path), "--version", scratch);
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Output, std::string(program.Name) + " " + VELLMAR_VERSION + "\n");
    EXPECT_EQ(version.Errors, "");
    for (const char* ask : {"--help", "-h"}) {
      const TToolRun help = RunTool(Headless(program.Path), ask, scratch);
      EXPECT_EQ(help.Status, 0) << ask;
      EXPECT_TRUE(help.Output.starts_with(std::string("usage: ") + program.Name)) << help.Output;
      EXPECT_NE(help.Output.find(program.HelpSays), std::string::npos) << help.Output;
      EXPECT_EQ(help.Errors, "");
    }
  }
}

TEST(WindowPrograms, WithoutADisplayTheySaySoInOneLineAndExit1) {
  const test::TempDir scratch;
  struct TCase {
    std::string Variables;
    std::string Reason;
  };
  const TCase cases[] = {
      {"", "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
      {"QT_QPA_PLATFORM=wayland", "no display (WAYLAND_DISPLAY is not set)"},
      {"QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-9", "no display (DISPLAY is not set)"},
      // A display named where no server listens: Qt gives up inside its start.
      {"DISPLAY=:173 XAUTHORITY=/nonexistent", "the display does not answer"},
  };
  for (const TWindowProgram& program : kWindowPrograms) {
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(program.Name) + " " + c.Variables);
      const TToolRun run = RunTool(Headless(program.Path, c.Variables), "", scratch);
      EXPECT_EQ(run.Status, 1);
      EXPECT_EQ(run.Output, "");
      EXPECT_EQ(run.Errors, std::string(program.Name) + ": cannot open a window: " + c.Reason + "\n");
      EXPECT_EQ(LineCount(run.Errors), 1);
    }
  }
}

// A street file is never read for these: the options are refused first.
TEST(RenderOptions, EveryOutputNameAndOptionHasOneMeaning) {
  const test::TempDir scratch;
  struct TCase {
    std::string Arguments;
    std::string Message;
  };
  const TCase cases[] = {
      {"-o out.gif", "the name must end in .png, .jpg or .jpeg (a picture) or .pdf"},
      {"-o out", "the name must end in .png, .jpg or .jpeg (a picture) or .pdf"},
      {"-o out.png --scale 500", "a picture's zoom is --zoom"},
      {"-o out.jpg --paper A3", "a picture's zoom is --zoom"},
      {"-o out.pdf --zoom 0.1", "--zoom and --size are for pictures; paper takes --scale N"},
      {"-o out.pdf --size 100x100", "--zoom and --size are for pictures"},
      {"-o out.png --pdf", "-o needs a .pdf name"},
      {"-o out.jpeg --sheet 1", "-o needs a .pdf name"},
      {"-o out.pdf --sheet 1 --scale 200", "a sheet prints on its own paper at its own scale"},
      {"-o out.png --zoom 0", "--zoom must be above 0"},
      {"-o out.png --rotation 90grad", "--rotation needs a number, not '90grad'"},
      {"-o out.png --rotation rad", "--rotation needs a number, not 'rad'"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const TToolRun run = RunTool(VELLMAR_RENDER_TOOL, Quote(scratch / "none.pln") + " " + c.Arguments, scratch);
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(run.Errors.starts_with("vellmar-render: ")) << run.Errors;
    EXPECT_LT(run.Errors.find(c.Message), run.Errors.find('\n')) << run.Errors;
    EXPECT_NE(run.Errors.find("usage:"), std::string::npos);
  }
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(scratch.Path())) ++files;
  EXPECT_EQ(files, 1) << "only the test's own stderr file";
}

}  // namespace
}  // namespace vellmar
