// The report list's menu and keys, driven by messages on the real window over real temporary
// trees: copying, exporting, and undoing the last run. Needs a display, like the other window
// tests.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/restorer.h"
#include "frontend/report_text.h"
#include "platform/native.h"
#include "platform/text_win32.h"
#include "tests/support/hooked_fs.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"
#include "tests/ui/window_support_win32.h"
#include "text/wording.h"
#include "ui/earlier_runs_dialog_win32.h"
#include "ui/form_main_win32.h"
#include "ui/menu_table.h"
#include "ui/text_dialog_win32.h"

namespace korvane::ui {
namespace {

using testing::Sandbox;
using testing::ScriptedDialogs;

class SavingShell final : public ShellActions {
 public:
  std::string BrowseForFolder(std::string_view, std::string_view) override { return {}; }
  void ShowInExplorer(std::string_view) override {}
  void ShowTogether(const std::vector<std::string>&) override {}
  void Open(HWND, std::string_view) override {}
  std::string ChooseSaveFile(HWND owner, std::string_view default_name) override {
    save_owners.push_back(owner);
    save_names.emplace_back(default_name);
    return save_result;
  }
  std::string save_result;
  std::vector<HWND> save_owners;
  std::vector<std::string> save_names;
};

// The sandbox's folder as the window shows folders: without its trailing separator.
std::string Shown(const Sandbox& sb) {
  std::string shown = sb.RunPath();
  shown.pop_back();
  return shown;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr))
    return "<clipboard busy>";
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = Narrow(p);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Which commands of the list's menu can be chosen.
struct ListMenuState {
  bool copy = false;
  bool export_report = false;
  bool undo = false;
  bool skipped = false;
  bool operator==(const ListMenuState&) const = default;
};

class ListMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE))
      GTEST_SKIP() << "the window cannot be created: no display (run under Xvfb)";
    PumpMessages();
  }

  HWND List() const { return form.control(kList); }
  void Run() {
    SetWindowTextW(form.control(kTextPath), Widen(sb.RunPath()).c_str());
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kFirstControlId + kCmdStart, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.control(kCmdStart)));
    WaitForRun(form);
  }
  // A command of the menu; an undo it starts is waited for.
  void Command(int id) {
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    if (GetCurrentThreadId() == GetWindowThreadProcessId(form.hwnd(), nullptr))
      WaitForRun(form);
  }
  int ItemCount() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
  std::string Cell(int item, int sub_item) const { return ListCellText(List(), item, sub_item); }
  int RowOf(std::string_view old_name) const {
    for (int i = 0; i < ItemCount(); ++i)
      if (Cell(i, kColOldName) == old_name)
        return i;
    return -1;
  }
  void Select(int item, bool selected = true) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&state));
  }
  // Whether each command of the menu as it would open now can be chosen.
  ListMenuState MenuNow() const {
    HMENU menu = form.CreateListMenu();
    if (!menu)
      return {};
    const auto enabled = [menu](UINT id) {
      const UINT s = GetMenuState(menu, id, MF_BYCOMMAND);
      return s != static_cast<UINT>(-1) && !(s & (MF_GRAYED | MF_DISABLED));
    };
    const ListMenuState state{
        enabled(MenuCommand(text::Id::kMenuCopy)), enabled(MenuCommand(text::Id::kMenuExport)),
        enabled(MenuCommand(text::Id::kMenuUndo)), enabled(MenuCommand(text::Id::kMenuSkipped))};
    DestroyMenu(menu);
    return state;
  }
  // A key pressed in the list with Ctrl held down.
  void CtrlKey(WORD key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(List(), WM_KEYDOWN, key, 1);
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
  }
  std::vector<std::string> NamesIn(const std::filesystem::path& folder) const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
      names.push_back(testing::Utf8(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }

  Sandbox sb;
  testing::HookedFileSystem hooks;  // the run's moments, on its threads
  FileSystem* fs = &hooks;
  ScriptedDialogs dialogs;
  SavingShell shell;
  Sandbox state;  // where the window keeps the journals of its runs
  RunJournals journals{testing::Utf8(state.root())};
  FormMain form{*fs, dialogs, shell, journals};
};

