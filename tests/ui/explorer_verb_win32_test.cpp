// 还原文件名 in Explorer's right-click menu, written to and read back from this user's registry
// (the test prefix's, under Wine).
#include "ui/explorer_verb_win32.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "text/language.h"

namespace korvane::ui {
namespace {

constexpr const wchar_t* kClasses = L"Software\\Classes";

// Every key below HKCU\Software\Classes\Directory and \Drive, with its values' names and data.
std::map<std::wstring, std::wstring> ClassesNow(const std::wstring& path = L"") {
  std::map<std::wstring, std::wstring> out;
  if (path.empty()) {
    for (const wchar_t* top : {L"Directory", L"Drive"})
      out.merge(ClassesNow(top));
    return out;
  }
  RegistryKey key;
  const std::wstring full = std::wstring(kClasses) + L"\\" + path;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, full.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
    return out;
  wchar_t name[256];
  BYTE data[2048];
  for (DWORD i = 0, n = 256, size = sizeof data;
       RegEnumValueW(key.get(), i, name, &n, nullptr, nullptr, data, &size) == ERROR_SUCCESS;
       ++i, n = 256, size = sizeof data)
    out[path] += std::wstring(name) + L"=" +
                 std::wstring(reinterpret_cast<wchar_t*>(data), size / sizeof(wchar_t)) + L"\n";
  out[path] += L"";
  for (DWORD i = 0, n = 256;
       RegEnumKeyExW(key.get(), i, name, &n, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, n = 256)
    out.merge(ClassesNow(path + L"\\" + name));
  return out;
}

std::wstring Value(const std::wstring& key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  const std::wstring path = std::wstring(kClasses) + L"\\" + key;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return L"<none>";
  return data;
}

class ExplorerVerbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ExplorerVerbAdded())
      GTEST_SKIP() << "this user has the entry already; it is left as it is";
  }
};

TEST_F(ExplorerVerbTest, TheEntriesAreWrittenReadBackAndRemovedExactly) {
  // Another program's entry beside ours stays, and so does the key it lives in.
  RegistryKey other;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\Drive\\shell\\OtherTool", 0,
                            nullptr, 0, KEY_WRITE, nullptr, other.receive(), nullptr),
            ERROR_SUCCESS);
  other.Reset();
  const auto before = ClassesNow();

  const std::wstring program = L"C:\\工具\\Korvane·文件名还原工具.exe";
  SystemError why;
  ASSERT_TRUE(AddExplorerVerb(program, why)) << why.text;
  EXPECT_TRUE(ExplorerVerbAdded());
  EXPECT_EQ(ExplorerVerbProgram(), program);
  const std::pair<const wchar_t*, const wchar_t*> places[] = {
      {L"Directory\\shell\\", L"%1"},
      {L"Directory\\Background\\shell\\", L"%V"},
      {L"Drive\\shell\\", L"%1"},
  };
  const auto expect_starting = [&](const std::wstring& starts,
                                   const std::wstring& words = L"还原文件名") {
    for (const auto& [shell, argument] : places) {
      const std::wstring verb = std::wstring(shell) + kExplorerVerbKey;
      EXPECT_EQ(Value(verb, L"MUIVerb"), words);
      EXPECT_EQ(Value(verb, L"Icon"), L"\"" + starts + L"\",0");
      EXPECT_EQ(Value(verb, L"MultiSelectModel"), L"Single");
      EXPECT_EQ(Value(verb + L"\\command", nullptr),
                L"\"" + starts + L"\" \"" + std::wstring(argument) + L"\"");
    }
  };
  expect_starting(program);
  const auto added = ClassesNow();
  RepointExplorerVerb(program);
  EXPECT_EQ(ClassesNow(), added);  // where it already points, nothing is written

  // The program moved: the next start points every entry at its new place.
  const std::wstring moved = L"D:\\新位置\\Korvane·文件名还原工具.exe";
  RepointExplorerVerb(moved);
  EXPECT_EQ(ExplorerVerbProgram(), moved);
  expect_starting(moved);
  // Another language chosen since: the next start words the entry in it.
  {
    const text::LanguageOverride english(text::Language::kEnglish);
    RepointExplorerVerb(moved);
  }
  expect_starting(moved, L"Restore file names");
  RepointExplorerVerb(moved);
  expect_starting(moved);

  // Removed, though the program it starts is not there: the classes are as they were.
  ASSERT_TRUE(RemoveExplorerVerb(why)) << why.text;
  EXPECT_FALSE(ExplorerVerbAdded());
  EXPECT_EQ(ClassesNow(), before);
  RepointExplorerVerb(moved);  // nothing to follow: nothing is added
  EXPECT_FALSE(ExplorerVerbAdded());
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Classes\\Drive\\shell\\OtherTool");
}

}  // namespace
}  // namespace korvane::ui
