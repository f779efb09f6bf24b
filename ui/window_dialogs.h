// The window's message boxes: the engine's questions in the window's words, and the window's own
// warnings. Pure, so that tests on any system can answer them.
#pragma once

#include <string_view>

#include "engine/run_report.h"
#include "text/wording.h"

namespace korvane::ui {

class WindowDialogs : public Dialogs {
 public:
  void MissingFolder(std::string_view path_text) final { Warn(text::MissingFolderText(path_text)); }
  void NotAFolder(std::string_view path_text) final { Warn(text::NotAFolderText(path_text)); }
  void UnreadableFolder(std::string_view path_text, const SystemError& why) final {
    Warn(text::UnreadableFolderText(path_text, why));
  }
  bool Confirm(const Confirmation& question) final { return Ask(text::ConfirmText(question)); }

  // Exclamation icon, one OK button.
  virtual void Warn(std::string_view text) = 0;
  // Question icon, Yes and No; true only for Yes.
  [[nodiscard]] virtual bool Ask(std::string_view question) = 0;
};

}  // namespace korvane::ui