TEST_F(ListMenuTest, UndoGivesBackTheExactNamesAndNeverOverwrites) {
  sb.File("Report.DOC.2011.qjd", "report");
  sb.File("Sub/Photo.JPG.2012.qjd", "photo");
  sb.File("Sub/keep.txt", "keep");
  sb.File("busy.txt", "already there");
  sb.File("busy.txt.2013.qjd", "protected");  // fails in the run: nothing to undo for it
  Run();
  ASSERT_EQ(ItemCount(), 3);
  ASSERT_EQ(NamesIn(sb.root()),
            (std::vector<std::string>{"Sub", "busy.txt", "busy.txt.2013.qjd", "report.doc"}));
  // Meanwhile a new file takes the photo's old name (in another case: the name is the same).
  sb.File("Sub/photo.jpg.2012.QJD", "newcomer");

  dialogs.questions.clear();
  Command(MenuCommand(text::Id::kMenuUndo));

  EXPECT_EQ(dialogs.questions,
            std::vector<std::string>{"确定把 " + Shown(sb) + " 中的 2 个文件改回原来的名字吗？"});
  EXPECT_EQ(NamesIn(sb.root()), (std::vector<std::string>{"Report.DOC.2011.qjd", "Sub", "busy.txt",
                                                          "busy.txt.2013.qjd"}));
  EXPECT_EQ(testing::ReadFile(sb.Path("Report.DOC.2011.qjd")), "report");
  EXPECT_EQ(NamesIn(sb.Path("Sub")),
            (std::vector<std::string>{"keep.txt", "photo.jpg", "photo.jpg.2012.QJD"}));
  EXPECT_EQ(testing::ReadFile(sb.Path("Sub/photo.jpg.2012.QJD")), "newcomer");
  EXPECT_EQ(testing::ReadFile(sb.Path("Sub/photo.jpg")), "photo");

  const int report = RowOf("report.doc.2011.qjd");
  const int photo = RowOf("photo.jpg.2012.qjd");
  const int busy = RowOf("busy.txt.2013.qjd");
  ASSERT_NE(report, -1);
  ASSERT_NE(photo, -1);
  ASSERT_NE(busy, -1);
  EXPECT_EQ(Cell(report, kColStatus), "已撤销");
  EXPECT_EQ(Cell(report, kColNote), "-");
  EXPECT_EQ(Cell(photo, kColStatus), "未撤销");
  EXPECT_EQ(Cell(photo, kColNote), "当文件已存在时，无法创建该文件。");
  EXPECT_EQ(Cell(busy, kColStatus), "失败");
  EXPECT_EQ(WindowText(form.control(kLabelTotal)), "撤销:2 个，撤销成功:1 个，失败:1 个");
  EXPECT_EQ(WindowText(form.control(kLabelStatus)), "撤销完毕.");

  // The refused one can be tried again once its name is free; then nothing is left.
  EXPECT_TRUE(MenuNow().undo);
  std::filesystem::remove(sb.Path("Sub/photo.jpg.2012.QJD"));
  Command(MenuCommand(text::Id::kMenuUndo));
  EXPECT_EQ(NamesIn(sb.Path("Sub")), (std::vector<std::string>{"Photo.JPG.2012.qjd", "keep.txt"}));
  EXPECT_EQ(Cell(photo, kColStatus), "已撤销");
  EXPECT_FALSE(MenuNow().undo);
}

// 撤销本次还原 undoes only the run whose rows the list shows: after a preview it is unavailable,
// and the restore before waits in 撤销以前的还原….
TEST_F(ListMenuTest, AfterAPreviewUndoThisRunIsUnavailable) {
  sb.File("a.txt.2011.qjd");
  Run();
  EXPECT_TRUE(MenuNow().undo);
  sb.File("b.txt.2011.qjd");
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(MenuCommand(text::Id::kMenuPreview), 0), 0);
  WaitForRun(form);
  ASSERT_EQ(Cell(0, kColStatus), "将还原");
  EXPECT_FALSE(MenuNow().undo);
  dialogs.questions.clear();
  Command(MenuCommand(text::Id::kMenuUndo));
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_TRUE(std::filesystem::exists(sb.Path("a.txt")));
  EXPECT_EQ(Cell(0, kColStatus), "将还原");
}

