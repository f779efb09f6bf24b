// The rename log on disk: a file that only grows, each append on disk before it returns, so that
// the log survives a crash or a power cut up to the line being written; and reading it back.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/outcome.h"

namespace korvane {

class LogFile {
 public:
  virtual ~LogFile() = default;
  // Writes `text` at the end and waits until it is on disk.
  [[nodiscard]] virtual bool Append(std::string_view text) = 0;
  // The last failure.
  [[nodiscard]] virtual const SystemError& error() const = 0;
};

// Opens (creating if needed) `path` for appending; null with `error` set on failure.
std::unique_ptr<LogFile> OpenLogFile(std::string_view path, SystemError& error);

// Reads the whole file at `path`; false with `error` set when it cannot be read.
[[nodiscard]] bool ReadWholeFile(std::string_view path, std::string& bytes, SystemError& error);

}  // namespace korvane
