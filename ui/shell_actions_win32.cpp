#include "ui/shell_actions_win32.h"

#include <shellapi.h>
#include <shlobj.h>

#include <deque>

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "ui/folder_picker_win32.h"
#include "ui/list_text.h"
#include "ui/save_dialog_win32.h"

namespace korvane::ui {
namespace {

bool SelectInFolder(const std::wstring& path) {
  ComScope com;
  ITEMIDLIST* raw = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &raw, 0, nullptr)) || raw == nullptr)
    return false;
  const ItemList item(raw);
  return SUCCEEDED(SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0));
}

ITEMIDLIST* Parse(const std::wstring& path) {
  ITEMIDLIST* item = nullptr;
  return SUCCEEDED(SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr)) ? item : nullptr;
}

bool SelectTogether(const std::vector<std::string>& paths) {
  const std::wstring first = Widen(paths.front());
  const std::size_t cut = first.find_last_of(L'\\');
  if (cut == std::wstring::npos)
    return false;
  const std::wstring folder_path = first.substr(0, cut + 1);
  ComScope com;
  const ItemList folder(Parse(folder_path));
  if (!folder)
    return false;
  // The entries are named by their last part, relative to the folder.
  std::deque<ItemList> items;
  std::vector<LPCITEMIDLIST> children;
  for (const std::string& path : paths) {
    const std::wstring wide = Widen(path);
    if (wide.size() <= folder_path.size() || wide.compare(0, folder_path.size(), folder_path) != 0)
      continue;
    if (ITEMIDLIST* item = Parse(wide)) {
      items.emplace_back(item);
      children.push_back(ILFindLastID(item));
    }
  }
  return !children.empty() &&
         SUCCEEDED(SHOpenFolderAndSelectItems(folder.get(), static_cast<UINT>(children.size()),
                                              children.data(), 0));
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
    const ScopedHandle thread(pi.hThread);
    const ScopedHandle process(pi.hProcess);
  }
}

}  // namespace

void ShowInExplorer(std::string_view path) {
  if (path.empty())
    return;
  if (!SelectInFolder(Widen(path)))
    StartExplorer(path);
}

void ShowTogetherInExplorer(const std::vector<std::string>& paths) {
  if (paths.empty())
    return;
  if (!SelectTogether(paths))
    ShowInExplorer(paths.front());
}

void OpenWithShell(HWND owner, std::string_view target) {
  const std::wstring text = Widen(target);
  // Show normally: a document opened through here must never start hidden.
  ShellExecuteW(owner, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string ShellActions::ChooseSaveFile(HWND owner, std::string_view default_name) {
  return ui::ChooseSaveFile(owner, default_name);
}

std::string SystemShell::BrowseForFolder(std::string_view start, std::string_view title) {
  return ui::BrowseForFolder(start, title);
}

void SystemShell::ShowInExplorer(std::string_view path) {
  ui::ShowInExplorer(path);
}

void SystemShell::ShowTogether(const std::vector<std::string>& paths) {
  ui::ShowTogetherInExplorer(paths);
}

void SystemShell::Open(HWND owner, std::string_view target) {
  OpenWithShell(owner, target);
}

}  // namespace korvane::ui
