// FormMain: the tool's one window. It owns the controls and binds each message to its action
// (form_main_win32.cpp), each command of a button or a menu item to its handler
// (form_main_commands_win32.cpp), and starts and ends its runs (form_main_runs_win32.cpp); the work
// is done in rooms of its own: the controls made and placed (layout_win32), the report list
// (report_view_win32), the runs on their thread and their journals (run_thread_win32,
// journal_bookkeeping), the menus (menu_table, menus_win32), the taskbar button (taskbar_win32),
// what screen readers are told (accessibility_win32) and the entry in Explorer's menu
// (explorer_verb_win32).
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "engine/file_system.h"
#include "engine/restorer.h"
#include "engine/run_report.h"
#include "frontend/run_journals.h"
#include "ui/accessibility_win32.h"
#include "ui/commands.h"
#include "ui/layout.h"
#include "ui/layout_win32.h"
#include "ui/list_report_win32.h"
#include "ui/menu_table.h"
#include "ui/report_view_win32.h"
#include "ui/run_thread_win32.h"
#include "ui/shell_actions_win32.h"
#include "ui/taskbar_win32.h"
#include "ui/window_dialogs.h"

namespace korvane::ui {

class FormMain {
 public:
  // `dialogs` shows the message boxes, `shell` carries the folder picker and the shell actions;
  // every run is written down in a journal of `journals`.
  FormMain(FileSystem& fs, WindowDialogs& dialogs, ShellActions& shell, RunJournals& journals);
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
  // How the next restore or preview names the files it gives back (开始's drop-down), and who is
  // told when the user changes it.
  [[nodiscard]] const NamingOptions& naming() const { return naming_; }
  void set_naming(const NamingOptions& naming);
  void set_on_naming_changed(std::function<void(const NamingOptions&)> f) {
    on_naming_changed_ = std::move(f);
  }

  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  [[nodiscard]] HWND control(ControlIndex i) const { return controls_[i]; }
  [[nodiscard]] int dpi() const { return dpi_; }
  [[nodiscard]] Restorer& restorer() { return run_.restorer(); }
  [[nodiscard]] const ListReport& report() const { return view_.report(); }
  // The tooltip that shows a cut cell's whole text.
  [[nodiscard]] HWND cell_tip() const { return view_.cell_tip(); }

  // The report list's context menu and 开始's drop-down, built for the window's state now; the
  // caller destroys them.
  [[nodiscard]] HMENU CreateListMenu() const;
  [[nodiscard]] HMENU CreateStartMenu() const;
  // Writes the whole report to `path` as CSV; a failure is shown in a message box. The 导出报告
  // command asks for the path and comes here.
  bool SaveReport(std::string_view path);
  // Whether a run or an undo is going on (or asking its question).
  [[nodiscard]] bool busy() const { return run_.active(); }

  static constexpr const wchar_t* kClassName = L"KorvaneFormMain";

 private:
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

  template <typename Window>
  friend LRESULT CALLBACK WindowProcOf(HWND, UINT, WPARAM, LPARAM);
  void OnAttached(HWND hwnd);
  void OnDetached();
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  bool OnCreate();
  void OnCommand(int id, int code);
  // Carries out `command`, from a button or a menu item: the one place that binds each command to
  // what it does.
  void Do(Cmd command);
  LRESULT OnNotify(const NMHDR& header, LPARAM lparam);
  void OnListContextMenu(POINT at);
  // Shows the menu of `items` at `at` (screen) and carries out the command chosen, if any.
  void ChooseFromMenu(std::span<const MenuItem> items, POINT at);
  // Enter: in the path box it presses 开始, on the list it opens the selected row's folder.
  void OnEnter();
  void OnDropFiles(HDROP drop);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnClose();

  void Cmd_Start_Click();
  void Cmd_Stop_Click();
  void Cmd_Select_Click();
  void Cmd_About_Click();
  // Double-click, Enter and 打开文件所在位置.
  void OpenSelectedRow();
  void Menu_Export_Click();
  void Menu_Undo_Click();
  void Menu_Skipped_Click();
  void Menu_UndoEarlier_Click();
  // Adds 还原文件名 to Explorer's right-click menu, or removes it, for the current user.
  void Menu_ExplorerVerb_Click();
  // The drop-down of 开始.
  void Cmd_Start_DropDown();

  // A restore or a preview of the folder in the path box.
  void StartWalk(Operation operation);
  // An undo of the journal at `path`.
  void StartUndo(const std::string& path);
  // While an undo counts what is left to do before its question: the status line says so and the
  // cursor shows the window at work.
  void ShowCounting(bool counting);
  // The system's colours changed, or its high-contrast setting.
  void OnThemeChanged();
  // Whether 撤销本次还原 has something to reverse.
  [[nodiscard]] bool CanUndoShownRun() const;
  // The window's state as the menus' rules read it.
  [[nodiscard]] MenuState MenuStateNow() const;

  // The run's thread has finished: its last rows, then the window is free again.
  void OnRunEnded();
  // Waits, serving the run's questions, until its thread has finished (the window is going).
  void WaitForRun();
  // Destroys the window once nothing is on the stack that still needs it.
  void DestroyWhenIdle();

  WindowDialogs& dialogs_;
  ShellActions& shell_;
  const char separator_;
  bool close_requested_ = false;
  ReportView view_;
  RunThread run_;
  TaskbarButton taskbar_;
  Accessibility accessibility_;

  HWND hwnd_ = nullptr;
  WindowControls controls_;
  int dpi_ = kDefaultDpi;
  int nesting_ = 0;
  std::function<void()> on_destroyed_;
  std::function<void()> on_run_ended_;
  std::function<void(const std::string&)> on_folder_used_;
  NamingOptions naming_;
  bool counting_ = false;
  std::string status_before_;  // the status line's text before the count
  std::function<void(const NamingOptions&)> on_naming_changed_;
};

}  // namespace korvane::ui
