// "还原文件名" in Explorer's right-click menu, for the current user and without an installer: on
// folders, on the empty area inside a folder and on drives, under HKCU\Software\Classes. Each
// entry starts this program with the folder as its one argument; the window puts it into the path
// box and waits for 开始. Keys it had to make on the way are noted in the entry, so that removing
// it leaves the user's classes exactly as they were. The shell is told of every change.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "engine/outcome.h"

namespace korvane::ui {

// The verb's key under each place's "shell" key.
inline constexpr const wchar_t* kExplorerVerbKey = L"KorvaneRestoreNames";

// Whether any of the entries is there now, as the registry says.
[[nodiscard]] bool ExplorerVerbAdded();

// The program the entry on folders starts; empty when there is none.
[[nodiscard]] std::wstring ExplorerVerbProgram();

// Adds the entries, each starting `program`. False, with the reason, when one cannot be written;
// then none is left.
[[nodiscard]] bool AddExplorerVerb(std::wstring_view program, SystemError& why);

// Removes every key the entries made, whichever program they start (it may be gone), and nothing
// else. False, with the reason, when one cannot be removed.
[[nodiscard]] bool RemoveExplorerVerb(SystemError& why);

// Entries that start another program (this one was moved since they were added) start `program`
// from now on; where there are none, nothing is added.
void RepointExplorerVerb(std::wstring_view program);

// The path of this program's own .exe.
[[nodiscard]] std::wstring ThisProgram();

// The entry's check item: removes the entry if the registry holds it, whichever program it
// starts now; adds it for this program otherwise.
[[nodiscard]] bool ToggleExplorerVerb(SystemError& why);

}  // namespace korvane::ui
