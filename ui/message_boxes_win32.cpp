#include "ui/message_boxes_win32.h"

#include "platform/message_box_win32.h"
#include "text/strings.h"

namespace korvane::ui {

void MessageBoxes::Warn(std::string_view text) {
  ShowWarning(owner_, text, text::Tr(text::Id::kAppTitle));
}

bool MessageBoxes::Ask(std::string_view question) {
  return AskYesNo(owner_, question, text::Tr(text::Id::kAppTitle));
}

}  // namespace korvane::ui
