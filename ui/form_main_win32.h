// FormMain: the tool's one window. It owns the run (the stop flag and the counters live in its
// Restorer), the report list and the labels, and binds each button to its action. A run works on
// a thread of its own: the window's thread only takes the rows and counters it reports (every
// 20 ms while it runs) and answers its questions, so Stop, closing, the folder picker and every
// other click are served at once, and a dialog left open does not hold the run.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "engine/file_system.h"
#include "engine/report_queue.h"
#include "engine/restorer.h"
#include "engine/run_report.h"
#include "platform/scoped_win32.h"
#include "ui/cell_tips_win32.h"
#include "ui/layout.h"
#include "ui/list_report_win32.h"
#include "ui/run_journals.h"
#include "ui/shell_actions_win32.h"
#include "ui/window_dialogs.h"

namespace korvane::ui {

class FormMain {
 public:
  // `dialogs` shows the message boxes, `shell` carries the folder picker and the shell actions;
  // `pump` is what the engine calls at its fixed points, on the run's threads; every run is
  // written down in a journal of `journals`.
  FormMain(FileSystem& fs,
           WindowDialogs& dialogs,
           EventPump& pump,
           ShellActions& shell,
           RunJournals& journals);
  ~FormMain();
  FormMain(const FormMain&) = delete;
  FormMain& operator=(const FormMain&) = delete;

  // Creates the window, runs the load step and shows it centred on the screen with
  // `show_command`. False when the window cannot be created.
  [[nodiscard]] bool Create(HINSTANCE instance, int show_command);

  // Opens an address or document with the shell's "open" verb.
  void ClickUrl(std::string_view address);

  // Called once the window is gone (the program entry ends its message loop there).
  void set_on_destroyed(std::function<void()> f) { on_destroyed_ = std::move(f); }
  // Called on the window's thread once a run (or an undo) has ended and its report is shown.
  void set_on_run_ended(std::function<void()> f) { on_run_ended_ = std::move(f); }
  // Called when a restore or a preview has run on a folder (as the run took it from the path box).
  void set_on_folder_used(std::function<void(const std::string&)> f) {
    on_folder_used_ = std::move(f);
  }

  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  [[nodiscard]] HWND control(ControlIndex i) const {
    return controls_[static_cast<std::size_t>(i)];
  }
  [[nodiscard]] int dpi() const { return dpi_; }
  [[nodiscard]] Restorer& restorer() { return restorer_; }
  [[nodiscard]] const ListReport& report() const { return report_; }
  // The tooltip that shows a cut cell's whole text.
  [[nodiscard]] HWND cell_tip() const { return cell_tips_.tip(); }

  // The report list's context menu, built for the window's state now; the caller destroys it.
  [[nodiscard]] HMENU CreateListMenu() const;
  // Writes the whole report to `path` as CSV; a failure is shown in a message box. The 导出报告
  // command asks for the path and comes here.
  bool SaveReport(std::string_view path);
  // Whether a run or an undo is going on (or asking its question).
  [[nodiscard]] bool busy() const { return run_active_; }

  static constexpr const wchar_t* kClassName = L"KorvaneFormMain";
  // The commands of the list's menu, apart from the controls' ids.
  enum MenuCommand {
    kMenuCopy = 2001,
    kMenuExport,
    kMenuUndo,
    kMenuSkipped,
    kMenuUndoEarlier,
    kMenuPreview,
    kMenuOpen,
    kMenuFailuresOnly,
  };

 private:
  // The message boxes as the run sees them: asked on the window's thread, modal to the window,
  // while the run waits. A close requested while the confirmation was open turns its Yes into a
  // No, so no run starts on a window that is going away.
  class Boxes final : public Dialogs {
   public:
    explicit Boxes(FormMain& form) : form_(form) {}
    void MissingFolder(std::string_view path_text) override;
    void UnreadableFolder(std::string_view path_text, const SystemError& why) override;
    bool Confirm(const Confirmation& question) override;

   private:
    // Runs `ask` on the window's thread and waits for it.
    void OnWindowThread(const std::function<void()>& ask);

    FormMain& form_;
  };

  // Marks a handler that runs a nested message loop (a dialog, a menu, a question of the run). The
  // window is destroyed only when the outermost one has returned and no run is going on.
  class HandlerScope {
   public:
    explicit HandlerScope(FormMain& form) : form_(form) { ++form_.nesting_; }
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

