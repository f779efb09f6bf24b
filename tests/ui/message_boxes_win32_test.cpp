// The window's message boxes as the user sees them: the application title, the text, the icon
// and the buttons.
#include "ui/message_boxes_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/system_error.h"

namespace korvane::ui {
namespace {

// What a message box showed, read by a hook as it opens; the hook then presses `answer`.
struct SeenBox {
  bool seen = false;
  std::wstring title, text;
  HWND owner = nullptr;
  bool has_ok = false, has_yes = false, has_no = false, has_cancel = false;
  HICON icon = nullptr;
};

SeenBox g_seen;
int g_answer = 0;
HHOOK g_hook = nullptr;

// The icon shown by the box's icon control, whatever its control id.
HICON IconOf(HWND box) {
  HICON icon = nullptr;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM found) -> BOOL {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
          return TRUE;
        *reinterpret_cast<HICON*>(found) =
            reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&icon));
  return icon;
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

LRESULT CALLBACK OnBoxActivation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && !g_seen.seen) {
    const HWND box = reinterpret_cast<HWND>(wparam);
    g_seen.seen = true;
    g_seen.title = TextOf(box);
    g_seen.text = TextOf(GetDlgItem(box, 0xFFFF));  // the message's static control
    g_seen.owner = GetWindow(box, GW_OWNER);
    g_seen.has_ok = GetDlgItem(box, IDOK) != nullptr;
    g_seen.has_yes = GetDlgItem(box, IDYES) != nullptr;
    g_seen.has_no = GetDlgItem(box, IDNO) != nullptr;
    g_seen.has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
    g_seen.icon = IconOf(box);
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(g_answer), 0);
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!owner)
      GTEST_SKIP() << "no display: Wine without X cannot make a window ("
                   << SystemErrorFrom(GetLastError()).text << ")";
    g_seen = {};
    g_hook = SetWindowsHookExW(WH_CBT, OnBoxActivation, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
  }
  void TearDown() override {
    if (g_hook)
      UnhookWindowsHookEx(g_hook);
    if (owner)
      DestroyWindow(owner);
  }

  // False when the box could not be shown at all.
  bool Shown() const { return g_seen.seen; }

  HWND owner = nullptr;
};

TEST_F(MessageBoxTest, TheWarningHasTheTitleTheTextTheExclamationIconAndOneOk) {
  g_answer = IDOK;
  MessageBoxes boxes;
  boxes.set_owner(owner);
  boxes.MissingFolder("C:\\无此文件夹");
  if (!Shown())
    GTEST_SKIP() << "no display: Wine without X cannot show a message box";
  EXPECT_EQ(g_seen.title, L"文件重命名工具");
  EXPECT_EQ(g_seen.text, L"文件夹[C:\\无此文件夹]不存在，请重新选择");
  EXPECT_EQ(g_seen.owner, owner);
  EXPECT_TRUE(g_seen.has_ok);
  EXPECT_FALSE(g_seen.has_yes || g_seen.has_no);
  EXPECT_EQ(g_seen.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
}

TEST_F(MessageBoxTest, TheConfirmationAsksYesOrNoAndOnlyYesConfirms) {
  MessageBoxes dialogs;
  dialogs.set_owner(owner);
  g_answer = IDYES;
  const bool yes = dialogs.Confirm({Operation::kRestore});
  if (!Shown())
    GTEST_SKIP() << "no display: Wine without X cannot show a message box";
  EXPECT_TRUE(yes);
  EXPECT_EQ(g_seen.title, L"文件重命名工具");
  EXPECT_EQ(g_seen.text, L"确定开始还原文件命名吗？");
  EXPECT_EQ(g_seen.owner, owner);
  EXPECT_TRUE(g_seen.has_yes && g_seen.has_no);
  EXPECT_FALSE(g_seen.has_ok || g_seen.has_cancel);
  EXPECT_EQ(g_seen.icon, LoadIconW(nullptr, IDI_QUESTION));

  g_seen = {};
  g_answer = IDNO;
  EXPECT_FALSE(dialogs.Confirm({Operation::kUndo, {"D:\\资料3"}, 3}));
  EXPECT_EQ(g_seen.text, L"确定把 D:\\资料3 中的 3 个文件改回原来的名字吗？");
  EXPECT_TRUE(g_seen.seen);
}

}  // namespace
}  // namespace korvane::ui
