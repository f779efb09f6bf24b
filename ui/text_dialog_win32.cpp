#include "ui/text_dialog_win32.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_win32.h"
#include "text/strings.h"

namespace korvane::ui {
namespace {

// A dialog template built in memory (no resource script needed): DLGTEMPLATE, then each item's
// DLGITEMTEMPLATE on a DWORD boundary, with the strings as UTF-16 in between.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, std::wstring_view title) {
    Append(DLGTEMPLATE{style | DS_SETFONT, 0, 0, 0, 0, cx, cy});
    AppendWord(0);  // no menu
    AppendWord(0);  // the standard dialog class
    AppendString(title);
    AppendWord(9);  // point size; the shell's dialog font maps to one that has the CJK glyphs
    AppendString(L"MS Shell Dlg");
  }

  void AddItem(DWORD style,
               short x,
               short y,
               short cx,
               short cy,
               WORD id,
               WORD atom,
               std::wstring_view text) {
    Align();
    Append(DLGITEMTEMPLATE{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id});
    AppendWord(0xFFFF);  // a predefined class, by atom
    AppendWord(atom);
    AppendString(text);
    AppendWord(0);  // no creation data
    auto* header = reinterpret_cast<DLGTEMPLATE*>(bytes_.data());
    ++header->cdit;
  }

  [[nodiscard]] const DLGTEMPLATE* get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  template <typename T>
  void Append(const T& value) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    bytes_.insert(bytes_.end(), p, p + sizeof value);
  }
  void AppendWord(WORD w) { Append(w); }
  void AppendString(std::wstring_view s) {
    for (const wchar_t c : s)
      AppendWord(static_cast<WORD>(c));
    AppendWord(0);
  }
  void Align() {
    while (bytes_.size() % sizeof(DWORD) != 0)
      bytes_.push_back(0);
  }

  // The allocation starts on the DWORD boundary the system requires.
  std::vector<std::uint8_t> bytes_;
};

constexpr WORD kEditAtom = 0x0081;
constexpr WORD kButtonAtom = 0x0080;

INT_PTR CALLBACK TextDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, kTextDialogEditId, reinterpret_cast<const wchar_t*>(lparam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowTextDialog(HWND owner, std::string_view title, std::string_view text) {
  // The field wants Windows' line breaks.
  std::wstring body;
  for (const wchar_t c : Widen(text)) {
    if (c == L'\n')
      body += L'\r';
    body += c;
  }
  DialogTemplate dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 330, 190,
                        Widen(title));
  dialog.AddItem(ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                     WS_HSCROLL | WS_BORDER | WS_TABSTOP,
                 7, 7, 316, 155, kTextDialogEditId, kEditAtom, L"");
  dialog.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 266, 168, 57, 15, IDOK, kButtonAtom,
                 Widen(text::Tr(text::Id::kOkButton)));
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, TextDialogProc,
                          reinterpret_cast<LPARAM>(body.c_str()));
}

}  // namespace korvane::ui
