#include "platform/ToolMain.h"

#include <exception>
#include <iostream>

namespace vellmar {

int RunTool(const char* name, const char* usage, int argc, char** argv, const TToolBody& body) {
  try {
    return body(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const TUsageError& e) {
    std::cerr << name << ": " << e.what << "\n" << usage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << name << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace vellmar
