#include "ui/explorer_verb_win32.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "text/strings.h"

namespace korvane::ui {
namespace {

constexpr const wchar_t* kClasses = L"Software\\Classes";
// The keys below kClasses that adding had to make, deepest last.
constexpr const wchar_t* kMadeKeys = L"KorvaneMadeKeys";

struct Place {
  const wchar_t* shell;     // below kClasses
  const wchar_t* argument;  // what the shell puts for the folder
};
// %V inside a folder's empty area: the folder shown.
constexpr Place kPlaces[] = {
    {L"Directory\\shell", L"%1"},
    {L"Directory\\Background\\shell", L"%V"},
    {L"Drive\\shell", L"%1"},
};

std::wstring VerbPath(const Place& place) {
  return std::wstring(place.shell) + L"\\" + kExplorerVerbKey;
}

std::wstring Quoted(std::wstring_view text) {
  return L"\"" + std::wstring(text) + L"\"";
}

LONG OpenClasses(RegistryKey& classes) {
  return RegCreateKeyExW(HKEY_CURRENT_USER, kClasses, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                         classes.receive(), nullptr);
}

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// A value's text, or nothing; a REG_MULTI_SZ keeps its NULs between the strings.
std::wstring ReadString(HKEY key, const wchar_t* subkey, const wchar_t* name) {
  DWORD bytes = 0;
  if (RegGetValueW(key, subkey, name, RRF_RT_REG_SZ | RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS)
    return {};
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(key, subkey, name, RRF_RT_REG_SZ | RRF_RT_REG_MULTI_SZ, nullptr, text.data(),
                   &bytes) != ERROR_SUCCESS)
    return {};
  text.resize(bytes / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0')
    text.pop_back();
  return text;
}

std::vector<std::wstring> Split(const std::wstring& multi) {
  std::vector<std::wstring> parts;
  for (std::size_t start = 0; start < multi.size();) {
    const std::size_t end = std::min(multi.find(L'\0', start), multi.size());
    if (end > start)
      parts.push_back(multi.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Opens or makes each key of `path` below `classes` in turn; those it had to make are added to
// `made`, as paths below kClasses.
LONG CreatePath(HKEY classes,
                const std::wstring& path,
                std::vector<std::wstring>& made,
                RegistryKey& key) {
  HKEY at = classes;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    RegistryKey next;
    DWORD disposition = 0;
    const LONG result =
        RegCreateKeyExW(at, path.substr(start, end - start).c_str(), 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, next.receive(), &disposition);
    if (result != ERROR_SUCCESS)
      return result;
    if (disposition == REG_CREATED_NEW_KEY)
      made.push_back(path.substr(0, end));
    key = std::move(next);
    at = key.get();
    start = end + 1;
  }
  return ERROR_SUCCESS;
}

LONG AddAt(HKEY classes, const Place& place, std::wstring_view program) {
  const std::wstring verb_path = VerbPath(place);
  std::vector<std::wstring> made = Split(ReadString(classes, verb_path.c_str(), kMadeKeys));
  RegistryKey verb;
  if (const LONG r = CreatePath(classes, verb_path, made, verb))
    return r;
  // The verb's own key goes with its tree; only the keys above it are noted.
  made.erase(std::remove(made.begin(), made.end(), verb_path), made.end());
  std::wstring multi;
  for (const std::wstring& key : made)
    multi += key + L'\0';
  multi += L'\0';
  RegistryKey command;
  if (const LONG r = RegCreateKeyExW(verb.get(), L"command", 0, nullptr, 0, KEY_WRITE, nullptr,
                                     command.receive(), nullptr))
    return r;
  const LONG results[] = {
      SetString(verb.get(), L"MUIVerb", Widen(text::Tr(text::Id::kExplorerVerb))),
      SetString(verb.get(), L"Icon", Quoted(program) + L",0"),
      SetString(verb.get(), L"MultiSelectModel", L"Single"),
      RegSetValueExW(verb.get(), kMadeKeys, 0, REG_MULTI_SZ,
                     reinterpret_cast<const BYTE*>(multi.data()),
                     static_cast<DWORD>(multi.size() * sizeof(wchar_t))),
      SetString(command.get(), nullptr, Quoted(program) + L" " + Quoted(place.argument)),
  };
  for (const LONG r : results) {
    if (r != ERROR_SUCCESS)
      return r;
  }
  return ERROR_SUCCESS;
}

bool IsEmptyKey(HKEY classes, const std::wstring& path) {
  RegistryKey key;
  if (RegOpenKeyExW(classes, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
    return false;
  DWORD subkeys = 0, values = 0;
  return RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                          nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

LONG RemoveAt(HKEY classes, const Place& place) {
  const std::wstring verb_path = VerbPath(place);
  std::vector<std::wstring> made = Split(ReadString(classes, verb_path.c_str(), kMadeKeys));
  LONG result = RegDeleteTreeW(classes, verb_path.c_str());
  if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
    result = RegDeleteKeyW(classes, verb_path.c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
    return result;
  // The keys made for it, deepest first, where nothing else has come to live in them since.
  std::sort(made.begin(), made.end(),
            [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  for (const std::wstring& key : made) {
    if (IsEmptyKey(classes, key))
      RegDeleteKeyW(classes, key.c_str());
  }
  return ERROR_SUCCESS;
}

// The program a command line starts: its first argument, quoted or not.
std::wstring ProgramOf(const std::wstring& command) {
  if (command.starts_with(L'"'))
    return command.substr(1, command.find(L'"', 1) - 1);
  return command.substr(0, command.find(L' '));
}

bool SameProgram(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

void TellTheShell() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace

bool ExplorerVerbAdded() {
  RegistryKey classes;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kClasses, 0, KEY_READ, classes.receive()) != ERROR_SUCCESS)
    return false;
  return std::any_of(std::begin(kPlaces), std::end(kPlaces), [&](const Place& place) {
    RegistryKey verb;
    return RegOpenKeyExW(classes.get(), VerbPath(place).c_str(), 0, KEY_READ, verb.receive()) ==
           ERROR_SUCCESS;
  });
}

std::wstring ExplorerVerbProgram() {
  const std::wstring command = std::wstring(kClasses) + L"\\" + VerbPath(kPlaces[0]) + L"\\command";
  return ProgramOf(ReadString(HKEY_CURRENT_USER, command.c_str(), nullptr));
}

bool AddExplorerVerb(std::wstring_view program, SystemError& why) {
  RegistryKey classes;
  LONG result = OpenClasses(classes);
  for (const Place& place : kPlaces) {
    if (result == ERROR_SUCCESS)
      result = AddAt(classes.get(), place, program);
  }
  if (result != ERROR_SUCCESS) {
    why = SystemErrorFrom(result);
    SystemError ignored;
    (void)RemoveExplorerVerb(ignored);
    return false;
  }
  TellTheShell();
  return true;
}

bool RemoveExplorerVerb(SystemError& why) {
  RegistryKey classes;
  LONG result = OpenClasses(classes);
  if (result == ERROR_SUCCESS) {
    // The last added first: they may share the keys made for them ("Directory").
    for (auto place = std::rbegin(kPlaces); place != std::rend(kPlaces); ++place) {
      if (const LONG r = RemoveAt(classes.get(), *place); r != ERROR_SUCCESS)
        result = r;
    }
  }
  TellTheShell();
  if (result != ERROR_SUCCESS)
    why = SystemErrorFrom(result);
  return result == ERROR_SUCCESS;
}

void RepointExplorerVerb(std::wstring_view program) {
  RegistryKey classes;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kClasses, 0, KEY_READ | KEY_WRITE, classes.receive()) !=
      ERROR_SUCCESS)
    return;
  bool changed = false;
  for (const Place& place : kPlaces) {
    RegistryKey verb;
    if (RegOpenKeyExW(classes.get(), VerbPath(place).c_str(), 0, KEY_READ | KEY_WRITE,
                      verb.receive()) != ERROR_SUCCESS)
      continue;
    // Moved, or the language chosen since: the entry follows the program and speaks its words.
    if (SameProgram(ProgramOf(ReadString(verb.get(), L"command", nullptr)), program) &&
        ReadString(verb.get(), nullptr, L"MUIVerb") == Widen(text::Tr(text::Id::kExplorerVerb)))
      continue;
    changed = AddAt(classes.get(), place, program) == ERROR_SUCCESS || changed;
  }
  if (changed)
    TellTheShell();
}

std::wstring ThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0)
      return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool ToggleExplorerVerb(SystemError& why) {
  return ExplorerVerbAdded() ? RemoveExplorerVerb(why) : AddExplorerVerb(ThisProgram(), why);
}

}  // namespace korvane::ui
