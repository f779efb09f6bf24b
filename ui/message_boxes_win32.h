// The window's message boxes shown for real, with the application title in their title bar.
#pragma once

#include <windows.h>

#include "ui/window_dialogs.h"

namespace korvane::ui {

class MessageBoxes final : public WindowDialogs {
 public:
  // Modal to `owner` (the main window once it exists; null for none).
  void set_owner(HWND owner) { owner_ = owner; }

  void Warn(std::string_view text) override;
  bool Ask(std::string_view question) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace korvane::ui
