// The Start action's questions, asked on the terminal.
#pragma once

#include <atomic>

#include "engine/run_report.h"

namespace korvane {

class TerminalDialogs final : public Dialogs {
 public:
  // `yes`: every question is answered Yes without asking.
  explicit TerminalDialogs(bool yes) : yes_(yes) {}

  // Once a run is confirmed, Ctrl-C sets `flag` instead of ending the program.
  void set_stop_flag(std::atomic<bool>* flag) { stop_flag_ = flag; }

  void MissingFolder(std::string_view path_text) override;
  void NotAFolder(std::string_view path_text) override;
  void UnreadableFolder(std::string_view path_text, const SystemError& why) override;
  bool Confirm(const Confirmation& question) override;

  // The question went unanswered: there was no terminal to ask on.
  [[nodiscard]] bool no_terminal() const { return no_terminal_; }

 private:
  bool yes_;
  std::atomic<bool>* stop_flag_ = nullptr;
  bool no_terminal_ = false;
};

}  // namespace korvane
