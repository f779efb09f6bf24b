// Drives the real window by messages, in process, on real temporary trees. Needs a display:
// under Wine that means an X server (Xvfb); without one the window cannot exist and the tests
// say so.
#include "ui/form_main_win32.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/native.h"
#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "tests/support/hooked_fs.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"
#include "tests/ui/window_support_win32.h"
#include "text/wording.h"
#include "ui/explorer_verb_win32.h"
#include "ui/list_text.h"
#include "ui/menu_table.h"
#include "ui/remembered_win32.h"

namespace korvane::ui {
namespace {

using testing::Sandbox;
using testing::ScriptedDialogs;

// The desktop, recorded instead of started.
class ScriptedShell final : public ShellActions {
 public:
  std::string BrowseForFolder(std::string_view start, std::string_view title) override {
    browse_starts.emplace_back(start);
    browse_titles.emplace_back(title);
    if (while_browsing)
      while_browsing();
    return browse_result;
  }
  void ShowInExplorer(std::string_view path) override { shown.emplace_back(path); }
  void ShowTogether(const std::vector<std::string>& paths) override {
    shown_together.push_back(paths);
  }
  void Open(HWND owner, std::string_view target) override {
    opened.emplace_back(target);
    open_owners.push_back(owner);
  }

  std::string browse_result;
  std::function<void()> while_browsing;
  std::vector<std::string> browse_starts, browse_titles, shown, opened;
  std::vector<std::vector<std::string>> shown_together;
  std::vector<HWND> open_owners;
};

class FormMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE))
      GTEST_SKIP() << "the window cannot be created: no display (run under Xvfb)";
    Pump();
  }

  void Pump() { PumpMessages(); }

  HWND Control(ControlIndex i) const { return form.control(i); }
  std::string Text(ControlIndex i) const { return WindowText(Control(i)); }
  void SetPath(std::string_view path) { SetWindowTextW(Control(kTextPath), Widen(path).c_str()); }
  // A click; for 开始, the run it starts is waited for.
  void Click(ControlIndex i) {
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kFirstControlId + i, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(i)));
    if (i == kCmdStart)
      WaitForRun(form);
  }
  void PostClick(ControlIndex i) {
    PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kFirstControlId + i, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(i)));
  }
  void DoubleClickList() {
    NMHDR h{Control(kList), static_cast<UINT_PTR>(kFirstControlId + kList),
            static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(form.hwnd(), WM_NOTIFY, h.idFrom, reinterpret_cast<LPARAM>(&h));
  }
  int ItemCount() const {
    return static_cast<int>(SendMessageW(Control(kList), LVM_GETITEMCOUNT, 0, 0));
  }
  std::string Cell(int item, int sub_item) const {
    return ListCellText(Control(kList), item, sub_item);
  }
  // Every row as the list shows it, cells joined by "|".
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < ItemCount(); ++i) {
      std::string r;
      for (int c = 0; c < 5; ++c) {
        if (c > 0)
          r += '|';
        r += Cell(i, c);
      }
      rows.push_back(r);
    }
    return rows;
  }
  // The text colour the list is told for a cell, through the window's own custom-draw handler.
  COLORREF DrawnColour(int item, int sub_item) {
    NMLVCUSTOMDRAW cd{};
    cd.nmcd.hdr = {Control(kList), static_cast<UINT_PTR>(kFirstControlId + kList),
                   static_cast<UINT>(NM_CUSTOMDRAW)};
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(item);
    cd.clrText = RGB(1, 2, 3);  // what the list would use by default
    SendMessageW(form.hwnd(), WM_NOTIFY, cd.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&cd));
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
    cd.iSubItem = sub_item;
    SendMessageW(form.hwnd(), WM_NOTIFY, cd.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&cd));
    return cd.clrText;
  }
  RECT ClientRectOf(ControlIndex i) const {
    RECT r{};
    GetWindowRect(Control(i), &r);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  SIZE OuterSize() const {
    RECT r{};
    GetWindowRect(form.hwnd(), &r);
    return {r.right - r.left, r.bottom - r.top};
  }

  ComScope com;  // as the program has it on the window's thread
  Sandbox sb;
  testing::HookedFileSystem hooks;  // the run's moments, on its threads
  FileSystem* fs = &hooks;
  ScriptedDialogs dialogs;
  ScriptedShell shell;
  Sandbox state;  // where the window keeps the journals of its runs
  RunJournals journals{testing::Utf8(state.root())};
  FormMain form{*fs, dialogs, shell, journals};
};

