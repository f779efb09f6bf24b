// The window's message boxes answered as a user who goes ahead would: every question Yes, every
// warning seen and dismissed.
#pragma once

#include "ui/window_dialogs.h"

namespace korvane::bench {

class YesDialogs final : public ui::WindowDialogs {
 public:
  void Warn(std::string_view /*text*/) override {}
  bool Ask(std::string_view /*question*/) override { return true; }
};

}  // namespace korvane::bench