   private:
    FormMain& form_;
  };

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  bool OnCreate();
  void Load();
  void Layout();
  void ApplyFont();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header, LPARAM lparam);
  LRESULT OnListCustomDraw(LPARAM lparam);
  void OnListGetDispInfo(LPARAM lparam);
  void OnListContextMenu(int x, int y);
  // Shows `menu` at `at` (screen) and carries out the command chosen, if any.
  void ChooseFromMenu(HMENU menu, POINT at);
  bool OnListKeyDown(WORD key);
  void OnColumnClick(int column);
  // Enter: in the path box it presses 开始, on the list it opens the selected row's folder.
  void OnEnter();
  void OnDropFiles(HDROP drop);
  // The sort arrow on the header of the column the list is sorted by.
  void ShowSortArrow();
  void OnSize(WPARAM type);
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnActivate(WPARAM state);
  void OnSetFocus();
  void OnClose();
  void OnDestroy();

  void Cmd_Start_Click();
  void Cmd_Stop_Click();
  void Cmd_Select_Click();
  void Cmd_About_Click();
  // Double-click, Enter and 打开文件所在位置: the file browser with the selected row's file
  // selected; for a refusal, both files: the one waiting and the one holding its name.
  void OpenSelectedRow();
  void Menu_FailuresOnly_Click();
  void Menu_Copy_Click();
  void Menu_Export_Click();
  void Menu_Undo_Click();
  void Menu_Skipped_Click();
  void Menu_UndoEarlier_Click();
  // The drop-down of 开始: the preview.
  void Cmd_Start_DropDown();

  // A restore (its journal opened first) or a preview of the folder in the path box.
  void StartWalk(Operation operation);
  // Reverses the renames the journal at `path` names.
  void UndoJournal(const std::string& path);
  // Whether 撤销本次还原 has something to reverse.
  [[nodiscard]] bool CanUndoLastRun() const;

  [[nodiscard]] int SelectedCount() const;

  [[nodiscard]] int Px(int twips) const { return TwipsToPixels(twips, dpi_); }
  [[nodiscard]] SIZE OuterSize() const;
  [[nodiscard]] std::string TextOf(ControlIndex i) const;

  // Starts the engine on `request` on a thread of its own.
  void StartRun(RunRequest request);
  // Takes what the run has reported so far into the list and the labels.
  void TakeReport();
  // The run's thread has finished: its last rows, then the window is free again.
  void OnRunEnded();
  // Waits, serving the run's questions, until its thread has finished (the window is going).
  void WaitForRun();
  // Destroys the window once nothing is on the stack that still needs it.
  void DestroyWhenIdle();

  // Messages of the window's own: the run asks a question, the run's thread has finished.
  static constexpr UINT kRunAsks = WM_APP + 1;
  static constexpr UINT kRunEnded = WM_APP + 2;
  static constexpr UINT_PTR kReportTimer = 1;

  WindowDialogs& dialogs_;
  ShellActions& shell_;
  RunJournals& journals_;
  const char separator_;
  ListReport report_;
  ReportQueue queue_;  // from the run's threads to the window's
  Boxes boxes_;
  Restorer restorer_;
  std::thread run_;
  std::atomic<bool> run_finished_{false};
  std::atomic<RunOutcome> run_outcome_{RunOutcome::kFinished};
  bool run_active_ = false;
  std::optional<OpenJournal> journal_;  // the journal the run writes, while it runs
  std::string last_journal_;            // the last run's, for 撤销本次还原
  std::string rows_journal_;            // the journal of the run whose rows are shown
  bool last_run_undoable_ = false;      // when its rows are not shown: it has renames to reverse
  std::string undoing_journal_;         // the journal an undo now reverses
  std::string typed_path_;              // the path box's text as the run was started with it
  std::string run_folder_;              // the folder the run took from it

  HWND hwnd_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  GdiObject<HFONT> font_;
  int dpi_ = kDefaultDpi;
  COLORREF default_text_colour_ = 0;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last left
  int nesting_ = 0;
  bool close_requested_ = false;
  std::function<void()> on_destroyed_;
  std::function<void()> on_run_ended_;
  std::function<void(const std::string&)> on_folder_used_;
  CellTips cell_tips_;
};

}  // namespace korvane::ui