TEST_F(FormMainTest, LoadShowsTheColumnsEmptyListLabelsAndLayout) {
  EXPECT_EQ(WindowText(form.hwnd()), "Korvane·文件名还原工具V1.1 - https://korvane.example/");
  const char* headers[] = {"ID", "状态", "旧文件名", "新文件", "备注"};
  const int widths_at_96[] = {53, 47, 100, 333, 67};
  const HWND header = reinterpret_cast<HWND>(SendMessageW(Control(kList), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 5);
  for (int c = 0; c < 5; ++c) {
    wchar_t buf[64] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = buf;
    col.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(Control(kList), LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(&col)));
    EXPECT_EQ(Narrow(buf), headers[c]);
    const auto width = SendMessageW(Control(kList), LVM_GETCOLUMNWIDTH, c, 0);
    EXPECT_EQ(width, TwipsToPixels(kColumns[static_cast<std::size_t>(c)].width_twips, form.dpi()));
    if (form.dpi() == 96) {
      EXPECT_EQ(width, widths_at_96[c]) << headers[c];
    }
  }
  const auto style = GetWindowLongPtrW(Control(kList), GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_OWNERDATA);

  EXPECT_EQ(ItemCount(), 0);
  EXPECT_EQ(Text(kLabelTotal), "-");
  EXPECT_EQ(Text(kLabelStatus), "未开始");
  EXPECT_EQ(Text(kTextPath), "");
  EXPECT_EQ(Text(kLabel1), "注意：本程序只适用于被Korvane重命名的文件恢复。");
  EXPECT_EQ(Text(kLabel2), "路径：");
  EXPECT_EQ(Text(kCmdSelect), "选择");
  EXPECT_EQ(Text(kCmdStart), "开始");
  EXPECT_EQ(Text(kCmdStop), "停止");
  EXPECT_EQ(Text(kCmdAbout), "关于");

  for (int i = 0; i < kControlCount; ++i) {
    const ControlLayout& control = kControls[static_cast<std::size_t>(i)];
    const RECT r = ClientRectOf(static_cast<ControlIndex>(i));
    EXPECT_EQ(r.left, TwipsToPixels(control.rect.left, form.dpi())) << control.name;
    EXPECT_EQ(r.top, TwipsToPixels(control.rect.top, form.dpi())) << control.name;
    EXPECT_EQ(r.right - r.left, TwipsToPixels(control.rect.width, form.dpi())) << control.name;
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(control.rect.height, form.dpi())) << control.name;
  }
  if (form.dpi() == 96) {
    const RECT list = ClientRectOf(kList);
    EXPECT_EQ(list.left, 8);
    EXPECT_EQ(list.top, 56);
    EXPECT_EQ(list.right - list.left, 537);
    EXPECT_EQ(list.bottom - list.top, 313);
  }

  // Tab order is the z-order of the controls; the labels lie beneath them all, so that a label's
  // box never paints over the border of the path box it touches.
  std::vector<HWND> chain, labels;
  for (HWND h = GetWindow(form.hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS) << "a control that paints over its neighbours";
    EXPECT_TRUE(labels.empty() || !(style & WS_TABSTOP)) << "a control beneath a label";
    (style & WS_TABSTOP ? chain : labels).push_back(h);
  }
  std::vector<HWND> expected, expected_labels;
  for (const ControlIndex i : TabOrder()) {
    const bool label = kControls[static_cast<std::size_t>(i)].kind == ControlKind::kLabel;
    (label ? expected_labels : expected).push_back(Control(i));
  }
  EXPECT_EQ(chain, expected);
  EXPECT_EQ(std::set<HWND>(labels.begin(), labels.end()),
            std::set<HWND>(expected_labels.begin(), expected_labels.end()));

  // The window hands its focus to the first control in tab order.
  SetFocus(form.hwnd());
  EXPECT_EQ(GetFocus(), Control(kList));

  // Outer size fixed, centred on the work area.
  const SIZE size = OuterSize();
  EXPECT_EQ(size.cx, TwipsToPixels(8445, form.dpi()));
  EXPECT_EQ(size.cy, TwipsToPixels(6825, form.dpi()));
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(form.hwnd(), MONITOR_DEFAULTTOPRIMARY), &mi));
  RECT r{};
  GetWindowRect(form.hwnd(), &r);
  EXPECT_NEAR(r.left - mi.rcWork.left, mi.rcWork.right - r.right, 1);
  EXPECT_NEAR(r.top - mi.rcWork.top, mi.rcWork.bottom - r.bottom, 1);
}