TEST_F(ListMenuTest, UndoAnsweredNoOrStoppedChangesNoMoreThanItShould) {
  for (const char* name : {"a.txt.2011.qjd", "b.txt.2011.qjd", "c.txt.2011.qjd"})
    sb.File(name);
  Run();
  const auto restored = sb.Snapshot();
  const auto journal = [this] {
    std::filesystem::path file;
    for (const auto& e : std::filesystem::directory_iterator(state.root()))
      if (e.path().extension() == ".log")
        file = e.path();
    return testing::ReadFile(file);
  };
  const std::string written = journal();

  // Answered No: nothing renamed, nothing noted in the journal. While it counts what is left to
  // undo, the status line says so.
  dialogs.set_answer(false);
  std::string counting;
  hooks.at = [&](int) {
    if (counting.empty())
      counting = WindowText(form.control(kLabelStatus));
  };
  Command(MenuCommand(text::Id::kMenuUndo));
  hooks.at = nullptr;
  EXPECT_EQ(counting, "正在清点要改回原名的文件…");
  EXPECT_EQ(sb.Snapshot(), restored);
  EXPECT_EQ(journal(), written);
  EXPECT_EQ(WindowText(form.control(kLabelStatus)), "执行完毕.");

  // Stop pressed as the first rename (the newest, c's) is made: it is the only one reversed, and
  // the rest is still there to undo.
  dialogs.set_answer(true);
  dialogs.questions.clear();
  hooks.at = [this](int) {
    if (!dialogs.questions.empty())
      SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kFirstControlId + kCmdStop, BN_CLICKED),
                   reinterpret_cast<LPARAM>(form.control(kCmdStop)));
  };
  Command(MenuCommand(text::Id::kMenuUndo));
  hooks.at = nullptr;
  auto expected = restored;
  expected.erase("c.txt");
  expected["c.txt.2011.qjd"] = "c.txt.2011.qjd";
  EXPECT_EQ(sb.Snapshot(), expected);
  EXPECT_EQ(WindowText(form.control(kLabelStatus)), "撤销中断.");
  EXPECT_TRUE(MenuNow().undo);
  EXPECT_FALSE(form.busy());

  // A new run forgets the old renames, even one that renames nothing.
  std::filesystem::remove(sb.Path("c.txt.2011.qjd"));
  Run();
  EXPECT_EQ(ItemCount(), 0);
  EXPECT_FALSE(MenuNow().undo);
}

TEST_F(ListMenuTest, MenuItemsAreGreyedDuringARunAndWithNothingToUndo) {
  EXPECT_EQ(MenuNow(), (ListMenuState{false, false, false}));
  HMENU menu = form.CreateListMenu();
  ASSERT_NE(menu, nullptr);
  const auto text_of = [menu](UINT id) {
    wchar_t buf[64] = {};
    GetMenuStringW(menu, id, buf, 64, MF_BYCOMMAND);
    return Narrow(buf);
  };
  EXPECT_EQ(text_of(MenuCommand(text::Id::kMenuCopy)), "复制\tCtrl+C");
  EXPECT_EQ(text_of(MenuCommand(text::Id::kMenuExport)), "导出报告…");
  EXPECT_EQ(text_of(MenuCommand(text::Id::kMenuUndo)), "撤销本次还原");
  DestroyMenu(menu);

  sb.File("a.txt.2011.qjd");
  sb.File("a.txt", "taken");
  Run();  // one row, failed: nothing to undo
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_EQ(MenuNow(), (ListMenuState{false, true, false}));
  Select(0);
  EXPECT_EQ(MenuNow(), (ListMenuState{true, true, false}));

  std::filesystem::remove(sb.Path("a.txt"));
  for (int i = 0; i < 30; ++i)
    sb.File("f" + std::to_string(i) + ".txt.2011.qjd");
  std::vector<ListMenuState> during;
  bool undo_ignored = true;
  hooks.at = [&](int) {
    during.push_back(MenuNow());
    const auto asked = dialogs.questions.size();
    Command(MenuCommand(text::Id::kMenuUndo));
    Command(MenuCommand(text::Id::kMenuExport));
    undo_ignored = undo_ignored && dialogs.questions.size() == asked && shell.save_names.empty();
  };
  Run();
  hooks.at = nullptr;
  ASSERT_FALSE(during.empty());
  for (const ListMenuState& s : during) {
    EXPECT_FALSE(s.undo);
    EXPECT_FALSE(s.export_report);
  }
  EXPECT_TRUE(undo_ignored);
  EXPECT_TRUE(MenuNow().undo);
  EXPECT_TRUE(MenuNow().export_report);

  Command(MenuCommand(text::Id::kMenuUndo));
  EXPECT_FALSE(MenuNow().undo);  // all reversed
}

