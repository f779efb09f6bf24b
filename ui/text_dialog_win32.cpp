#include "ui/text_dialog_win32.h"

#include <string>

#include "platform/text_win32.h"
#include "text/strings.h"
#include "ui/dialog_template_win32.h"

namespace korvane::ui {
namespace {

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
