// The Start action's two message boxes on Windows.
#pragma once

#include <windows.h>

#include <string_view>

#include "engine/run_report.h"

namespace korvane {

// The application title in the title bar of both boxes.
inline constexpr std::string_view kMessageBoxTitle = "文件重命名工具";

// Modal to `owner` (the main window; null for none), which stays blocked until the box is
// answered.
class MessageBoxDialogs final : public Dialogs {
 public:
  explicit MessageBoxDialogs(HWND owner) : owner_(owner) {}

  // Exclamation icon, one OK button.
  void Warn(std::string_view text) override;
  // Question icon, Yes and No; true only for Yes.
  [[nodiscard]] bool Confirm(std::string_view question) override;

 private:
  HWND owner_;
};

}  // namespace korvane
