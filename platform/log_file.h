// A file that only grows, each append on disk before it returns: the rename log must survive a
// crash or a power cut up to the line being written.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace korvane {

class LogFile {
 public:
  virtual ~LogFile() = default;
  // Writes `text` at the end and waits until it is on disk.
  [[nodiscard]] virtual bool Append(std::string_view text) = 0;
  // The system's description of the last failure.
  [[nodiscard]] virtual std::string error() const = 0;
};

// Opens (creating if needed) `path` for appending; null with `error` set on failure.
std::unique_ptr<LogFile> OpenLogFile(std::string_view path, std::string& error);

}  // namespace korvane
