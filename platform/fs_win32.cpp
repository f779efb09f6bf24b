// The file system on Windows: wide calls only, every path handed to Windows in its \\?\ form so
// that depth is not limited to 260 characters, renames that never replace (MoveFileExW without
// flags). The cursor holds open every folder from the chosen one down to where it stands, so the
// paths it composes keep leading where the walk went.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/native_path_win32.h"
#include "platform/reparse_tag.h"
#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "platform/windows_names.h"

namespace korvane {
namespace {

constexpr wchar_t kSep = L'\\';
constexpr std::wstring_view kLongPrefix = LR"(\\?\)";
constexpr std::wstring_view kLongUncPrefix = LR"(\\?\UNC\)";
constexpr std::wstring_view kDevicePrefix = LR"(\\.\)";

// While a call runs, a drive that is not ready answers with an error instead of the system's
// "insert a disk" box.
class QuietErrors {
 public:
  QuietErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_); }
  ~QuietErrors() { SetThreadErrorMode(old_, nullptr); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

 private:
  DWORD old_ = 0;
};

FindHandle FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  // Some redirectors refuse the large fetch; the plain form lists the same entries.
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
    h = FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr,
                         0);
  return FindHandle(h);
}

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0)
      return {};
    if (n < full.size()) {
      full.resize(n);
      return full;
    }
    full.resize(n);
  }
}

bool HasNul(std::string_view text) {
  return text.find('\0') != std::string_view::npos;
}

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReparsePoint(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

FsResult Failure(DWORD code) {
  return SystemFailure(SystemErrorFrom(static_cast<long>(code)));
}

// Why Windows would refuse or mishandle `name` as a file name, or nothing when it is usable.
std::optional<FsResult> UnusableName(std::string_view name) {
  switch (const Refusal why = WindowsNameRefusal(name)) {
    case Refusal::kNone:
      return std::nullopt;
    case Refusal::kSystem:
      return Failure(ERROR_FILENAME_EXCED_RANGE);
    default:
      return Refused(why);
  }
}

// A name of the current folder, never a way out of it.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("\\/\0", 3)) == std::string_view::npos;
}

// Renames and checks in the folder `folder` (its \\?\ form, ending with "\").
FsResult CheckRenameIn(const std::wstring& folder, std::string_view from, std::string_view to) {
  if (!IsPlainName(from))
    return Failure(ERROR_INVALID_NAME);
  if (std::optional<FsResult> why = UnusableName(to))
    return *std::move(why);
  QuietErrors quiet;
  if (GetFileAttributesW((folder + Widen(from)).c_str()) == INVALID_FILE_ATTRIBUTES)
    return Failure(GetLastError());
  // Case-insensitive, as MoveFileExW is: REPORT.DOC takes the name report.doc.
  if (GetFileAttributesW((folder + Widen(to)).c_str()) != INVALID_FILE_ATTRIBUTES)
    return Failure(ERROR_ALREADY_EXISTS);
  return {};
}

FsResult RenameIn(const std::wstring& folder, std::string_view from, std::string_view to) {
  if (!IsPlainName(from))
    return Failure(ERROR_INVALID_NAME);
  if (std::optional<FsResult> why = UnusableName(to))
    return *std::move(why);
  const std::wstring source = folder + Widen(from);
  const std::wstring target = folder + Widen(to);
  QuietErrors quiet;
  // No MOVEFILE_REPLACE_EXISTING: an existing target makes the rename fail. No
  // MOVEFILE_COPY_ALLOWED: within one folder a rename never needs a copy.
  if (MoveFileExW(source.c_str(), target.c_str(), 0))
    return {};
  return Failure(GetLastError());
}

