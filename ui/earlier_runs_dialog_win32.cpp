#include "ui/earlier_runs_dialog_win32.h"

#include <string>

#include "platform/text_win32.h"
#include "text/strings.h"
#include "text/wording.h"
#include "ui/dialog_template_win32.h"

namespace korvane::ui {
namespace {

struct Choice {
  const std::vector<EarlierRun>* runs;
  std::optional<std::size_t> chosen;
};

std::wstring LineOf(const EarlierRun& earlier) {
  return Widen(text::EarlierRunText(earlier.started, earlier.run));
}

INT_PTR CALLBACK EarlierRunsProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* choice = reinterpret_cast<Choice*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      choice = reinterpret_cast<Choice*>(lparam);
      const HWND list = GetDlgItem(dialog, kEarlierRunsListId);
      if (choice->runs->empty()) {
        SendMessageW(list, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(text::Tr(text::Id::kEarlierNone)).c_str()));
        EnableWindow(list, FALSE);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        return TRUE;
      }
      for (const EarlierRun& run : *choice->runs)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LineOf(run).c_str()));
      SendMessageW(list, LB_SETCURSEL, 0, 0);
      return TRUE;
    }
    case WM_COMMAND: {
      const WORD id = LOWORD(wparam);
      const bool double_click = id == kEarlierRunsListId && HIWORD(wparam) == LBN_DBLCLK;
      if (id == IDOK || double_click) {
        const auto at = SendMessageW(GetDlgItem(dialog, kEarlierRunsListId), LB_GETCURSEL, 0, 0);
        if (at != LB_ERR && choice && static_cast<std::size_t>(at) < choice->runs->size())
          choice->chosen = static_cast<std::size_t>(at);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::size_t> ChooseEarlierRun(HWND owner, const std::vector<EarlierRun>& runs) {
  DialogTemplate dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 360, 180,
                        Widen(text::Tr(text::Id::kEarlierTitle)));
  dialog.AddItem(
      LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP, 7, 7,
      346, 145, kEarlierRunsListId, kListBoxAtom, L"");
  dialog.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 234, 158, 57, 15, IDOK, kButtonAtom,
                 Widen(text::Tr(text::Id::kUndoButton)));
  dialog.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 296, 158, 57, 15, IDCANCEL, kButtonAtom,
                 Widen(text::Tr(text::Id::kCancelButton)));
  Choice choice{&runs, std::nullopt};
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, EarlierRunsProc,
                          reinterpret_cast<LPARAM>(&choice));
  return choice.chosen;
}

}  // namespace korvane::ui