TEST_F(FormMainTest, AFullRunFillsTheListAndTheLabels) {
  sb.File("报告.docx.2011.qjd", "r");
  sb.File("plain.txt", "p");
  sb.File("合同/合同.pdf", "existing");
  sb.File("合同/合同.pdf.2013.qjd", "protected");
  sb.File("照片/IMG_0001.JPG.2016.qjd", "i");
  SetPath(sb.RunPath());

  Click(kCmdStart);

  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"确定开始还原文件命名吗？"});
  EXPECT_TRUE(dialogs.warnings.empty());
  EXPECT_EQ(Text(kLabelStatus), "执行完毕.");
  EXPECT_EQ(Text(kLabelTotal), "扫描:5 个，命名成功:2 个，失败:1 个");
  ASSERT_EQ(ItemCount(), 3);

  std::map<std::string, int> by_old_name;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Cell(i, 0), std::to_string(i + 1));
    by_old_name[Cell(i, 2)] = i;
  }
  ASSERT_EQ(by_old_name.size(), 3u);
  const int ok = by_old_name.at("报告.docx.2011.qjd");
  EXPECT_EQ(Cell(ok, 1), "成功");
  EXPECT_EQ(Cell(ok, 3), sb.RunPath() + "报告.docx");
  EXPECT_EQ(Cell(ok, 4), "-");
  const int photo = by_old_name.at("img_0001.jpg.2016.qjd");
  EXPECT_EQ(Cell(photo, 1), "成功");
  EXPECT_EQ(Cell(photo, 3), sb.RunPath() + "照片\\img_0001.jpg");
  const int conflict = by_old_name.at("合同.pdf.2013.qjd");
  EXPECT_EQ(Cell(conflict, 1), "失败");
  EXPECT_EQ(Cell(conflict, 3), sb.RunPath() + "合同\\合同.pdf");
  EXPECT_NE(Cell(conflict, 4), "");
  EXPECT_NE(Cell(conflict, 4), "-");

  // Only the 状态 cell of the failed row is blue; everything else keeps the list's colour.
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < 5; ++c) {
      const COLORREF expected = i == conflict && c == 1 ? RGB(0, 0, 255) : RGB(1, 2, 3);
      EXPECT_EQ(DrawnColour(i, c), expected) << "row " << i << " column " << c;
    }
  }

  EXPECT_EQ(testing::ReadFile(sb.Path("报告.docx")), "r");
  EXPECT_EQ(testing::ReadFile(sb.Path("合同/合同.pdf")), "existing");
  EXPECT_EQ(testing::ReadFile(sb.Path("合同/合同.pdf.2013.qjd")), "protected");
  EXPECT_TRUE(form.restorer().StopFlag);
}

// A preview shows what 开始 would do, row for row, and touches nothing: no rename, no question.
TEST_F(FormMainTest, APreviewShowsTheRowsOfTheRunThatFollowsAndRenamesNothing) {
  sb.File("报告.docx.2011.qjd", "r");
  sb.File("合同/合同.pdf", "existing");
  sb.File("合同/合同.pdf.2013.qjd", "protected");
  sb.File("照片/IMG_0001.JPG.2016.qjd", "i");
  SetPath(sb.RunPath());
  const auto before = sb.Snapshot();

  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(MenuCommand(text::Id::kMenuPreview), 0), 0);
  WaitForRun(form);
  EXPECT_EQ(sb.Snapshot(), before);
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_EQ(Text(kLabelStatus), "预览完毕，未重命名任何文件.");
  std::vector<std::string> previewed = Rows();
  ASSERT_EQ(previewed.size(), 3u);

  Click(kCmdStart);
  ASSERT_EQ(dialogs.questions.size(), 1u);
  EXPECT_NE(sb.Snapshot(), before);
  // The same rows in the same order; only the status words differ.
  for (std::string& row : previewed) {
    for (const auto& [will, did] : {std::pair{"|将还原|", "|成功|"}, std::pair{"|冲突|", "|失败|"}})
      if (const auto at = row.find(will); at != std::string::npos)
        row.replace(at, std::string_view(will).size(), did);
  }
  const std::vector<std::string> ran = Rows();
  ASSERT_EQ(ran.size(), previewed.size());
  for (std::size_t i = 0; i < ran.size(); ++i) {
    // The note of a conflict is the reason; compare everything before it.
    EXPECT_EQ(ran[i].substr(0, ran[i].rfind('|')), previewed[i].substr(0, previewed[i].rfind('|')));
  }
}

TEST_F(FormMainTest, TheFailedStatusCellIsPaintedBlue) {
  sb.File("a.txt.2011.qjd", "new");
  sb.File("a.txt", "old");
  sb.File("b.txt.2011.qjd", "b");
  SetPath(sb.RunPath());
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 2);
  const int failed = Cell(0, 1) == "失败" ? 0 : 1;
  ASSERT_EQ(Cell(failed, 1), "失败");

  const ListPixels pixels = PaintList(Control(kList));
  if (!pixels.ok)
    GTEST_SKIP() << "the list cannot be painted into a bitmap here";
  EXPECT_TRUE(pixels.HasBlueText(Control(kList), failed, 1));
  EXPECT_FALSE(pixels.HasBlueText(Control(kList), 1 - failed, 1));
  EXPECT_FALSE(pixels.HasBlueText(Control(kList), failed, 2));
}

TEST_F(FormMainTest, AMissingFolderOrAPathWithoutColonIsRefusedWithAWarning) {
  sb.File("x.txt.2011.qjd");
  const std::string missing = sb.RunPath() + "没有这个文件夹";
  SetPath(missing);
  Click(kCmdStart);
  // Network shares and relative paths have no drive colon.
  const std::string no_colon = "\\\\localhost\\share";
  SetPath("temp\\folder");
  Click(kCmdStart);
  SetPath(no_colon);
  Click(kCmdStart);

  EXPECT_EQ(dialogs.warnings,
            (std::vector<std::string>{"文件夹[" + missing + "]不存在，请重新选择",
                                      "文件夹[temp\\folder]不存在，请重新选择",
                                      "文件夹[" + no_colon + "]不存在，请重新选择"}));
  EXPECT_TRUE(dialogs.questions.empty());
  EXPECT_EQ(ItemCount(), 0);
  EXPECT_EQ(Text(kLabelTotal), "-");
  EXPECT_EQ(Text(kLabelStatus), "未开始");
  EXPECT_TRUE(std::filesystem::exists(sb.Path("x.txt.2011.qjd")));
}