bool ExistsIn(const std::wstring& folder, std::string_view name) {
  QuietErrors quiet;
  return IsPlainName(name) &&
         GetFileAttributesW((folder + Widen(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

FsResult FileSizeIn(const std::wstring& folder,
                    std::string_view name,
                    std::optional<std::uint64_t>& size) {
  size.reset();
  if (!IsPlainName(name))
    return Failure(ERROR_INVALID_NAME);
  QuietErrors quiet;
  // The entry itself: a link or a junction is told by its own attributes, never followed.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW((folder + Widen(name)).c_str(), GetFileExInfoStandard, &data))
    return Failure(GetLastError());
  constexpr DWORD kNotAFile =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  if ((data.dwFileAttributes & kNotAFile) == 0)
    size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return {};
}

class Win32Reader final : public FileReader {
 public:
  Win32Reader(ScopedHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
  std::uint64_t size() const override { return size_; }
  FsResult Read(std::span<char> into, std::size_t& got) override {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1 << 30));
    if (!ReadFile(file_.get(), into.data(), want, &read, nullptr))
      return Failure(GetLastError());
    got = read;
    return {};
  }

 private:
  ScopedHandle file_;
  std::uint64_t size_;
};

FsResult OpenToReadIn(const std::wstring& folder,
                      std::string_view name,
                      std::unique_ptr<FileReader>& reader) {
  reader.reset();
  if (!IsPlainName(name))
    return Failure(ERROR_INVALID_NAME);
  QuietErrors quiet;
  // Opened as itself, never followed; others may go on using it meanwhile.
  ScopedHandle file(CreateFileW(
      (folder + Widen(name)).c_str(), GENERIC_READ,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS,
      nullptr));
  if (!file.valid())
    return Failure(GetLastError());
  FILE_STANDARD_INFO info{};
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &tag, sizeof tag) ||
      !GetFileInformationByHandleEx(file.get(), FileStandardInfo, &info, sizeof info))
    return Failure(GetLastError());
  if (!info.Directory && !IsReparsePoint(tag.FileAttributes) &&
      GetFileType(file.get()) == FILE_TYPE_DISK) {
    reader = std::make_unique<Win32Reader>(std::move(file),
                                           static_cast<std::uint64_t>(info.EndOfFile.QuadPart));
  }
  return {};
}

// A folder held open, and so held in place: opened without FILE_SHARE_DELETE, it can be neither
// renamed nor removed while held (nor can any folder above it, which Windows refuses to rename
// while something inside is open). Its path therefore keeps naming it, and every call made by
// that path lands in it, even when another program tries to swap a folder on the way for a
// junction. The folders above it stay held through `parent`.
struct HeldFolder {
  ScopedHandle handle;
  std::shared_ptr<const HeldFolder> parent;
  std::wstring path;  // its \\?\ form, ending with "\"
};
using HeldPtr = std::shared_ptr<const HeldFolder>;

// Opens a folder to hold it: others may list it and make or change files in it, but not move it
// away. `as_itself`: a link or junction is opened as itself, to be looked at, not followed.
HANDLE OpenToHold(const std::wstring& path, bool as_itself) {
  return CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | (as_itself ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
                     nullptr);
}

class PinnedFolder final : public Folder {
 public:
  explicit PinnedFolder(HeldPtr folder) : folder_(std::move(folder)) {}
  FsResult Rename(std::string_view from, std::string_view to) override {
    return RenameIn(folder_->path, from, to);
  }
  FsResult CheckRename(std::string_view from, std::string_view to) override {
    return CheckRenameIn(folder_->path, from, to);
  }
  bool Exists(std::string_view name) override { return ExistsIn(folder_->path, name); }
  FsResult OpenToRead(std::string_view name, std::unique_ptr<FileReader>& reader) override {
    return OpenToReadIn(folder_->path, name, reader);
  }
  FsResult FileSize(std::string_view name, std::optional<std::uint64_t>& size) override {
    return FileSizeIn(folder_->path, name, size);
  }

 private:
  HeldPtr folder_;
};

class Win32Cursor final : public FolderCursor {
 public:
  explicit Win32Cursor(HeldPtr root) : at_(std::move(root)) {}

  FsResult List(Listing& listing) override {
    listing.Clear();
    QuietErrors quiet;
    const std::wstring& path = at_->path;
    WIN32_FIND_DATAW data;
    const FindHandle find = FindFirst(path + L"*", data);
    if (!find) {
      const DWORD code = GetLastError();
      // Only the root of an empty drive has not even "." to deliver.
      if (code == ERROR_FILE_NOT_FOUND && IsFolder(GetFileAttributesW(path.c_str())))
        return {};
      return Failure(code);
    }
    do {
      const std::wstring_view name = data.cFileName;
      if (name == L"." || name == L"..")
        continue;
      Listing::Entry& e = listing.Add(Narrow(name));
      e.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      // The listing carries a reparse point's tag; only a link is never descended.
      e.is_link = IsReparsePoint(data.dwFileAttributes) && !WalksReparseFolder(data.dwReserved0);
      e.leads_to_folder = e.is_link && e.is_folder;
    } while (FindNextFileW(find.get(), &data));
    const DWORD code = GetLastError();
    return code == ERROR_NO_MORE_FILES ? FsResult{} : Failure(code);
  }

  FsResult Enter(std::string_view name) override {
    if (!IsPlainName(name))
      return Failure(ERROR_INVALID_NAME);
    auto child = std::make_shared<HeldFolder>();
    child->path = at_->path + Widen(name);
    QuietErrors quiet;
    // Opened as itself, then asked what it is: the entry may have changed since it was listed.
    // Junctions and symbolic links are not entered: a junction loop would never end, and a link
    // may lead out of the chosen tree.
    child->handle.Reset(OpenToHold(child->path, true));
    if (!child->handle.valid())
      return Failure(GetLastError());
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(child->handle.get(), FileAttributeTagInfo, &info,
                                      sizeof info))
      return Failure(GetLastError());
    if (!(info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return Failure(ERROR_DIRECTORY);
    // The entry's own attributes as well: Wine opens a Unix link as its target, reparse flag or
    // not, yet lists it as a reparse point. Held now, the entry can no longer change.
    const bool listed_as_reparse = IsReparsePoint(GetFileAttributesW(child->path.c_str()));
    if (IsReparsePoint(info.FileAttributes) ? !WalksReparseFolder(info.ReparseTag)
                                            : listed_as_reparse)
      return Refused(Refusal::kLink);
    child->path.push_back(kSep);
    child->parent = std::move(at_);
    at_ = std::move(child);
    return {};
  }

  void Leave() override {
    if (at_->parent)
      at_ = at_->parent;
  }

  FsResult CheckRename(std::string_view from, std::string_view to) override {
    return CheckRenameIn(at_->path, from, to);
  }

  FsResult Rename(std::string_view from, std::string_view to) override {
    return RenameIn(at_->path, from, to);
  }

  bool Exists(std::string_view name) override { return ExistsIn(at_->path, name); }

  FsResult OpenToRead(std::string_view name, std::unique_ptr<FileReader>& reader) override {
    return OpenToReadIn(at_->path, name, reader);
  }

  FsResult FileSize(std::string_view name, std::optional<std::uint64_t>& size) override {
    return FileSizeIn(at_->path, name, size);
  }

  // The folder and those above it stay held for as long as the pin lives.
  std::unique_ptr<Folder> Pin() override { return std::make_unique<PinnedFolder>(at_); }

 private:
  HeldPtr at_;  // the folder the cursor stands in, holding those above it
};

class Win32FileSystem final : public FileSystem {
 public:
  PathStyle Style() const override { return {'\\', true}; }

  bool FolderExists(std::string_view text) override {
    // Paths without a drive colon (relative paths, shares) are refused, even when they exist.
    if (text.find(':') == std::string_view::npos || HasNul(text))
      return false;
    std::string path(text);
    // A bare drive is its root, as a run takes it, not the drive's current folder.
    if (path.size() == 2 && path[1] == ':')
      path.push_back('\\');
    QuietErrors quiet;
    std::wstring native = NativePath(path);
    if (native.empty())
      return false;
    // "C:\data\" names the folder itself; list what is inside it. Anything else (a folder, a
    // file, a pattern) is listed as it is.
    const bool inside = native.ends_with(kSep);
    if (inside)
      native.push_back(L'*');
    WIN32_FIND_DATAW data;
    if (FindFirst(native, data))
      return true;
    if (inside && GetLastError() == ERROR_FILE_NOT_FOUND) {
      native.pop_back();
      return IsFolder(GetFileAttributesW(native.c_str()));
    }
    return false;
  }

  std::string ToLower(std::string_view name) const override {
    std::wstring wide = Widen(name);
    if (wide.empty())
      return std::string(name);
    std::wstring lower(wide.size(), L'\0');
    const int n =
        LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, wide.data(), static_cast<int>(wide.size()),
                     lower.data(), static_cast<int>(lower.size()));
    if (n <= 0)
      return std::string(name);
    lower.resize(static_cast<std::size_t>(n));
    return Narrow(lower);
  }

  // The chosen folder is opened as the user named it, links on the way followed; everything
  // below it is entered one name at a time.
  std::unique_ptr<FolderCursor> OpenTree(std::string_view root, SystemError& error) override {
    if (root.empty() || HasNul(root))
      return nullptr;
    QuietErrors quiet;
    auto held = std::make_shared<HeldFolder>();
    held->path = NativePath(root);
    // A file, a pattern or nothing at all is no folder that could not be read.
    if (held->path.empty() || !IsFolder(GetFileAttributesW(held->path.c_str())))
      return nullptr;
    if (!held->path.ends_with(kSep))
      held->path.push_back(kSep);
    held->handle.Reset(OpenToHold(held->path, false));
    if (!held->handle.valid()) {
      error = LastSystemError();
      return nullptr;
    }
    return std::make_unique<Win32Cursor>(std::move(held));
  }
};

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

// The one place a path gets its \\?\ form. GetFullPathNameW comes first, since Windows does no
// clean-up of its own once the prefix is there.
std::wstring NativePath(std::string_view path) {
  const std::wstring wide = Widen(path);
  if (wide.starts_with(kLongPrefix) || wide.starts_with(kDevicePrefix))
    return wide;
  std::wstring full = FullPath(wide);
  if (full.empty() || full.starts_with(kLongPrefix) || full.starts_with(kDevicePrefix))
    return full;
  if (full.starts_with(LR"(\\)"))
    return std::wstring(kLongUncPrefix) + full.substr(2);
  return std::wstring(kLongPrefix) + full;
}

char PathSeparator() {
  return '\\';
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
  return std::make_unique<Win32FileSystem>();
}

std::string AbsolutePath(std::string_view typed) {
  // "/" is read as "\", as the window reads its path box, so that every path shown has one
  // separator.
  std::string path(typed);
  if (!HasNul(path))
    std::replace(path.begin(), path.end(), '/', '\\');
  // "C:\..." and "\\server\share" are absolute already; a bare "C:" stays too, since a run takes
  // it as the drive's root. Everything else ("sub", "C:sub", "\sub") is resolved by Windows.
  const bool drive = path.size() >= 2 && path[1] == ':';
  if ((drive && (path.size() == 2 || IsSeparator(path[2]))) ||
      (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) || HasNul(path))
    return path;
  const std::wstring full = FullPath(Widen(path));
  return full.empty() ? path : Narrow(full);
}

}  // namespace korvane
