// The console on Windows: UTF-16 through WriteConsoleW when writing to a console window, UTF-8
// bytes as they are when redirected to a file or a pipe.
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/console.h"
#include "platform/text_win32.h"
#include "platform/write_all_win32.h"

namespace korvane {
namespace {

constexpr std::string_view kEraseLine = "\x1b[K";
constexpr std::size_t kFlushAt = 64 * 1024;

std::atomic<bool>* g_stop_flag = nullptr;
std::array<std::string, 2> g_pending;
// Console modes as InitConsole found them; the console outlives the program.
std::array<DWORD, 2> g_original_mode;
std::array<bool, 2> g_mode_changed;

HANDLE HandleOf(Stream stream) {
  return GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// When the program ends, what is still buffered goes out (as the C runtime does for stdout) and
// the console gets its modes back.
struct AtExit {
  ~AtExit() {
    for (Stream stream : {Stream::kOut, Stream::kErr}) {
      Flush(stream);
      const int i = stream == Stream::kOut ? 0 : 1;
      if (g_mode_changed[i])
        SetConsoleMode(HandleOf(stream), g_original_mode[i]);
    }
  }
} g_at_exit;

bool IsConsole(HANDLE h, DWORD* mode = nullptr) {
  DWORD m = 0;
  const bool console = h && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &m);
  if (mode)
    *mode = m;
  return console;
}

// Output that cannot be written (a closed pipe) is dropped, as a C runtime would.
void WriteBytes(HANDLE h, std::string_view bytes) {
  SystemError ignored;
  (void)WriteAll(h, bytes, ignored);
}

void WriteWide(HANDLE h, std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  std::wstring_view text = wide;
  while (!text.empty()) {
    std::size_t chunk = std::min<std::size_t>(text.size(), 8192);
    // Keep a surrogate pair in one call.
    if (chunk < text.size() && text[chunk - 1] >= 0xD800 && text[chunk - 1] <= 0xDBFF)
      --chunk;
    DWORD written = 0;
    if (!WriteConsoleW(h, text.data(), static_cast<DWORD>(chunk), &written, nullptr) ||
        written == 0)
      return;
    text.remove_prefix(written);
  }
}

// Consoles older than Windows 10 do not know "ESC [ K", the only escape the progress line uses;
// there the rest of the line is blanked by hand.
void EraseToEndOfLine(HANDLE h) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(h, &info) || info.dwCursorPosition.X >= info.dwSize.X)
    return;
  DWORD written = 0;
  FillConsoleOutputCharacterW(h, L' ', static_cast<DWORD>(info.dwSize.X - info.dwCursorPosition.X),
                              info.dwCursorPosition, &written);
}

void WriteToConsole(HANDLE h, DWORD mode, std::string_view utf8) {
  if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) {
    WriteWide(h, utf8);
    return;
  }
  for (std::size_t at; (at = utf8.find(kEraseLine)) != std::string_view::npos;) {
    WriteWide(h, utf8.substr(0, at));
    EraseToEndOfLine(h);
    utf8.remove_prefix(at + kEraseLine.size());
  }
  WriteWide(h, utf8);
}

BOOL WINAPI OnConsoleControl(DWORD event) {
  if ((event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) && g_stop_flag) {
    g_stop_flag->store(true);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void InitConsole() {
  for (Stream stream : {Stream::kOut, Stream::kErr}) {
    const HANDLE h = HandleOf(stream);
    const int i = stream == Stream::kOut ? 0 : 1;
    DWORD mode = 0;
    if (IsConsole(h, &mode) && !(mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) &&
        SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
      g_original_mode[i] = mode;
      g_mode_changed[i] = true;
    }
  }
}

bool IsTerminal(Stream stream) {
  return IsConsole(HandleOf(stream));
}

bool InputIsTerminal() {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE));
}

int TerminalColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(HandleOf(Stream::kErr), &info))
    return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

void Write(Stream stream, std::string_view utf8) {
  std::string& pending = g_pending[stream == Stream::kOut ? 0 : 1];
  pending.append(utf8);
  // Standard error is unbuffered, as in C: a message must not wait for the next flush.
  if (stream == Stream::kErr || pending.size() >= kFlushAt)
    Flush(stream);
}

void Flush(Stream stream) {
  std::string& pending = g_pending[stream == Stream::kOut ? 0 : 1];
  if (pending.empty())
    return;
  const HANDLE h = HandleOf(stream);
  DWORD mode = 0;
  if (IsConsole(h, &mode)) {
    WriteToConsole(h, mode, pending);
  } else if (h && h != INVALID_HANDLE_VALUE) {
    WriteBytes(h, pending);
  }
  pending.clear();
}

bool ReadLine(std::string& line) {
  line.clear();
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  if (IsConsole(in)) {
    // The console hands over UTF-16, whatever its code page: "是" arrives as typed.
    std::wstring wide;
    wchar_t buffer[256];
    for (;;) {
      DWORD read = 0;
      if (!ReadConsoleW(in, buffer, 256, &read, nullptr) || read == 0)
        break;
      wide.append(buffer, read);
      if (wide.find(L'\n') != std::wstring::npos)
        break;
    }
    const bool got = !wide.empty();
    wide = wide.substr(0, wide.find(L'\n'));
    if (wide.ends_with(L'\r'))
      wide.pop_back();
    line = Narrow(wide);
    return got;
  }
  for (;;) {
    char c;
    DWORD read = 0;
    if (!ReadFile(in, &c, 1, &read, nullptr) || read == 0)
      break;
    if (c == '\n') {
      if (line.ends_with('\r'))
        line.pop_back();
      return true;
    }
    line.push_back(c);
  }
  return !line.empty();
}

void StopOnInterrupt(std::atomic<bool>& flag) {
  g_stop_flag = &flag;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

}  // namespace korvane