// Enough entries for a run that pumps the system's queue many times.
void MakeTree(Sandbox& sb, int folders, int files_each) {
  for (int f = 0; f < folders; ++f) {
    for (int i = 0; i < files_each; ++i) {
      std::string name = "d";
      name += std::to_string(f);
      name += "/f";
      name += std::to_string(i);
      name += ".txt.2011.qjd";
      sb.File(name, "x");
    }
  }
}

// A drop from Explorer, as the system hands it to the window.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const std::string& p : paths)
    list += Widen(p) + L'\0';
  list += L'\0';
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Enter as the program's message loop hands it on: through the dialog manager.
void PressEnter(HWND form, HWND focus) {
  SetFocus(focus);
  MSG msg{focus, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  IsDialogMessageW(form, &msg);
}

// Paths as people bring them: pasted from Explorer in quotes, with spaces and "/", dropped on the
// window, and started with Enter. The folder a run used is handed on to be remembered.
TEST_F(FormMainTest, PathsArePastedQuotedDroppedAndStartedWithEnter) {
  sb.File("a.txt.2011.qjd");
  sb.Folder("dropped");
  std::vector<std::string> used;
  form.set_on_folder_used([&](const std::string& folder) { used.push_back(folder); });
  std::string slashed = sb.RunPath();
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  SetPath(" \"" + slashed + "\"  ");
  Click(kCmdStart);
  EXPECT_TRUE(dialogs.warnings.empty());
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_EQ(Cell(0, kColNewPath), sb.RunPath() + "a.txt");
  EXPECT_EQ(used, std::vector<std::string>{sb.RunPath()});

  // A folder that is not there is named as typed, quotes and all.
  const std::string typed = "\"" + sb.RunPath() + "没有\"";
  SetPath(typed);
  Click(kCmdStart);
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"文件夹[" + typed + "]不存在，请重新选择"});
  EXPECT_EQ(used.size(), 1u);

  // The first folder among the dropped items; a file alone gives the folder it is in.
  SendMessageW(
      form.hwnd(), WM_DROPFILES,
      reinterpret_cast<WPARAM>(MakeDrop({sb.RunPath() + "a.txt", sb.RunPath() + "dropped"})), 0);
  EXPECT_EQ(Text(kTextPath), sb.RunPath() + "dropped");
  SendMessageW(form.hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({sb.RunPath() + "a.txt"})), 0);
  EXPECT_EQ(Text(kTextPath), sb.RunPath().substr(0, sb.RunPath().size() - 1));

  dialogs.questions.clear();
  PressEnter(form.hwnd(), Control(kTextPath));
  WaitForRun(form);
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"确定开始还原文件命名吗？"});
}

TEST(RememberedFolderTest, TheLastFolderIsKeptForTheNextStart) {
  const std::string before = RememberedFolder();
  RememberFolder("D:\\资料\\合同 2024");
  EXPECT_EQ(RememberedFolder(), "D:\\资料\\合同 2024");
  RememberFolder(before);
}

// 备注 starts beyond the list's right edge; scrolled to, the reason it cuts shows whole over the
// cell, and over any other cell of the failed row the reason shows too. Enter on a failed row
// opens both files: the one waiting and the one holding its name. A tip goes with its row.
TEST_F(FormMainTest, AFailuresReasonShowsOverItsRowAndEnterShowsBothFiles) {
  sb.File("合同.pdf", "existing");
  sb.File("合同.pdf.2013.qjd", "protected");
  SetPath(sb.RunPath());
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 1);
  const HWND list = Control(kList);
  const auto hover = [&](int column) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    RECT client{};
    GetClientRect(list, &client);
    const int x = (std::max(cell.left, client.left) + std::min(cell.right, client.right)) / 2;
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(x, (cell.top + cell.bottom) / 2));
  };
  const auto tip = [&] {
    wchar_t shown[256] = {};
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = form.hwnd();
    ti.uId = 1;
    ti.lpszText = shown;
    SendMessageW(form.cell_tip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return IsWindowVisible(form.cell_tip()) ? Narrow(shown) : std::string("<none>");
  };
  SendMessageW(list, LVM_SCROLL, 400, 0);
  hover(kColNote);
  EXPECT_EQ(tip(), Cell(0, kColNote));
  SendMessageW(list, LVM_SCROLL, -400, 0);
  hover(kColStatus);  // the reason shows over any cell of the row (after 失败, if cut)
  EXPECT_TRUE(tip().ends_with(Cell(0, kColNote))) << tip();

  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  PressEnter(form.hwnd(), list);
  EXPECT_EQ(shell.shown_together,
            (std::vector<std::vector<std::string>>{
                {sb.RunPath() + "合同.pdf.2013.qjd", sb.RunPath() + "合同.pdf"}}));
  EXPECT_TRUE(shell.shown.empty());

  // The keyboard reaches a failure's reason too; a run that replaces the rows takes the tip
  // away with them.
  sb.File("其他.pdf", "existing");
  sb.File("其他.pdf.2013.qjd", "protected");
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 2);
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(tip(), Cell(1, kColNote));
  std::filesystem::remove(sb.Path("合同.pdf"));
  std::filesystem::remove(sb.Path("其他.pdf"));
  Click(kCmdStart);
  EXPECT_EQ(Cell(1, kColStatus), "成功");
  EXPECT_EQ(tip(), "<none>");
}

