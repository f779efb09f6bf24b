// The terminal, for the command line: UTF-8 out, a line in, Ctrl-C in.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace korvane {

enum class Stream { kOut, kErr };

// Call first: the system's language for its error texts, and a console that takes UTF-8.
void InitConsole();

[[nodiscard]] bool IsTerminal(Stream stream);
[[nodiscard]] bool InputIsTerminal();
// Width of the terminal on stderr in columns, or 0 when unknown.
[[nodiscard]] int TerminalColumns();

// Buffered; Flush hands everything to the system.
void Write(Stream stream, std::string_view utf8);
void Flush(Stream stream);

// One line from standard input without its line break; false at end of input.
[[nodiscard]] bool ReadLine(std::string& line);

// From now on Ctrl-C (and SIGTERM where there is one) sets `flag` instead of ending the program.
void StopOnInterrupt(std::atomic<bool>& flag);

}  // namespace korvane
