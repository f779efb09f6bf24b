#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>

#include "platform/console.h"

namespace korvane {
namespace {

std::atomic<bool>* g_stop_flag = nullptr;

extern "C" void OnSignal(int) {
  if (g_stop_flag)
    g_stop_flag->store(true);
}

std::FILE* FileOf(Stream stream) {
  return stream == Stream::kOut ? stdout : stderr;
}

}  // namespace

void InitConsole() {
  // strerror speaks the user's language where the system has it.
  std::setlocale(LC_ALL, "");
  // Rows piped or redirected go out in large writes, as on Windows: the C library's default is
  // one page, a system call per few dozen rows.
  if (!IsTerminal(Stream::kOut)) {
    static char buffer[64 * 1024];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  }
}

bool IsTerminal(Stream stream) {
  return isatty(fileno(FileOf(stream))) == 1;
}

bool InputIsTerminal() {
  return isatty(STDIN_FILENO) == 1;
}

int TerminalColumns() {
  winsize ws{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0)
    return ws.ws_col;
  return 0;
}

void Write(Stream stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), FileOf(stream));
}

void Flush(Stream stream) {
  std::fflush(FileOf(stream));
}

bool ReadLine(std::string& line) {
  line.clear();
  for (int c; (c = std::getchar()) != EOF;) {
    if (c == '\n')
      return true;
    line.push_back(static_cast<char>(c));
  }
  return !line.empty();
}

void StopOnInterrupt(std::atomic<bool>& flag) {
  g_stop_flag = &flag;
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

}  // namespace korvane