// The list is told of every row each time the window shows the run's report: it never shows
// fewer rows than the counters have counted.
TEST_F(FormMainTest, TheListKeepsUpWithTheCounters) {
  MakeTree(sb, 20, 60);
  SetPath(sb.RunPath());
  static const FormMain* watched = nullptr;
  static int checks = 0, behind = 0;
  watched = &form;
  checks = behind = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 5, [](HWND, UINT, UINT_PTR, DWORD) {
    // "扫描:S 个，命名成功:N 个，失败:F 个": its three numbers.
    std::vector<int> numbers;
    bool in_number = false;
    for (const char c : WindowText(watched->control(kLabelTotal))) {
      const bool digit = c >= '0' && c <= '9';
      if (digit && !in_number)
        numbers.push_back(0);
      if (digit)
        numbers.back() = numbers.back() * 10 + (c - '0');
      in_number = digit;
    }
    if (numbers.size() != 3)
      return;
    const int succeeded = numbers[1], failed = numbers[2];
    ++checks;
    const auto shown =
        static_cast<int>(SendMessageW(watched->control(kList), LVM_GETITEMCOUNT, 0, 0));
    if (shown < succeeded + failed || shown != watched->report().ShownCount())
      ++behind;
  });
  // Slowed a little, so that the window takes the report many times.
  hooks.at = [](int n) {
    if (n % 20 == 0)
      Sleep(2);
  };
  Click(kCmdStart);
  hooks.at = nullptr;
  KillTimer(nullptr, timer);
  EXPECT_EQ(ItemCount(), 1200);
  EXPECT_GT(checks, 0);
  EXPECT_EQ(behind, 0);
}

TEST_F(FormMainTest, AnsweringNoChangesNothing) {
  sb.File("first.txt.2011.qjd");
  SetPath(sb.RunPath());
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 1);
  const auto rows = Rows();
  sb.File("second.txt.2011.qjd");

  dialogs.set_answer(false);
  Click(kCmdStart);

  EXPECT_EQ(dialogs.questions.size(), 2u);
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(Text(kLabelTotal), "扫描:1 个，命名成功:1 个，失败:0 个");
  EXPECT_EQ(Text(kLabelStatus), "执行完毕.");
  EXPECT_TRUE(std::filesystem::exists(sb.Path("second.txt.2011.qjd")));
}

TEST_F(FormMainTest, StopDuringARunEndsItAndKeepsTheRows) {
  MakeTree(sb, 10, 30);
  SetPath(sb.RunPath());
  // The click arrives like a user's: posted while the run goes on.
  hooks.at = [&](int n) {
    if (n == 40)  // some way into the first folder
      PostClick(kCmdStop);
  };
  Click(kCmdStart);

  EXPECT_EQ(Text(kLabelStatus), "执行中断.");
  const int rows = ItemCount();
  EXPECT_GT(rows, 0);
  EXPECT_LT(rows, 300);
  EXPECT_EQ(rows, form.restorer().totals().succeeded);
  EXPECT_EQ(Text(kLabelTotal), text::SummaryText(Operation::kRestore, form.restorer().totals()));
  EXPECT_EQ(Cell(rows - 1, 0), std::to_string(rows));
  EXPECT_EQ(Cell(rows - 1, 1), "成功");
}

// A keyboard user reaches Stop during a run as at any other time: Tab from the list, then Space.
// The run is held at one of its points meanwhile, so that it cannot end first.
TEST_F(FormMainTest, TheKeyboardReachesStopDuringARun) {
  MakeTree(sb, 10, 30);
  SetPath(sb.RunPath());
  std::atomic<bool> reached{false}, released{false};
  hooks.at = [&](int n) {
    if (n == 10) {
      reached = true;
      while (!released)
        Sleep(1);
    }
  };
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kFirstControlId + kCmdStart, BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(kCmdStart)));
  while (!reached) {
    PumpMessages();
    Sleep(1);
  }
  // As the program's own loop serves them: Tab and Space go to the dialog manager.
  const auto keys = [&] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(form.hwnd(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  };
  SetFocus(Control(kList));
  PostMessageW(Control(kList), WM_KEYDOWN, VK_TAB, 0);
  keys();
  const HWND focus_after_tab = GetFocus();
  PostMessageW(focus_after_tab, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(focus_after_tab, WM_KEYUP, VK_SPACE, 0xC0000001);
  keys();
  released = true;
  WaitForRun(form);

  EXPECT_EQ(focus_after_tab, Control(kCmdStop));
  EXPECT_EQ(Text(kLabelStatus), "执行中断.");
  EXPECT_LT(form.restorer().totals().scanned, 300);
}

TEST_F(FormMainTest, ASecondRunStartsFromZero) {
  MakeTree(sb, 2, 5);
  SetPath(sb.RunPath());
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 10);

  Sandbox other;
  other.File("only.txt.2011.qjd");
  SetPath(other.RunPath());
  Click(kCmdStart);

  EXPECT_EQ(Rows(),
            std::vector<std::string>{"1|成功|only.txt.2011.qjd|" + other.RunPath() + "only.txt|-"});
  EXPECT_EQ(Text(kLabelTotal), "扫描:1 个，命名成功:1 个，失败:0 个");
}

