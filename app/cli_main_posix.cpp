#include <string>
#include <vector>

#include "app/cli.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  korvane::InitConsole();
  return korvane::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
