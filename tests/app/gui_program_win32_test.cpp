// The programs as they ship: their version blocks and manifests read back through the system's
// own functions, and how the window starts with a folder named on its command line.
#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "tests/support/sandbox.h"
#include "tests/support/spawn_win32.h"
#include "ui/explorer_verb_win32.h"
#include "ui/layout.h"
#include "version.h"

namespace korvane {
namespace {

std::wstring VersionString(const std::vector<char>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT size = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  if (!VerQueryValueW(block.data(), key.c_str(), &value, &size) || !value)
    return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

// A program of the build, found from this test's folder.
std::wstring BuiltProgram(const char* relative) {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self, n);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  std::wstring exe = dir + Widen(relative);
  for (wchar_t& c : exe)
    if (c == L'/')
      c = L'\\';
  return exe;
}

std::wstring GuiProgram() {
  return BuiltProgram(KORVANE_GUI_EXE_RELATIVE);
}

// The manifest the program carries, as the loader reads it (resource 1 of type RT_MANIFEST).
std::string Manifest(const std::wstring& exe) {
  const HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module)
    return "<cannot load>";
  std::string manifest = "<missing>";
  if (const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    const HGLOBAL data = LoadResource(module, found);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (bytes)
      manifest.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return manifest;
}

// Both programs, as Explorer's Properties show them: one version, one language, their own names.
TEST(VersionBlockTest, EachProgramCarriesItsChineseVersionTextsAndManifest) {
  struct Program {
    std::wstring exe;
    const wchar_t* description;
    const wchar_t* internal_name;
    const wchar_t* file_name;
  };
  const Program programs[] = {
      {GuiProgram(), L"Korvane文件名还原工具", L"Korvane·文件名还原工具",
       L"Korvane·文件名还原工具.exe"},
      {BuiltProgram(KORVANE_CLI_EXE_RELATIVE), L"Korvane文件名还原工具（命令行）",
       L"korvane-restore", L"korvane-restore.exe"},
  };
  for (const Program& program : programs) {
    const std::wstring& exe = program.exe;
    SCOPED_TRACE(Narrow(exe));
    ASSERT_TRUE(exe.ends_with(program.file_name));
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version block";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

    void* value = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &len));
    ASSERT_GE(len, 4u);
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);

    // From the project's one version number.
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.01");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.01");
    EXPECT_EQ(VersionString(block, L"FileDescription"), program.description);
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Korvane文件名还原工具V1.1");
    EXPECT_EQ(VersionString(block, L"InternalName"), program.internal_name);
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), program.file_name);
    // The vendor's own fields name the project, not the product again.
    EXPECT_EQ(VersionString(block, L"CompanyName"), L"Korvane 文件名还原工具项目");
    EXPECT_EQ(VersionString(block, L"LegalCopyright"),
              L"Copyright © 2026 Korvane 文件名还原工具项目");

    EXPECT_EQ(VersionString(block, L"ProductName"),
              L"Korvane文件名还原工具V" KORVANE_VERSION_SHORT);

    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &len));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);

    // Never raised to administrator, Windows 7 to 11 known, paths beyond MAX_PATH allowed.
    const std::string manifest = Manifest(exe);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
    EXPECT_NE(manifest.find("<longPathAware"), std::string::npos);
  }
}

// Starts the window program with `command` as its command line and reads its path box once the
// program has filled it, then closes it; nothing when there is no display for the window.
std::optional<std::string> PathBoxOfStarted(std::wstring command) {
  const std::wstring exe = GuiProgram();
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    ADD_FAILURE() << "cannot start " << Narrow(command);
    return "";
  }
  const ScopedHandle process(pi.hProcess);
  const ScopedHandle thread(pi.hThread);
  HWND form = nullptr;
  for (int i = 0; i < 200 && !form; ++i) {
    if (WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0)
      return std::nullopt;
    form = FindWindowW(L"KorvaneFormMain", nullptr);
  }
  if (!form) {
    ADD_FAILURE() << "no window";
    return "";
  }
  wchar_t text[1024] = {};
  // The window may be found while it is still being made; the program puts the folder in right
  // after: allow it a moment.
  for (int i = 0; i < 250 && text[0] == 0; ++i) {
    const HWND path_box = GetDlgItem(form, ui::kFirstControlId + ui::kTextPath);
    if (path_box)
      SendMessageW(path_box, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    if (text[0] == 0)
      Sleep(20);
  }
  Sleep(200);
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
  return Narrow(text);
}

// A folder dropped on the program's icon, or sent to it from Explorer, arrives as its only
// argument: it fills the path box, and nothing is renamed before the user presses 开始.
TEST(GuiProgramTest, AFolderOnTheCommandLineFillsThePathBoxAndWaits) {
  testing::Sandbox tree;
  tree.File("报告.docx.2011.qjd", "r");
  const std::optional<std::string> shown =
      PathBoxOfStarted(testing::CommandLine(GuiProgram(), {testing::Utf8(tree.root())}));
  if (!shown)
    GTEST_SKIP() << "the window cannot be created: no display (run under Xvfb)";
  EXPECT_EQ(*shown, testing::Utf8(tree.root()));
  EXPECT_TRUE(std::filesystem::exists(tree.Path("报告.docx.2011.qjd")));
}

// 还原文件名 in Explorer's menu runs the command it was given, with the folder or the drive put in
// as the shell puts it: the path box holds that folder, and nothing is renamed.
TEST(GuiProgramTest, TheExplorerEntryStartsTheWindowOnItsFolderAndWaits) {
  if (ui::ExplorerVerbAdded())
    GTEST_SKIP() << "this user has the entry already; it is left as it is";
  testing::Sandbox tree;
  tree.File("报告.docx.2011.qjd", "r");
  SystemError why;
  ASSERT_TRUE(ui::AddExplorerVerb(GuiProgram(), why)) << why.text;
  const std::wstring folder = Widen(testing::Utf8(tree.root()));
  const std::wstring drive = folder.substr(0, 3);  // "Z:\" under Wine
  const struct {
    const wchar_t* place;
    const wchar_t* argument;
    std::wstring target;
  } cases[] = {
      {L"Directory", L"%1", folder},
      {L"Directory\\Background", L"%V", folder},
      {L"Drive", L"%1", drive},  // quoted, the root arrives as `C:"`
  };
  for (const auto& c : cases) {
    const std::wstring key = std::wstring(L"Software\\Classes\\") + c.place + L"\\shell\\" +
                             ui::kExplorerVerbKey + L"\\command";
    wchar_t command[1024] = {};
    DWORD size = sizeof command;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, command,
                           &size),
              ERROR_SUCCESS);
    std::wstring line = command;
    line.replace(line.find(c.argument), 2, c.target);
    const std::optional<std::string> shown = PathBoxOfStarted(line);
    if (!shown) {
      (void)ui::RemoveExplorerVerb(why);
      GTEST_SKIP() << "the window cannot be created: no display (run under Xvfb)";
    }
    EXPECT_EQ(*shown, Narrow(c.target)) << Narrow(line);
  }
  EXPECT_TRUE(std::filesystem::exists(tree.Path("报告.docx.2011.qjd")));
  EXPECT_TRUE(ui::RemoveExplorerVerb(why)) << why.text;
}

}  // namespace
}  // namespace korvane