TEST_F(FormMainTest, AStartClickDuringARunIsIgnored) {
  MakeTree(sb, 3, 20);
  SetPath(sb.RunPath());
  hooks.at = [&](int n) {
    if (n == 2)
      PostClick(kCmdStart);
  };
  Click(kCmdStart);
  EXPECT_EQ(dialogs.questions.size(), 1u);
  EXPECT_EQ(ItemCount(), 60);
  EXPECT_EQ(Text(kLabelStatus), "执行完毕.");
}

TEST_F(FormMainTest, ClosingDuringARunStopsItFirstAndClosesAfterwards) {
  MakeTree(sb, 5, 30);
  SetPath(sb.RunPath());
  bool alive_at_every_call = true;
  hooks.at = [&](int n) {
    alive_at_every_call = alive_at_every_call && IsWindow(form.hwnd());
    if (n == 2)
      PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  };
  const HWND hwnd = form.hwnd();
  Click(kCmdStart);

  EXPECT_TRUE(alive_at_every_call);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(form.hwnd(), nullptr);
  EXPECT_TRUE(form.restorer().StopFlag);
  EXPECT_LT(form.restorer().totals().scanned, 150);
}

// The run has a thread of its own: a dialog left open on the window's thread does not hold it.
TEST_F(FormMainTest, AnOpenFolderPickerDoesNotHoldTheRun) {
  MakeTree(sb, 3, 20);
  SetPath(sb.RunPath());
  bool ended_while_open = false;
  shell.while_browsing = [&] {
    WaitForRun(form);
    ended_while_open = !form.busy();
  };
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kFirstControlId + kCmdStart, BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(kCmdStart)));
  Click(kCmdSelect);
  EXPECT_TRUE(ended_while_open);
  EXPECT_EQ(ItemCount(), 60);
  EXPECT_EQ(Text(kLabelStatus), "执行完毕.");
}

// A close that arrives while a box or the folder picker is open (their own message loops run
// inside the click) waits for the click to return; one during the confirmation also turns its
// Yes into a No, so no run starts on a closing window.
TEST_F(FormMainTest, ClosingInsideADialogWaitsForItAndStartsNoRun) {
  sb.File("x.txt.2011.qjd");
  SetPath(sb.RunPath());
  struct ClosingDialogs : WindowDialogs {
    HWND form = nullptr;
    bool alive_after_close = false;
    void Warn(std::string_view) override {}
    bool Ask(std::string_view) override {
      SendMessageW(form, WM_CLOSE, 0, 0);
      alive_after_close = IsWindow(form);
      return true;
    }
  } closing;
  FormMain other(*fs, closing, shell, journals);
  ASSERT_TRUE(other.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE));
  closing.form = other.hwnd();
  SetWindowTextW(other.control(kTextPath), Widen(sb.RunPath()).c_str());
  SendMessageW(other.hwnd(), WM_COMMAND, MAKEWPARAM(kFirstControlId + kCmdStart, BN_CLICKED), 0);
  WaitForRun(other);
  EXPECT_TRUE(closing.alive_after_close);
  EXPECT_EQ(other.hwnd(), nullptr);
  EXPECT_EQ(other.report().RowCount(), 0);
  EXPECT_TRUE(std::filesystem::exists(sb.Path("x.txt.2011.qjd")));

  bool alive_while_browsing = false;
  shell.browse_result = "C:\\";
  shell.while_browsing = [&] {
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    alive_while_browsing = IsWindow(form.hwnd());
  };
  Click(kCmdSelect);
  EXPECT_TRUE(alive_while_browsing);
  EXPECT_EQ(form.hwnd(), nullptr);
}

