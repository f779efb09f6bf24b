#include <string>
#include <vector>

#include "app/cli.h"
#include "app/cli_language.h"
#include "platform/console.h"
#include "platform/text_win32.h"
#include "text/language.h"

// wmain: the arguments arrive as UTF-16, whatever the console's code page.
int wmain(int argc, wchar_t** argv) {
  korvane::InitConsole();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(korvane::Narrow(argv[i]));
  korvane::text::SetLanguage(korvane::CommandLineLanguage(args));
  return korvane::RunCommandLine(args);
}
