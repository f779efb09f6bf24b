#include "ui/common.h"

#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/native_path_win32.h"
#include "platform/text_win32.h"
#include "ui/list_text.h"

namespace korvane::ui {

std::string InitialFolder;

namespace {

constexpr std::string_view kDefaultBrowseTitle = "【请选择文件夹】";

struct PidlFree {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// COM for the shell calls of this thread, released again when the caller had none.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_))
      CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

// The file-system path of an item, or empty text; `capacity` in UTF-16 units with the NUL.
std::wstring PathOf(PCIDLIST_ABSOLUTE pidl, std::size_t capacity) {
  std::vector<wchar_t> buf(capacity, L'\0');
  if (!SHGetPathFromIDListEx(pidl, buf.data(), static_cast<DWORD>(buf.size()), GPFIDL_DEFAULT))
    return {};
  return std::wstring(buf.data());
}

bool SelectInFolder(const std::wstring& path) {
  ComScope com;
  ITEMIDLIST* raw = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &raw, 0, nullptr)) || raw == nullptr)
    return false;
  const Pidl item(raw);
  return SUCCEEDED(SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0));
}

// Closes a file handle however the function that opened it is left.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  [[nodiscard]] HANDLE get() const { return h_; }
  [[nodiscard]] bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h) {
    Close();
    h_ = h;
  }
  bool Close() {
    const bool ok = !valid() || CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

FsResult LastError() {
  const DWORD code = GetLastError();
  return {false, static_cast<int>(code), SystemMessage(code)};
}

void StartExplorer(std::string_view path) {
  wchar_t windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return;
  std::wstring program(windows, n);
  program += L"\\explorer.exe";
  std::wstring command = Widen(ExplorerCommandLine(path));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

}  // namespace

std::string BrowseForFolder(std::string_view start, std::string_view title) {
  ComScope com;
  const std::wstring caption = Widen(title.empty() ? kDefaultBrowseTitle : title);
  BROWSEINFOW bi{};
  bi.lpszTitle = caption.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT;
  if (!start.empty()) {
    InitialFolder = start;
    bi.lpfn = BrowseCallbackProc;
  }
  const Pidl chosen(SHBrowseForFolderW(&bi));
  if (!chosen)
    return {};
  return Narrow(PathOf(chosen.get(), kResultBufferSize));
}

int CALLBACK BrowseCallbackProc(HWND dialog, UINT message, LPARAM param, LPARAM /*data*/) {
  if (message == BFFM_INITIALIZED) {
    const std::wstring folder = Widen(InitialFolder);
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
  } else if (message == BFFM_SELCHANGED) {
    // The status field holds 64 units; the path is taken whole and then shortened to fit.
    const std::wstring path = PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(param), 32768);
    if (!path.empty()) {
      const std::u16string shown =
          ShortenForStatus(std::u16string(path.begin(), path.end()), kStatusFieldSize);
      wchar_t field[kStatusFieldSize] = {};
      CopyBounded<wchar_t>(std::wstring(shown.begin(), shown.end()), field, kStatusFieldSize);
      SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(field));
    }
  }
  return 0;
}

void ShowInExplorer(std::string_view path) {
  if (path.empty())
    return;
  if (!SelectInFolder(Widen(path)))
    StartExplorer(path);
}

void OpenWithShell(HWND owner, std::string_view target) {
  const std::wstring text = Widen(target);
  // Show normally: a document opened through here must never start hidden.
  ShellExecuteW(owner, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string ChooseSaveFile(HWND owner, std::string_view default_name) {
  // Room for a long path; the dialog starts with the proposed name in it.
  std::wstring file(32768, L'\0');
  CopyBounded<wchar_t>(Widen(default_name), file.data(), file.size());
  // Pairs of display text and pattern, each ending in a NUL, the list in a second one.
  std::wstring filter = Widen("CSV 文件 (*.csv)");
  filter += L'\0';
  filter += L"*.csv";
  filter += L'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = L"csv";
  ofn.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&ofn))
    return {};
  return Narrow(file.c_str());
}

bool SetClipboardText(HWND owner, std::string_view text) {
  const std::wstring wide = Widen(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory)
    return false;
  if (void* p = GlobalLock(memory)) {
    std::memcpy(p, wide.c_str(), bytes);
    GlobalUnlock(memory);
  } else {
    GlobalFree(memory);
    return false;
  }
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  bool ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  // Once set, the memory is the clipboard's; otherwise it is still ours.
  if (!ok)
    GlobalFree(memory);
  ok = CloseClipboard() && ok;
  return ok;
}

FsResult WriteFileReplacing(std::string_view path, std::string_view bytes) {
  const std::wstring target = NativePath(path);
  if (target.empty())
    return {false, ERROR_INVALID_NAME, SystemMessage(ERROR_INVALID_NAME)};
  // A name of our own beside the target: same folder, so the final rename never copies.
  std::wstring temp;
  FileHandle file(INVALID_HANDLE_VALUE);
  for (unsigned n = 0; n < 100 && !file.valid(); ++n) {
    temp = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) +
           L".tmp";
    file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS)
      return LastError();
  }
  if (!file.valid())
    return LastError();
  FsResult result;
  std::size_t done = 0;
  while (result.ok && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
      result = LastError();
    done += written;
  }
  if (result.ok && !FlushFileBuffers(file.get()))
    result = LastError();
  if (!file.Close() && result.ok)
    result = LastError();
  if (result.ok && !MoveFileExW(temp.c_str(), target.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    result = LastError();
  }
  if (!result.ok)
    DeleteFileW(temp.c_str());
  return result;
}

}  // namespace korvane::ui