TEST_F(FormMainTest, ResizingSnapsBackAndMinimisingRaisesNothing) {
  const SIZE fixed = OuterSize();
  SetWindowPos(form.hwnd(), nullptr, 0, 0, fixed.cx + 200, fixed.cy + 150,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(OuterSize().cx, fixed.cx);
  EXPECT_EQ(OuterSize().cy, fixed.cy);
  MoveWindow(form.hwnd(), 10, 10, 100, 80, TRUE);
  Pump();
  EXPECT_EQ(OuterSize().cx, fixed.cx);
  EXPECT_EQ(OuterSize().cy, fixed.cy);

  ShowWindow(form.hwnd(), SW_MINIMIZE);
  Pump();
  ShowWindow(form.hwnd(), SW_RESTORE);
  Pump();
  EXPECT_EQ(OuterSize().cx, fixed.cx);
  EXPECT_EQ(OuterSize().cy, fixed.cy);
  EXPECT_TRUE(dialogs.warnings.empty());
  EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(FormMainTest, ANewDpiLaysEverythingOutAgainFromTwips) {
  const int before = form.dpi();
  RECT suggested{50, 60, 50 + 1000, 60 + 800};
  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.dpi(), 192);
  EXPECT_EQ(OuterSize().cx, 1126);
  EXPECT_EQ(OuterSize().cy, 910);
  const RECT start = ClientRectOf(kCmdStart);
  EXPECT_EQ(start.left, 736);
  EXPECT_EQ(start.right - start.left, 98);
  EXPECT_EQ(SendMessageW(Control(kList), LVM_GETCOLUMNWIDTH, 3, 0), 667);

  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(before, before),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(OuterSize().cx, TwipsToPixels(8445, before));
  EXPECT_EQ(ClientRectOf(kCmdStart).left, TwipsToPixels(5520, before));
}

// The window's font is made anew for each DPI; the old one must go, and so must the last one
// with the window.
TEST_F(FormMainTest, FontsAreReleasedOnEveryDpiChangeAndWithTheWindow) {
  auto font_of = [](HWND control) {
    return reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
  };
  const HGDIOBJ first = font_of(Control(kCmdStart));
  ASSERT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_FONT));
  RECT suggested{0, 0, 600, 500};
  SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(120, 120),
               reinterpret_cast<LPARAM>(&suggested));
  const HGDIOBJ second = font_of(Control(kCmdStart));
  EXPECT_NE(second, first);
  EXPECT_EQ(font_of(Control(kList)), second);
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
  EXPECT_NE(GetObjectType(first), static_cast<DWORD>(OBJ_FONT));  // deleted

  HGDIOBJ last = nullptr;
  {
    FormMain other(*fs, dialogs, shell, journals);
    ASSERT_TRUE(other.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE));
    last = font_of(other.control(kLabel1));
    EXPECT_EQ(GetObjectType(last), static_cast<DWORD>(OBJ_FONT));
  }
  EXPECT_NE(GetObjectType(last), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(FormMainTest, DoubleClickRevealsTheSelectedRowOnly) {
  DoubleClickList();  // empty list
  EXPECT_TRUE(shell.shown.empty());

  sb.File("a.txt.2011.qjd");
  sb.File("b c,d.txt.2011.qjd");
  SetPath(sb.RunPath());
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 2);
  DoubleClickList();  // nothing selected
  EXPECT_TRUE(shell.shown.empty());

  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(Control(kList), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  DoubleClickList();
  EXPECT_EQ(shell.shown, std::vector<std::string>{Cell(1, 3)});
}

TEST_F(FormMainTest, TheFolderPickerReplacesThePathOnlyWhenAFolderIsChosen) {
  SetPath("C:\\before");
  shell.browse_result = "";
  Click(kCmdSelect);
  EXPECT_EQ(Text(kTextPath), "C:\\before");
  shell.browse_result = "D";
  Click(kCmdSelect);
  EXPECT_EQ(Text(kTextPath), "C:\\before");
  shell.browse_result = "C:\\";
  Click(kCmdSelect);
  EXPECT_EQ(Text(kTextPath), "C:\\");
  EXPECT_EQ(shell.browse_starts,
            (std::vector<std::string>{"C:\\before", "C:\\before", "C:\\before"}));
  EXPECT_EQ(shell.browse_titles.at(0), "选择目录");
}

// The shell says the taskbar button exists; where the taskbar's interface is missing (Wine) the
// run goes as ever, and its end flashes the button of a window not in front without a word.
TEST_F(FormMainTest, ARunGoesAsEverWhateverTheTaskbarOffers) {
  sb.File("a.txt.2011.qjd");
  SetPath(sb.RunPath());
  SendMessageW(form.hwnd(), RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
  Click(kCmdStart);
  EXPECT_EQ(Text(kLabelStatus), "执行完毕.");
  EXPECT_TRUE(dialogs.warnings.empty());
}

// The name the accessibility interface gives `hwnd` (or its child `child`, 1-based).
std::string AccessibleName(HWND hwnd, LONG child = CHILDID_SELF) {
  ComPtr<IAccessible> accessible;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible), accessible.receive())))
    return "<no object>";
  VARIANT id{};
  id.vt = VT_I4;
  id.lVal = child;
  BSTR name = nullptr;
  if (accessible->get_accName(id, &name) != S_OK || !name)
    return "<no name>";
  const std::string text = Narrow(name);
  SysFreeString(name);
  return text;
}

