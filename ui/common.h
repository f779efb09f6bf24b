// Procedures the window shares: the folder picker with its callback, the file browser launch, the
// save dialog, the clipboard and saving a file whole. Also the shell actions as one interface, so
// that tests can stand in for the desktop.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "engine/file_system.h"

namespace korvane::ui {

// The folder the picker preselects; set by BrowseForFolder, read by BrowseCallbackProc.
extern std::string InitialFolder;

// Capacity of the picker's status line, in UTF-16 units with the NUL.
inline constexpr std::size_t kStatusFieldSize = 64;
// Capacity for the chosen path, in UTF-16 units with the NUL.
inline constexpr std::size_t kResultBufferSize = 512;

// Shows the shell's folder browser opened on `start` (when not empty); returns the chosen
// folder's path, or empty text on cancel or a choice without a file-system path.
std::string BrowseForFolder(std::string_view start, std::string_view title);

// Preselects InitialFolder when the browser opens; shows each new selection's path, shortened to
// the status field, in its status line.
int CALLBACK BrowseCallbackProc(HWND dialog, UINT message, LPARAM param, LPARAM data);

// Opens the file browser on the folder of `path` with that entry selected. Nothing is reported.
void ShowInExplorer(std::string_view path);

// Asks the shell to open a document or address with the "open" verb. Nothing is reported.
void OpenWithShell(HWND owner, std::string_view target);

// Shows the standard save dialog for a CSV file, owned by `owner`, proposing `default_name`; it
// asks before an existing file is replaced. Returns the chosen path, or empty text on cancel.
std::string ChooseSaveFile(HWND owner, std::string_view default_name);

// Puts `text` on the clipboard as CF_UNICODETEXT. False (with nothing changed or an empty
// clipboard) when the clipboard cannot be opened or the memory cannot be had.
[[nodiscard]] bool SetClipboardText(HWND owner, std::string_view text);

// Writes `bytes` to `path` through a new file beside it that then replaces `path`, so that a
// failure at any point leaves `path` as it was and no partial file behind.
[[nodiscard]] FsResult WriteFileReplacing(std::string_view path, std::string_view bytes);

// What the window asks of the desktop.
class ShellActions {
 public:
  virtual ~ShellActions() = default;
  virtual std::string BrowseForFolder(std::string_view start, std::string_view title) = 0;
  virtual void ShowInExplorer(std::string_view path) = 0;
  virtual void Open(HWND owner, std::string_view target) = 0;
  virtual std::string ChooseSaveFile(HWND owner, std::string_view default_name) {
    return ui::ChooseSaveFile(owner, default_name);
  }
};

// The real desktop.
class SystemShell final : public ShellActions {
 public:
  std::string BrowseForFolder(std::string_view start, std::string_view title) override {
    return ui::BrowseForFolder(start, title);
  }
  void ShowInExplorer(std::string_view path) override { ui::ShowInExplorer(path); }
  void Open(HWND owner, std::string_view target) override { OpenWithShell(owner, target); }
};

}  // namespace korvane::ui
