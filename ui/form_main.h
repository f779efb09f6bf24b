// FormMain: the tool's one window. It owns the run (the stop flag and the counters live in its
// Restorer), the report list and the labels, and binds each button to its action. Runs happen
// inside the Start click on the window's thread; the engine pumps events at its fixed points, and
// that is how Stop and every other click get through during a run.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "engine/file_system.h"
#include "engine/restorer.h"
#include "engine/run_report.h"
#include "ui/common.h"
#include "ui/layout.h"
#include "ui/list_report.h"
#include "ui/run_undo.h"

namespace korvane::ui {

class FormMain {
 public:
  // `dialogs` shows the two message boxes of the Start action, `pump` processes the thread's
  // waiting messages, `shell` carries the folder picker and the two shell actions.
  FormMain(FileSystem& fs, Dialogs& dialogs, EventPump& pump, ShellActions& shell);
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

  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  [[nodiscard]] HWND control(ControlIndex i) const {
    return controls_[static_cast<std::size_t>(i)];
  }
  [[nodiscard]] int dpi() const { return dpi_; }
  [[nodiscard]] Restorer& restorer() { return restorer_; }
  [[nodiscard]] const ListReport& report() const { return report_; }
  [[nodiscard]] WindowPump& pump() { return pump_; }

  // The report list's context menu, built for the window's state now; the caller destroys it.
  [[nodiscard]] HMENU CreateListMenu() const;
  // Writes the whole report to `path` as CSV; a failure is shown in a message box. The 导出报告
  // command asks for the path and comes here.
  bool SaveReport(std::string_view path);
  // Whether a run or an undo is going on.
  [[nodiscard]] bool busy() const { return restorer_.running() || undoing_; }
  [[nodiscard]] const RunUndo& run_undo() const { return undo_; }

  static constexpr const wchar_t* kClassName = L"KorvaneFormMain";
  // The commands of the list's menu, apart from the controls' ids.
  enum MenuCommand { kMenuCopy = 2001, kMenuExport, kMenuUndo };
  static constexpr std::string_view kDefaultReportName = "还原报告.csv";

 private:
  // The message boxes as the engine sees them: a close requested while the confirmation was
  // open turns its Yes into a No, so no run starts on a window that is going away.
  class Boxes final : public Dialogs {
   public:
    Boxes(FormMain& form, Dialogs& inner) : form_(form), inner_(inner) {}
    void Warn(std::string_view text) override { inner_.Warn(text); }
    bool Confirm(std::string_view question) override {
      return inner_.Confirm(question) && !form_.close_requested_;
    }

   private:
    FormMain& form_;
    Dialogs& inner_;
  };

  // Marks a click handler that runs a nested message loop (a run, a dialog). The window is
  // destroyed only when the outermost one has returned.
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
  bool OnListKeyDown(WORD key);
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
  void List_DblClick();
  void Menu_Copy_Click();
  void Menu_Export_Click();
  void Menu_Undo_Click();

  [[nodiscard]] int SelectedCount() const;

  [[nodiscard]] int Px(int twips) const { return TwipsToPixels(twips, dpi_); }
  [[nodiscard]] SIZE OuterSize() const;
  [[nodiscard]] std::string TextOf(ControlIndex i) const;

  FileSystem& fs_;
  ShellActions& shell_;
  ListReport report_;
  WindowPump pump_;
  Boxes boxes_;
  Restorer restorer_;
  RunUndo undo_;  // the last run's renames, for 撤销本次还原

  HWND hwnd_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  HFONT font_ = nullptr;
  int dpi_ = kDefaultDpi;
  COLORREF default_text_colour_ = 0;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last left
  int nesting_ = 0;
  bool close_requested_ = false;
  bool undoing_ = false;
  std::function<void()> on_destroyed_;
};

}  // namespace korvane::ui
