// Notes held by their open file: opened without FILE_SHARE_DELETE, a note cannot be taken away
// while its holder lives; once its holder has ended, whoever finds it takes it away.
#include <windows.h>

#include "platform/held_note.h"
#include "platform/native_path_win32.h"
#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "platform/write_all_win32.h"

namespace korvane {
namespace {

class Win32Note final : public HeldNote {
 public:
  Win32Note(ScopedHandle file, std::wstring path)
      : file_(std::move(file)), path_(std::move(path)) {}
  ~Win32Note() override {
    file_.Close();
    DeleteFileW(path_.c_str());
  }

 private:
  ScopedHandle file_;
  std::wstring path_;
};

}  // namespace

std::unique_ptr<HeldNote> HoldNote(std::string_view path,
                                   std::string_view text,
                                   SystemError& error) {
  std::wstring native = NativePath(path);
  ScopedHandle file(CreateFileW(native.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    error = LastSystemError();
    return nullptr;
  }
  if (!WriteAll(file.get(), text, error)) {
    file.Close();
    DeleteFileW(native.c_str());
    return nullptr;
  }
  return std::make_unique<Win32Note>(std::move(file), std::move(native));
}

std::optional<std::string> ReadLiveNote(std::string_view path) {
  const std::wstring native = NativePath(path);
  // Only a note nobody holds can be taken away.
  if (DeleteFileW(native.c_str()) || GetLastError() != ERROR_SHARING_VIOLATION)
    return std::nullopt;
  const ScopedHandle file(CreateFileW(native.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid())
    return std::nullopt;
  std::string text;
  char buf[4096];
  for (DWORD n = 0; ReadFile(file.get(), buf, sizeof buf, &n, nullptr) && n > 0;)
    text.append(buf, n);
  return text;
}

std::string CanonicalFolder(std::string_view path) {
  const ScopedHandle folder(CreateFileW(NativePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                        nullptr));
  if (!folder.valid())
    return {};
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(folder.get(), final.data(),
                                              static_cast<DWORD>(final.size()), VOLUME_NAME_DOS);
    if (n == 0)
      return {};
    if (n < final.size()) {
      final.resize(n);
      break;
    }
    final.resize(n);
  }
  // What the user sees never carries the prefix; the comparison ignores case, as Windows does.
  if (final.starts_with(LR"(\\?\UNC\)"))
    final = L"\\\\" + final.substr(8);
  else if (final.starts_with(LR"(\\?\)"))
    final = final.substr(4);
  return Narrow(final);
}

}  // namespace korvane