TEST_F(ListMenuTest, CopyAndTheKeysPutTheSelectedRowsOnTheClipboard) {
  sb.File("x'y (1).txt.2011.qjd");
  sb.File("z,w.txt.2011.qjd");
  sb.File("报告.docx.2011.qjd");
  Run();
  ASSERT_EQ(ItemCount(), 3);
  const auto row_text = [this](int i) {
    std::string s;
    for (int c = 0; c < kColumnCount; ++c) {
      std::string cell = Cell(i, c);
      if (cell.find('"') != std::string::npos) {
        std::string quoted = "\"";
        for (char ch : cell) {
          if (ch == '"')
            quoted += '"';
          quoted += ch;
        }
        cell = quoted + "\"";
      }
      s += (c ? "\t" : "") + cell;
    }
    return s;
  };

  Select(0);
  Select(2);
  Command(MenuCommand(text::Id::kMenuCopy));
  EXPECT_EQ(ClipboardText(), row_text(0) + "\r\n" + row_text(2));

  CtrlKey('A');
  EXPECT_EQ(SendMessageW(List(), LVM_GETSELECTEDCOUNT, 0, 0), 3);
  CtrlKey('C');
  EXPECT_EQ(ClipboardText(), row_text(0) + "\r\n" + row_text(1) + "\r\n" + row_text(2));

  // Without Ctrl the letters are the list's own (jump to a row); nothing is copied.
  Select(1, false);
  SendMessageW(List(), WM_KEYDOWN, 'C', 1);
  EXPECT_EQ(ClipboardText(), row_text(0) + "\r\n" + row_text(1) + "\r\n" + row_text(2));
}

TEST_F(ListMenuTest, ExportWritesTheWholeReportAsCsvAndReplacesAFileWhole) {
  sb.File("a,b.txt.2011.qjd");
  sb.File("报告.docx.2011.qjd");
  sb.File("taken.txt.2011.qjd");
  sb.File("taken.txt", "x");
  Run();
  ASSERT_EQ(ItemCount(), 3);
  const auto out_folder = sb.Folder("out");
  const auto target = out_folder / L"还原报告.csv";
  shell.save_result = testing::Utf8(target);
  sb.File("out/还原报告.csv", "an older report");

  Command(MenuCommand(text::Id::kMenuExport));

  EXPECT_EQ(shell.save_names, std::vector<std::string>{"还原报告.csv"});
  EXPECT_EQ(shell.save_owners, std::vector<HWND>{form.hwnd()});
  EXPECT_TRUE(dialogs.warnings.empty());
  const std::string csv = testing::ReadFile(target);
  std::string expected = "\xEF\xBB\xBFID,状态,旧文件名,新文件,备注\r\n";
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < kColumnCount; ++c) {
      const std::string cell = Cell(i, c);
      expected += c ? "," : "";
      expected += cell.find(',') != std::string::npos ? "\"" + cell + "\"" : cell;
    }
    expected += "\r\n";
  }
  EXPECT_EQ(csv, expected);
  EXPECT_EQ(NamesIn(out_folder), std::vector<std::string>{"还原报告.csv"});  // no temp file left

  // Cancelled: nothing written.
  shell.save_result.clear();
  std::filesystem::remove(target);
  Command(MenuCommand(text::Id::kMenuExport));
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(ListMenuTest, AReportThatCannotBeSavedSaysWhyAndLeavesNothing) {
  sb.File("a.txt.2011.qjd");
  Run();
  const std::string missing = testing::Utf8(sb.Path("no such folder") / "r.csv");
  EXPECT_FALSE(form.SaveReport(missing));
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  const std::string prefix = "无法保存报告“" + missing + "”：";
  EXPECT_TRUE(dialogs.warnings[0].starts_with(prefix)) << dialogs.warnings[0];
  EXPECT_GT(dialogs.warnings[0].size(), prefix.size());  // the system's description
  EXPECT_FALSE(std::filesystem::exists(sb.Path("no such folder")));

  // A folder in the file's place: the save fails and the folder is untouched.
  sb.Folder("occupied.csv/inside");
  EXPECT_FALSE(form.SaveReport(testing::Utf8(sb.Path("occupied.csv"))));
  EXPECT_EQ(dialogs.warnings.size(), 2u);
  EXPECT_TRUE(std::filesystem::is_directory(sb.Path("occupied.csv/inside")));
  EXPECT_EQ(NamesIn(sb.root()), (std::vector<std::string>{"a.txt", "occupied.csv"}));
}