// Each control is named by what a sighted user reads beside it, and the end of a run is
// announced: the summary and the status say, once, that they changed.
TEST_F(FormMainTest, ScreenReadersHearEveryControlAndTheEnd) {
  static std::vector<HWND> changed;
  changed.clear();
  const HWINEVENTHOOK hook = SetWinEventHook(
      0x8019, 0x8019, nullptr,  // EVENT_OBJECT_LIVEREGIONCHANGED
      [](HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD) { changed.push_back(hwnd); },
      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  sb.File("a.txt.2011.qjd");
  sb.File("b.txt");
  sb.File("b.txt.2011.qjd");
  SetPath(sb.RunPath());
  Click(kCmdStart);
  for (int i = 0; i < 20 && changed.size() < 2; ++i) {
    Sleep(10);
    Pump();
  }
  UnhookWinEvent(hook);
  EXPECT_EQ(changed, (std::vector<HWND>{Control(kLabelTotal), Control(kLabelStatus)}));
  for (const ControlIndex own :
       {kCmdStart, kCmdStop, kCmdSelect, kCmdAbout, kLabelTotal, kLabelStatus})
    EXPECT_EQ(AccessibleName(Control(own)), Text(own)) << own;

  // The boxes without a text of their own are named explicitly, where the system keeps names set
  // for a window.
  ComPtr<IAccPropServices> services;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, services.receive())) ||
      services->SetHwndPropStr(Control(kLabel1), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                               PROPID_ACC_DESCRIPTION, L"probe") != S_OK)
    GTEST_SKIP() << "this system's oleacc keeps no names set for a window (IAccPropServices): "
                    "those of the path box and the list cannot be read back";
  MSAAPROPID probe = PROPID_ACC_DESCRIPTION;
  services->ClearHwndProps(Control(kLabel1), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &probe,
                           1);
  EXPECT_EQ(AccessibleName(Control(kTextPath)), "路径");
  EXPECT_EQ(AccessibleName(Control(kList)), "还原报告");
  EXPECT_EQ(AccessibleName(Control(kList), 1), Cell(0, kColId));  // a row's name: its first cell
}

// 开始's drop-down ticks 还原文件名 in Explorer's menu as the registry has it, for this program.
TEST_F(FormMainTest, StartsDropDownTicksAndUnticksTheExplorerEntry) {
  if (ExplorerVerbAdded())
    GTEST_SKIP() << "this user has the entry already; it is left as it is";
  const UINT item = MenuCommand(text::Id::kMenuExplorerVerb);
  const auto ticked = [&] {
    const MenuHandle menu(form.CreateStartMenu());
    wchar_t label[128] = {};
    GetMenuStringW(menu.get(), item, label, 128, MF_BYCOMMAND);
    EXPECT_EQ(Narrow(label), "在资源管理器的右键菜单中显示“还原文件名”");
    return (GetMenuState(menu.get(), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  EXPECT_FALSE(ticked());
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
  EXPECT_TRUE(ticked());
  EXPECT_EQ(ExplorerVerbProgram(), ThisProgram());
  // Whatever the entry starts, even a program that is gone, unticking removes it.
  RepointExplorerVerb(L"C:\\已删除\\old.exe");
  EXPECT_TRUE(ticked());
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
  EXPECT_FALSE(ticked());
  EXPECT_FALSE(ExplorerVerbAdded());
  EXPECT_TRUE(dialogs.warnings.empty());
}

// 开始's drop-down names the files given back: in the case they were found in, and a file whose
// name is taken by other bytes kept apart under a numbered name. The window says so when the user
// changes it, to keep it for the next start.
TEST_F(FormMainTest, StartsDropDownKeepsTheCaseAndBothFiles) {
  sb.File("Q3 Report.DOCX.2011.qjd", "q3");
  sb.File("合同.pdf.2013.qjd", "new");
  sb.File("合同.PDF", "old");
  std::vector<NamingOptions> told;
  form.set_on_naming_changed([&](const NamingOptions& n) { told.push_back(n); });
  const auto ticked = [&](text::Id text) {
    const MenuHandle menu(form.CreateStartMenu());
    return (GetMenuState(menu.get(), MenuCommand(text), MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  EXPECT_FALSE(ticked(text::Id::kMenuKeepCase));
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(MenuCommand(text::Id::kMenuKeepCase), 0), 0);
  EXPECT_TRUE(ticked(text::Id::kMenuKeepCase));
  EXPECT_EQ(told, (std::vector<NamingOptions>{{.keep_case = true}}));

  SetPath(sb.RunPath());
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 2);
  EXPECT_EQ(Cell(0, kColOldName), "Q3 Report.DOCX.2011.qjd");
  EXPECT_EQ(Cell(0, kColNewPath), sb.RunPath() + "Q3 Report.DOCX");
  EXPECT_EQ(Cell(1, kColNote), "已有只是大小写不同的“合同.PDF”，Windows 视为同名，内容不同");

  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(MenuCommand(text::Id::kMenuKeepBoth), 0), 0);
  EXPECT_TRUE(ticked(text::Id::kMenuKeepBoth));
  Click(kCmdStart);
  ASSERT_EQ(ItemCount(), 1);
  EXPECT_EQ(Cell(0, kColStatus), "成功");
  EXPECT_EQ(Cell(0, kColNewPath), sb.RunPath() + "合同 (2).pdf");
  EXPECT_EQ(testing::ReadFile(sb.Path("合同 (2).pdf")), "new");
  EXPECT_EQ(testing::ReadFile(sb.Path("合同.PDF")), "old");
}

TEST_F(FormMainTest, AboutOpensTheVendorPageOwnedByTheWindow) {
  Click(kCmdAbout);
  EXPECT_EQ(shell.opened, std::vector<std::string>{"https://korvane.example/"});
  EXPECT_EQ(shell.open_owners, std::vector<HWND>{form.hwnd()});
}

}  // namespace
}  // namespace korvane::ui
