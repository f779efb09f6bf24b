// The rename log on Windows: appended through the \\?\ form, each append flushed to disk.
#include <windows.h>

#include <algorithm>

#include "platform/log_file.h"
#include "platform/native_path_win32.h"
#include "platform/text_win32.h"

namespace korvane {
namespace {

class Win32LogFile final : public LogFile {
 public:
  explicit Win32LogFile(HANDLE h) : h_(h) {}
  ~Win32LogFile() override { CloseHandle(h_); }
  Win32LogFile(const Win32LogFile&) = delete;
  Win32LogFile& operator=(const Win32LogFile&) = delete;

  bool Append(std::string_view text) override {
    while (!text.empty()) {
      DWORD written = 0;
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1 << 20));
      if (!WriteFile(h_, text.data(), chunk, &written, nullptr) || written == 0)
        return Fail();
      text.remove_prefix(written);
    }
    return FlushFileBuffers(h_) || Fail();
  }

  std::string error() const override { return error_; }

 private:
  bool Fail() {
    error_ = SystemMessage(GetLastError());
    return false;
  }

  HANDLE h_;
  std::string error_;
};

}  // namespace

std::unique_ptr<LogFile> OpenLogFile(std::string_view path, std::string& error) {
  // FILE_APPEND_DATA alone: every write goes to the end, even with another writer.
  const HANDLE h = CreateFileW(NativePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = SystemMessage(GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32LogFile>(h);
}

}  // namespace korvane
