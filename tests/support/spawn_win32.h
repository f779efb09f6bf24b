// Process start-up pieces for Windows-only tests that hand a child handles of their own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace korvane::testing {

// `program` as a full path; a relative one is taken from the test binary's folder.
std::wstring ProgramPath(const std::string& program);

// A command line that the C runtime splits back into exactly `args` (quotes and backslashes
// escaped as CommandLineToArgvW expects).
std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& args);

// Starts `program` with the given standard handles, which must be inheritable, in `cwd` (the
// current folder when empty), and waits for it. The exit code, or -1 when it could not start.
int RunWithHandles(const std::wstring& program,
                   const std::vector<std::string>& args,
                   HANDLE in,
                   HANDLE out,
                   HANDLE err,
                   const std::wstring& cwd = {});

}  // namespace korvane::testing
