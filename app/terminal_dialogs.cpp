#include "app/terminal_dialogs.h"

#include <string>

#include "platform/console.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {

void TerminalDialogs::MissingFolder(std::string_view path_text) {
  Write(Stream::kErr, text::MissingFolderText(path_text) + "\n");
}

void TerminalDialogs::NotAFolder(std::string_view path_text) {
  Write(Stream::kErr, text::NotAFolderText(path_text) + "\n");
}

void TerminalDialogs::UnreadableFolder(std::string_view path_text, const SystemError& why) {
  Write(Stream::kErr, text::UnreadableFolderText(path_text, why) + "\n");
}

bool TerminalDialogs::Confirm(const Confirmation& question) {
  bool yes = yes_;
  if (!yes) {
    if (!InputIsTerminal()) {
      no_terminal_ = true;
      return false;
    }
    Write(Stream::kErr, text::ConfirmText(question) + std::string(text::Tr(text::Id::kCliPrompt)));
    Flush(Stream::kErr);
    std::string answer;
    yes = ReadLine(answer) && (answer == "y" || answer == "Y" || answer == "yes" ||
                               answer == "YES" || answer == text::Tr(text::Id::kCliYesWord));
  }
  // Ctrl-C at the question still ends the program; from here on it stops the run instead.
  if (yes && stop_flag_)
    StopOnInterrupt(*stop_flag_);
  return yes;
}

}  // namespace korvane
