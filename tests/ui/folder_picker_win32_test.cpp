// The folder picker's callback, checked against the shell's own item lists.
#include "ui/folder_picker_win32.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "tests/support/sandbox.h"

namespace korvane::ui {
namespace {

// Stands in for the browse dialog: records what the callback sends it.
class RecordingWindow {
 public:
  RecordingWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvaneRecordingWindow";
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~RecordingWindow() {
    if (hwnd_)
      DestroyWindow(hwnd_);
  }
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

  struct Sent {
    UINT message;
    WPARAM wparam;
    std::wstring text;
  };
  std::vector<Sent> sent;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && (message == BFFM_SETSELECTIONW || message == BFFM_SETSTATUSTEXTW))
      self->sent.push_back({message, wparam, reinterpret_cast<const wchar_t*>(lparam)});
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  HWND hwnd_ = nullptr;
};

ITEMIDLIST* PidlOf(const std::filesystem::path& p) {
  ITEMIDLIST* raw = nullptr;
  if (FAILED(SHParseDisplayName(p.wstring().c_str(), nullptr, &raw, 0, nullptr)))
    return nullptr;
  return raw;
}

TEST(BrowseCallbackTest, PreselectsTheStartFolderAndKeepsTheStatusLineInsideItsField) {
  RecordingWindow dialog;
  ASSERT_NE(dialog.hwnd(), nullptr);
  testing::Sandbox sb;
  const auto deep = sb.Folder("第一层 folder with a long name/second level, also long/第三层");
  ASSERT_GT(deep.wstring().size(), 64u);

  InitialFolder = testing::Utf8(sb.root());
  BrowseCallbackProc(dialog.hwnd(), BFFM_INITIALIZED, 0, 0);
  ASSERT_EQ(dialog.sent.size(), 1u);
  EXPECT_EQ(dialog.sent[0].message, static_cast<UINT>(BFFM_SETSELECTIONW));
  EXPECT_EQ(dialog.sent[0].wparam, static_cast<WPARAM>(TRUE));
  EXPECT_EQ(dialog.sent[0].text, sb.root().wstring());

  const ItemList short_pidl(PidlOf(sb.root()));
  const ItemList long_pidl(PidlOf(deep));
  ASSERT_TRUE(short_pidl && long_pidl);
  BrowseCallbackProc(dialog.hwnd(), BFFM_SELCHANGED, reinterpret_cast<LPARAM>(short_pidl.get()), 0);
  BrowseCallbackProc(dialog.hwnd(), BFFM_SELCHANGED, reinterpret_cast<LPARAM>(long_pidl.get()), 0);
  ASSERT_EQ(dialog.sent.size(), 3u);
  EXPECT_EQ(dialog.sent[1].message, static_cast<UINT>(BFFM_SETSTATUSTEXTW));
  EXPECT_EQ(dialog.sent[1].text, sb.root().wstring());
  EXPECT_LT(dialog.sent[2].text.size(), kStatusFieldSize);
  EXPECT_TRUE(dialog.sent[2].text.ends_with(L"\\第三层")) << Narrow(dialog.sent[2].text);

  // Other messages send nothing.
  BrowseCallbackProc(dialog.hwnd(), BFFM_VALIDATEFAILEDW, 0, 0);
  EXPECT_EQ(dialog.sent.size(), 3u);
}

}  // namespace
}  // namespace korvane::ui
