// The rename log: one line per rename that succeeded, full source path (as found on disk) and
// full target path, so that a run can be reversed later. Fields are escaped so that any name
// survives the trip: tabs, line breaks, backslashes and bytes that are not UTF-8.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

struct RenameRecord {
  std::string source;  // the name it had, full path
  std::string target;  // the name it was given, full path
  bool operator==(const RenameRecord&) const = default;
};

std::string EscapeLogField(std::string_view field);
// False when the field holds an escape this log never writes.
[[nodiscard]] bool UnescapeLogField(std::string_view field, std::string& out);

// "# korvane-restore 还原日志 <UTC time>\n"
std::string LogHeader(std::chrono::system_clock::time_point start);
std::string LogLine(const RenameRecord& record);

// The records of a log in the order written. Only whole lines count: a line cut off by a crash is
// ignored. Lines starting with "#" and blank lines are comments; a malformed line is counted in
// `bad_lines` and skipped.
std::vector<RenameRecord> ParseLog(std::string_view text, int* bad_lines = nullptr);

}  // namespace korvane
