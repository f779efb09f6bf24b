// The window in each language, in the same fixed layout: every text fits its control, in the
// font the window uses, at the resolution the test runs at (96 DPI, and 144 in the second run).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/native.h"
#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"
#include "tests/ui/window_support_win32.h"
#include "text/language.h"
#include "text/wording.h"
#include "ui/form_main_win32.h"
#include "ui/layout.h"

namespace korvane::ui {
namespace {

class NoShell final : public ShellActions {
 public:
  std::string BrowseForFolder(std::string_view, std::string_view) override { return {}; }
  void ShowInExplorer(std::string_view) override {}
  void ShowTogether(const std::vector<std::string>&) override {}
  void Open(HWND, std::string_view) override {}
};

// The width `text` takes in `control`'s font, in pixels.
int TextWidth(HWND control, std::string_view text) {
  const WindowDC dc(control);
  const HGDIOBJ was =
      SelectObject(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc.get(), was);
  return size.cx;
}

int ClientWidth(HWND control) {
  RECT r{};
  GetClientRect(control, &r);
  return r.right - r.left;
}

TEST(LanguagesWindowTest, EveryTextFitsItsControlInEveryLanguage) {
  for (const text::Language language : text::Languages()) {
    const text::LanguageOverride in(language);
    SCOPED_TRACE(std::string(text::LanguageCode(language)));
    auto fs = MakeNativeFileSystem();
    testing::ScriptedDialogs dialogs;
    NoShell shell;
    testing::Sandbox state;
    RunJournals journals(testing::Utf8(state.root()));
    FormMain form(*fs, dialogs, shell, journals);
    if (!form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE))
      GTEST_SKIP() << "the window cannot be created: no display (run under Xvfb)";
    PumpMessages();

    // A button's face keeps its edges, and a pixel of air, on each side.
    const int button_margin = 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
    for (int i = 0; i < kControlCount; ++i) {
      const ControlLayout& c = kControls[static_cast<std::size_t>(i)];
      if (!c.text)
        continue;
      const HWND control = form.control(static_cast<ControlIndex>(i));
      const int margin = c.kind == ControlKind::kButton ? button_margin : 0;
      EXPECT_LE(TextWidth(control, WindowText(control)) + margin, ClientWidth(control)) << c.name;
    }

    // What the labels say at the end of a run, with counts as large as a big tree gives.
    const Totals big{.scanned = 1000000, .succeeded = 999999, .failed = 999999};
    const HWND total = form.control(kLabelTotal);
    for (const Operation op : {Operation::kRestore, Operation::kPreview, Operation::kUndo})
      EXPECT_LE(TextWidth(total, text::SummaryText(op, big)), ClientWidth(total));
    const HWND status = form.control(kLabelStatus);
    for (const Operation op : {Operation::kRestore, Operation::kPreview, Operation::kUndo}) {
      for (const bool interrupted : {false, true}) {
        const RunEnd end{
            .operation = op, .totals = {}, .interrupted = interrupted, .skipped_folders = 1000};
        EXPECT_LE(TextWidth(status, text::EndStatusText(end)), ClientWidth(status));
      }
    }

    // The status words and the headers, in the list's columns, with the list's own padding.
    const HWND list = form.control(kList);
    const auto fits_column = [&](int column, std::string_view word) {
      const std::wstring wide = Widen(word);
      const int width = static_cast<int>(
          SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
      const int room = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
      EXPECT_LE(width + 12, room) << word;
    };
    for (const text::Id word :
         {text::Id::kRowRestored, text::Id::kRowFailed, text::Id::kRowWouldRestore,
          text::Id::kRowConflict, text::Id::kRowUndone, text::Id::kRowUndoFailed})
      fits_column(kColStatus, text::Tr(word));
    for (int column = 0; column < kColumnCount; ++column)
      fits_column(column, text::ColumnHeader(column));
    DestroyWindow(form.hwnd());
    PumpMessages();
  }
}

}  // namespace
}  // namespace korvane::ui
