#include "platform/message_box.h"

#include <string>

#include "platform/text_win32.h"

namespace korvane {

void MessageBoxDialogs::Warn(std::string_view text) {
  MessageBoxW(owner_, Widen(text).c_str(), Widen(kMessageBoxTitle).c_str(),
              MB_ICONEXCLAMATION | MB_OK);
}

bool MessageBoxDialogs::Confirm(std::string_view question) {
  return MessageBoxW(owner_, Widen(question).c_str(), Widen(kMessageBoxTitle).c_str(),
                     MB_ICONQUESTION | MB_YESNO) == IDYES;
}

}  // namespace korvane
