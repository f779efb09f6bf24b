#include "tests/support/spawn_win32.h"

#include <cstdio>

#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "tests/support/spawn.h"

namespace korvane::testing {
namespace {

using Handle = ScopedHandle;

HANDLE OpenInheritable(const std::filesystem::path& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void AppendQuoted(std::wstring& line, const std::wstring& arg) {
  line += L'"';
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double before a quote, which itself is escaped.
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

}  // namespace

std::wstring ProgramPath(const std::string& program) {
  const std::wstring wide = Widen(program);
  if (wide.size() > 2 && (wide[1] == L':' || wide.starts_with(LR"(\\)")))
    return wide;
  std::wstring self(32768, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.substr(0, self.find_last_of(L"\\/") + 1) + wide;
}

std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& args) {
  std::wstring line;
  AppendQuoted(line, program);
  for (const std::string& a : args) {
    line += L' ';
    AppendQuoted(line, Widen(a));
  }
  return line;
}

// -1, with the reason on the test's own error stream: the program's streams hold nothing then.
int NotRun(const char* what, const std::wstring& program) {
  const SystemError why = SystemErrorFrom(static_cast<long>(GetLastError()));
  std::fprintf(stderr, "%s %s: %s\n", what, Narrow(program).c_str(), why.text.c_str());
  return -1;
}

int RunWithHandles(const std::wstring& program,
                   const std::vector<std::string>& args,
                   HANDLE in,
                   HANDLE out,
                   HANDLE err,
                   const std::wstring& cwd) {
  std::wstring line = CommandLine(program, SpawnArguments(Narrow(program), args));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &si, &pi))
    return NotRun("could not start", program);
  const Handle process(pi.hProcess), thread(pi.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(pi.hProcess, &code))
    return NotRun("lost the end of", program);
  return static_cast<int>(code);
}

ProgramResult RunProgram(const std::string& program,
                         const std::vector<std::string>& args,
                         const std::string& input,
                         const std::string& cwd,
                         Sandbox& io) {
  io.File("stdin.txt", input);
  ProgramResult r;
  {
    const Handle in(OpenInheritable(io.Path("stdin.txt"), false));
    const Handle out(OpenInheritable(io.Path("out.txt"), true));
    const Handle err(OpenInheritable(io.Path("err.txt"), true));
    r.exit_code =
        RunWithHandles(ProgramPath(program), args, in.get(), out.get(), err.get(), Widen(cwd));
  }
  r.out = ReadFile(io.Path("out.txt"));
  r.err = ReadFile(io.Path("err.txt"));
  return r;
}

struct RunningProgram::Process {
  ScopedHandle handle;
  bool ended = false;
  DWORD code = static_cast<DWORD>(-1);
};

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args)
    : process_(std::make_unique<Process>()) {
  const std::wstring path = ProgramPath(program);
  std::wstring line = CommandLine(path, SpawnArguments(program, args));
  const Handle null(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  SetHandleInformation(null.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  si.hStdInput = si.hStdOutput = si.hStdError = null.get();
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                     &pi)) {
    process_->handle.Reset(pi.hProcess);
    CloseHandle(pi.hThread);
  }
}

RunningProgram::~RunningProgram() {
  Kill();
  Wait();
}

void RunningProgram::Kill() {
  if (process_->handle.valid() && !process_->ended)
    TerminateProcess(process_->handle.get(), static_cast<UINT>(-1));
}

int RunningProgram::Wait() {
  if (!process_->handle.valid())
    return -1;
  if (!process_->ended) {
    WaitForSingleObject(process_->handle.get(), INFINITE);
    GetExitCodeProcess(process_->handle.get(), &process_->code);
    process_->ended = true;
  }
  return static_cast<int>(process_->code);
}

}  // namespace korvane::testing
