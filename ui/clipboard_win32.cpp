#include "ui/clipboard_win32.h"

#include <cstring>
#include <string>

#include "platform/text_win32.h"

namespace korvane::ui {

bool SetClipboardText(HWND owner, std::string_view text) {
  const std::wstring wide = Widen(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory)
    return false;
  if (void* p = GlobalLock(memory)) {
    std::memcpy(p, wide.c_str(), bytes);
    GlobalUnlock(memory);
  } else {
    GlobalFree(memory);
    return false;
  }
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  bool ok = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  // Once set, the memory is the clipboard's; otherwise it is still ours.
  if (!ok)
    GlobalFree(memory);
  ok = CloseClipboard() && ok;
  return ok;
}

}  // namespace korvane::ui