// A folder gone between the listing and the walk's step into it: the status line says how many
// were skipped, the menu lists them with the reason, and the export ends with them.
TEST_F(ListMenuTest, SkippedFoldersAreSaidInTheStatusTheMenuAndTheExport) {
  sb.File("a/x.2011.qjd");
  sb.File("b/y.2011.qjd");
  hooks.listed = [this](int n) {
    // The walk has listed the root (the first listing is the run's check), nothing entered yet.
    if (n == 2)
      std::filesystem::remove_all(sb.Path("b"));
  };
  Run();
  hooks.listed = nullptr;
  EXPECT_EQ(WindowText(form.control(kLabelStatus)), "执行完毕.（1 个文件夹无法读取，已跳过）");
  EXPECT_TRUE(MenuNow().skipped);
  ASSERT_EQ(form.report().store().skipped().size(), 1u);
  const std::string line =
      sb.RunPath() + "b：" + text::ErrorText(form.report().store().skipped()[0].why);

  // The box shows the folder and the reason in a field the user can copy from. It runs its own
  // loop; a timer inside it reads the field and closes the box.
  static std::wstring shown;
  shown.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
    if (const HWND box = FindWindowW(L"#32770", L"无法读取、已跳过的文件夹")) {
      wchar_t text[1024] = {};
      GetDlgItemTextW(box, kTextDialogEditId, text, 1024);
      shown = text;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  Command(MenuCommand(text::Id::kMenuSkipped));
  KillTimer(nullptr, timer);
  EXPECT_EQ(Narrow(shown), line + "\r\n");

  const auto target = sb.Path("report.csv");
  shell.save_result = testing::Utf8(target);
  Command(MenuCommand(text::Id::kMenuExport));
  const std::string csv = testing::ReadFile(target);
  EXPECT_TRUE(csv.ends_with("\r\n\r\n无法读取、已跳过的文件夹,原因\r\n" + sb.RunPath() + "b," +
                            text::ErrorText(form.report().store().skipped()[0].why) + "\r\n"))
      << csv;
}

// The journal outlives the window: the next window (as after a restart) lists the run and
// undoes it, and says so the next time.
TEST_F(ListMenuTest, AnEarlierRunIsUndoneFromTheNextWindow) {
  sb.File("a.txt.2011.qjd", "a");
  sb.File("Sub/B.TXT.2012.qjd", "b");
  const auto before = sb.Snapshot();
  Run();
  ASSERT_NE(sb.Snapshot(), before);
  DestroyWindow(form.hwnd());

  RunJournals reopened{testing::Utf8(state.root())};
  FormMain next{*fs, dialogs, shell, reopened};
  ASSERT_TRUE(next.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE));
  // The box runs its own loop; a timer inside it reads the runs and chooses the first (or
  // cancels, once `cancel` is set).
  static std::vector<std::string> lines;
  static bool cancel = false;
  const auto choose = [&next](bool cancelling) {
    lines.clear();
    cancel = cancelling;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
      if (const HWND box = FindWindowW(L"#32770", L"撤销以前的还原")) {
        const HWND list = GetDlgItem(box, kEarlierRunsListId);
        for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
          wchar_t line[1024] = {};
          SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
          lines.push_back(Narrow(line));
        }
        PostMessageW(box, WM_COMMAND, cancel ? IDCANCEL : IDOK, 0);
      }
    });
    SendMessageW(next.hwnd(), WM_COMMAND, MAKEWPARAM(MenuCommand(text::Id::kMenuUndoEarlier), 0),
                 0);
    KillTimer(nullptr, timer);
    WaitForRun(next);
  };

  dialogs.questions.clear();
  choose(false);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(Shown(sb) + "    改名 2 个，完成，未撤销"), std::string::npos)
      << lines[0];
  EXPECT_EQ(dialogs.questions,
            std::vector<std::string>{"确定把 " + Shown(sb) + " 中的 2 个文件改回原来的名字吗？"});
  EXPECT_EQ(sb.Snapshot(), before);
  EXPECT_EQ(WindowText(next.control(kLabelStatus)), "撤销完毕.");
  EXPECT_EQ(WindowText(next.control(kLabelTotal)), "撤销:2 个，撤销成功:2 个，失败:0 个");

  choose(true);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].ends_with("改名 2 个，完成，已撤销")) << lines[0];
  EXPECT_EQ(sb.Snapshot(), before);
  // Chosen again, it says there is nothing left to undo, and asks nothing.
  dialogs.questions.clear();
  choose(false);
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_EQ(dialogs.warnings.back(),
            Shown(sb) + " 中没有需要改回原来名字的文件：它们已经是原来的名字。");
  EXPECT_EQ(sb.Snapshot(), before);
}

