// What the window hands to the desktop shell: the folder picker, revealing a file in the file
// browser, opening a document or address, and the save dialog. One interface, so that tests can
// stand in for the desktop.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace korvane::ui {

// Opens the file browser on the folder of `path` with that entry selected. Nothing is reported.
void ShowInExplorer(std::string_view path);
// Opens the file browser on the folder of the first path with every path of that folder
// selected. Nothing is reported.
void ShowTogetherInExplorer(const std::vector<std::string>& paths);

// Asks the shell to open a document or address with the "open" verb. Nothing is reported.
void OpenWithShell(HWND owner, std::string_view target);

class ShellActions {
 public:
  virtual ~ShellActions() = default;
  virtual std::string BrowseForFolder(std::string_view start, std::string_view title) = 0;
  virtual void ShowInExplorer(std::string_view path) = 0;
  // Several entries of one folder, selected together.
  virtual void ShowTogether(const std::vector<std::string>& paths) = 0;
  virtual void Open(HWND owner, std::string_view target) = 0;
  // The save dialog for the report; the path chosen, or empty text on cancel.
  virtual std::string ChooseSaveFile(HWND owner, std::string_view default_name);
};

// The real desktop.
class SystemShell final : public ShellActions {
 public:
  std::string BrowseForFolder(std::string_view start, std::string_view title) override;
  void ShowInExplorer(std::string_view path) override;
  void ShowTogether(const std::vector<std::string>& paths) override;
  void Open(HWND owner, std::string_view target) override;
};

}  // namespace korvane::ui
