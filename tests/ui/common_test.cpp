// The folder picker's callback, the file browser's command line and the program's version block,
// checked against the system's own functions.
#include "ui/common.h"

#include <shellapi.h>
#include <shlobj.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/text_win32.h"
#include "tests/support/sandbox.h"
#include "ui/list_text.h"

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

struct PidlFree {
  void operator()(ITEMIDLIST* p) const { CoTaskMemFree(p); }
};

std::unique_ptr<ITEMIDLIST, PidlFree> PidlOf(const std::filesystem::path& p) {
  ITEMIDLIST* raw = nullptr;
  if (FAILED(SHParseDisplayName(p.wstring().c_str(), nullptr, &raw, 0, nullptr)))
    return nullptr;
  return std::unique_ptr<ITEMIDLIST, PidlFree>(raw);
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

  const auto short_pidl = PidlOf(sb.root());
  const auto long_pidl = PidlOf(deep);
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

// Whatever explorer.exe does with its command line, the system must hand the path over as one
// argument: split as the system splits it, a comma or space must not end it.
TEST(ExplorerCommandTest, SpacesAndCommasStayInsideThePathArgument) {
  for (const std::string path : {"C:\\plain\\a.txt", "C:\\with space\\a b.txt",
                                 "C:\\with,comma\\a,b.txt", "C:\\混合, 路径\\报告 1,2.docx"}) {
    const std::wstring line = Widen(ExplorerCommandLine(path));
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &argc);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(argc, 2) << path;
    EXPECT_EQ(Narrow(argv[0]), "explorer.exe");
    EXPECT_EQ(Narrow(argv[1]), "/select," + path);
    LocalFree(argv);
  }
}

std::wstring VersionString(const std::vector<char>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT size = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  if (!VerQueryValueW(block.data(), key.c_str(), &value, &size) || !value)
    return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

// The window program, found beside this test in the build tree.
std::wstring GuiProgram() {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self, n);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  std::wstring exe = dir + Widen(KORVANE_GUI_EXE_RELATIVE);
  for (wchar_t& c : exe)
    if (c == L'/')
      c = L'\\';
  return exe;
}

TEST(VersionBlockTest, TheProgramCarriesItsChineseVersionTexts) {
  const std::wstring exe = GuiProgram();
  ASSERT_TRUE(exe.ends_with(L"Korvane·文件名还原工具.exe"));
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
  ASSERT_GT(size, 0u) << "no version block in " << Narrow(exe);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

  void* value = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &len));
  ASSERT_GE(len, 4u);
  const auto* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.00");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.00");
  EXPECT_EQ(VersionString(block, L"FileDescription"), L"Korvane文件名还原工具");
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Korvane文件名还原工具V1.0");
  EXPECT_EQ(VersionString(block, L"InternalName"), L"Korvane·文件名还原工具");
  EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Korvane·文件名还原工具.exe");
  EXPECT_EQ(VersionString(block, L"CompanyName"), L"Korvane文件名还原工具");

  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &len));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
}

}  // namespace
}  // namespace korvane::ui
