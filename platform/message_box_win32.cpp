#include "platform/message_box_win32.h"

#include "platform/text_win32.h"

namespace korvane {

void ShowWarning(HWND owner, std::string_view text, std::string_view title) {
  MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), MB_ICONEXCLAMATION | MB_OK);
}

void ShowInformation(HWND owner, std::string_view text, std::string_view title) {
  MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), MB_ICONINFORMATION | MB_OK);
}

bool AskYesNo(HWND owner, std::string_view question, std::string_view title) {
  return MessageBoxW(owner, Widen(question).c_str(), Widen(title).c_str(),
                     MB_ICONQUESTION | MB_YESNO) == IDYES;
}

}  // namespace korvane