// A header sorts the list by its column, again the other way; ID gives the run's order back.
// 只显示失败 hides the rest and leaves the counters alone. Rows keep their numbers throughout.
TEST_F(ListMenuTest, HeadersSortAndTheFiltersShowOnlyFailuresOrOnlyCopies) {
  std::mt19937 rng(7);
  for (int i = 0; i < 400; ++i) {
    std::string stem;
    for (int k = 0; k < 6; ++k)
      stem += static_cast<char>('a' + rng() % 26);
    // Every fifth name is taken; half of those by a copy of the same bytes.
    if (i % 5 == 0)
      sb.File(stem + ".txt", i % 10 == 0 ? "content" : "blocker");
    sb.File(stem + ".txt.2011.qjd", "content");
  }
  Run();
  ASSERT_EQ(ItemCount(), 400);
  std::map<std::string, std::string> name_of;  // ID to 旧文件名, as the run numbered them
  for (int i = 0; i < ItemCount(); ++i)
    name_of[Cell(i, kColId)] = Cell(i, kColOldName);
  const std::string counters = WindowText(form.control(kLabelTotal));
  const auto column = [&](int c) {
    std::vector<std::string> cells;
    for (int i = 0; i < ItemCount(); ++i) {
      EXPECT_EQ(name_of.at(Cell(i, kColId)), Cell(i, kColOldName)) << "line " << i;
      cells.push_back(Cell(i, c));
    }
    return cells;
  };
  const auto click = [&](int c) {
    NMLISTVIEW n{};
    n.hdr = {List(), static_cast<UINT_PTR>(kFirstControlId + kList),
             static_cast<UINT>(LVN_COLUMNCLICK)};
    n.iItem = -1;
    n.iSubItem = c;
    SendMessageW(form.hwnd(), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
  };

  click(kColOldName);
  const std::vector<std::string> up = column(kColOldName);
  EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
  click(kColOldName);
  EXPECT_EQ(column(kColOldName), std::vector<std::string>(up.rbegin(), up.rend()));
  click(kColId);
  EXPECT_EQ(Cell(0, kColId), "1");
  EXPECT_EQ(Cell(399, kColId), "400");

  Command(MenuCommand(text::Id::kMenuFailuresOnly));
  ASSERT_EQ(ItemCount(), 80);
  for (const std::string& status : column(kColStatus))
    EXPECT_EQ(status, "失败");
  EXPECT_EQ(WindowText(form.control(kLabelTotal)), counters);
  click(kColOldName);  // sorted and filtered at once
  EXPECT_EQ(ItemCount(), 80);
  const std::vector<std::string> failed = column(kColOldName);
  EXPECT_TRUE(std::is_sorted(failed.begin(), failed.end()));
  // The copies alone, to be dealt with at once; the other filter is let go.
  Command(MenuCommand(text::Id::kMenuSameContentOnly));
  ASSERT_EQ(ItemCount(), 40);
  for (const std::string& note : column(kColNote))
    EXPECT_EQ(note, "同名文件已存在，内容相同");
  Command(MenuCommand(text::Id::kMenuSameContentOnly));
  EXPECT_EQ(ItemCount(), 400);
}

TEST_F(ListMenuTest, TheMenuKeyOpensTheMenuAtTheSelectedRow) {
  sb.File("a.txt.2011.qjd");
  Run();
  Select(0);
  RECT list{};
  GetWindowRect(List(), &list);
  // Scrolled sideways past the row's start, the menu still opens inside the list.
  for (const int scrolled : {0, 600}) {
    SendMessageW(List(), LVM_SCROLL, static_cast<WPARAM>(scrolled), 0);
    // The menu runs its own loop; a timer inside it looks for the menu and closes it.
    static bool seen = false;
    static RECT menu_rect{};
    seen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
      if (const HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu)) {
        seen = true;
        GetWindowRect(menu, &menu_rect);
      }
      EndMenu();
    });
    SendMessageW(form.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(-1, -1));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(seen) << scrolled;
    RECT row{};
    row.left = LVIR_LABEL;
    SendMessageW(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    if (seen) {
      EXPECT_NEAR(menu_rect.top, row.bottom, 2) << scrolled;
      EXPECT_GE(menu_rect.left, list.left) << scrolled;
      EXPECT_LT(menu_rect.left, list.right) << scrolled;
    }
  }
  EXPECT_FALSE(form.busy());
  // Another window's menu request is not the list's.
  SendMessageW(form.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.control(kCmdStart)),
               MAKELPARAM(10, 10));
}

}  // namespace
}  // namespace korvane::ui
