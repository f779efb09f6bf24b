#include <string>
#include <vector>

#include "app/cli.h"
#include "app/cli_language.h"
#include "platform/console.h"
#include "text/language.h"

int main(int argc, char** argv) {
  korvane::InitConsole();
  const std::vector<std::string> args(argv + 1, argv + argc);
  korvane::text::SetLanguage(korvane::CommandLineLanguage(args));
  return korvane::RunCommandLine(args);
}
