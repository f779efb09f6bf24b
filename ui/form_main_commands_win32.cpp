// FormMain's commands: the one table that binds each command of a button or a menu item to what it
// does, the menus shown for the window's state, and the handlers that are more than a call.
#include "ui/form_main_win32.h"

#include <iterator>
#include <utility>
#include <vector>

#include "frontend/report_text.h"
#include "platform/text_win32.h"
#include "text/strings.h"
#include "text/wording.h"
#include "ui/earlier_runs_dialog_win32.h"
#include "ui/explorer_verb_win32.h"
#include "ui/menus_win32.h"
#include "ui/text_dialog_win32.h"

namespace korvane::ui {

void FormMain::OnCommand(int id, int code) {
  // Menu commands come with code 0, the same value as BN_CLICKED.
  if (code != BN_CLICKED)
    return;
  if (id == IDOK) {  // Enter, from the dialog manager
    OnEnter();
    return;
  }
  // The labels, the path box and the list send no command of their own.
  if (const std::optional<Cmd> command = CommandOfId(id))
    Do(*command);
}

void FormMain::Do(Cmd command) {
  using Handler = void (*)(FormMain&);
  // Row i carries out command i; the build checks that every command has its row.
  static constexpr std::pair<Cmd, Handler> kHandlers[] = {
      {Cmd::kStart, [](FormMain& f) { f.Cmd_Start_Click(); }},
      {Cmd::kStop, [](FormMain& f) { f.Cmd_Stop_Click(); }},
      {Cmd::kSelect, [](FormMain& f) { f.Cmd_Select_Click(); }},
      {Cmd::kAbout, [](FormMain& f) { f.Cmd_About_Click(); }},
      {Cmd::kOpenLocation, [](FormMain& f) { f.OpenSelectedRow(); }},
      {Cmd::kCopy, [](FormMain& f) { f.view_.CopySelection(); }},
      {Cmd::kExport, [](FormMain& f) { f.Menu_Export_Click(); }},
      {Cmd::kShowSkipped, [](FormMain& f) { f.Menu_Skipped_Click(); }},
      {Cmd::kFailuresOnly, [](FormMain& f) { f.view_.ToggleFilter(RowFilter::kFailures); }},
      {Cmd::kSameContentOnly, [](FormMain& f) { f.view_.ToggleFilter(RowFilter::kSameContent); }},
      {Cmd::kUndo, [](FormMain& f) { f.Menu_Undo_Click(); }},
      {Cmd::kUndoEarlier, [](FormMain& f) { f.Menu_UndoEarlier_Click(); }},
      {Cmd::kPreview, [](FormMain& f) { f.StartWalk(Operation::kPreview); }},
      {Cmd::kKeepCase,
       [](FormMain& f) {
         NamingOptions naming = f.naming_;
         naming.keep_case = !naming.keep_case;
         f.set_naming(naming);
       }},
      {Cmd::kKeepBoth,
       [](FormMain& f) {
         NamingOptions naming = f.naming_;
         naming.keep_both = !naming.keep_both;
         f.set_naming(naming);
       }},
      {Cmd::kExplorerVerb, [](FormMain& f) { f.Menu_ExplorerVerb_Click(); }},
  };
  static_assert(std::size(kHandlers) == kCmdCount);
  static_assert([] {
    for (std::size_t i = 0; i < std::size(kHandlers); ++i) {
      if (static_cast<std::size_t>(kHandlers[i].first) != i)
        return false;
    }
    return true;
  }());
  kHandlers[static_cast<std::size_t>(command)].second(*this);
}

MenuState FormMain::MenuStateNow() const {
  const RowStore& store = view_.report().store();
  return {.busy = busy(),
          .selected_rows = view_.SelectedCount(),
          .rows = store.RowCount(),
          .can_undo = CanUndoShownRun(),
          .has_skipped = !store.skipped().empty(),
          .filter = view_.report().order().filter,
          .preview = store.holds_preview(),
          .naming = naming_,
          .explorer_verb = ExplorerVerbAdded()};
}

HMENU FormMain::CreateListMenu() const {
  return BuildMenu(kListMenu, MenuStateNow());
}

HMENU FormMain::CreateStartMenu() const {
  return BuildMenu(kStartMenu, MenuStateNow());
}

void FormMain::OnListContextMenu(POINT at) {
  // From the keyboard (the menu key, Shift+F10) the point is (-1, -1).
  ChooseFromMenu(kListMenu, at.x == -1 && at.y == -1 ? view_.KeyboardMenuPoint() : at);
}

void FormMain::Cmd_Start_DropDown() {
  RECT r{};
  GetWindowRect(control(kCmdStart), &r);
  ChooseFromMenu(kStartMenu, {r.left, r.bottom});
}

void FormMain::ChooseFromMenu(std::span<const MenuItem> items, POINT at) {
  HandlerScope scope(*this);
  const int chosen = ChooseCommand(items, MenuStateNow(), hwnd_, at);
  if (chosen && hwnd_)
    OnCommand(chosen, 0);
}

void FormMain::Cmd_Start_Click() {
  StartWalk(Operation::kRestore);
}

void FormMain::Cmd_Stop_Click() {
  restorer().Stop();
}

void FormMain::Cmd_Select_Click() {
  HandlerScope scope(*this);
  const std::string chosen =
      shell_.BrowseForFolder(controls_.TextOf(kTextPath), text::Tr(text::Id::kBrowseTitle));
  // Shorter than two characters: cancelled, or nothing with a file-system path.
  if (Widen(chosen).size() < 2 || !hwnd_)
    return;
  SetWindowTextW(control(kTextPath), Widen(chosen).c_str());
}

void FormMain::Cmd_About_Click() {
  ClickUrl(kVendorAddress);
}

void FormMain::OpenSelectedRow() {
  view_.OpenSelectedRow();
}

void FormMain::OnEnter() {
  const HWND focus = GetFocus();
  if (focus == control(kTextPath))
    Cmd_Start_Click();
  else if (focus == control(kList))
    OpenSelectedRow();
}

void FormMain::set_naming(const NamingOptions& naming) {
  // Not while a run goes on: its rows are named as it began.
  if (busy() || naming == naming_)
    return;
  naming_ = naming;
  if (on_naming_changed_)
    on_naming_changed_(naming_);
}

bool FormMain::SaveReport(std::string_view path) {
  const FsResult result = view_.SaveAs(path);
  if (!result.ok())
    dialogs_.Warn(text::Fill(text::Id::kSaveFailed, {path, text::RefusalText(result, {})}));
  return result.ok();
}

void FormMain::Menu_Export_Click() {
  if (busy() || close_requested_ || view_.report().RowCount() == 0)
    return;
  HandlerScope scope(*this);
  const std::string path = shell_.ChooseSaveFile(hwnd_, text::Tr(text::Id::kDefaultReportName));
  if (path.empty() || !hwnd_ || close_requested_)
    return;
  SaveReport(path);
}

// Reverses the shown run's renames from its journal; one refused now is tried again next time.

void FormMain::Menu_Undo_Click() {
  if (busy() || close_requested_ || !CanUndoShownRun())
    return;
  StartUndo(run_.journals().shown_journal());
}

void FormMain::Menu_UndoEarlier_Click() {
  if (busy() || close_requested_)
    return;
  HandlerScope scope(*this);
  const std::vector<EarlierRun> runs = run_.EarlierRuns();
  const std::optional<std::size_t> chosen = ChooseEarlierRun(hwnd_, runs);
  if (!chosen || !hwnd_ || close_requested_)
    return;
  StartUndo(runs[*chosen].path);
}

void FormMain::Menu_Skipped_Click() {
  const RowStore& store = view_.report().store();
  if (busy() || close_requested_ || store.skipped().empty())
    return;
  HandlerScope scope(*this);
  ShowTextDialog(hwnd_, text::Tr(text::Id::kSkippedTitle), SkippedFoldersText(store.skipped()));
}

void FormMain::Menu_ExplorerVerb_Click() {
  if (SystemError why; !ToggleExplorerVerb(why))
    dialogs_.Warn(text::Fill(text::Id::kExplorerVerbFailed, {text::ErrorText(why)}));
}

}  // namespace korvane::ui
