// The POSIX side of the hostile-tree suites' platform hooks.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/native.h"
#include "platform/system_error.h"
#include "tests/hostile/run_support.h"
#include "text/wording.h"

namespace korvane::testing {

std::string NoSuchFileText() {
  return text::ErrorText(SystemErrorFrom(ENOENT));
}

std::string NoSuchFolderText() {
  return text::ErrorText(SystemErrorFrom(ENOENT));
}

// The tool makes no two names that differ only in case, on any system: a name is taken when its
// lower case is, by the tool's own case mapping.
std::string NameKey(const std::string& name) {
  static const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  return fs->ToLower(name);
}

bool RestoredNameRefused(const std::string&) {
  return false;
}

bool WalkHoldsItsFolders() {
  return false;
}

bool OddNamesAllowed() {
  return true;
}

std::function<void(const std::filesystem::path&)> SpecialFileMaker() {
  return [](const std::filesystem::path& p) { mkfifo(p.c_str(), 0644); };
}

bool CreateNewFile(const std::filesystem::path& p, const std::string& content) {
  const int fd = open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0)
    return false;
  const bool ok = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  return ok;
}

bool LinksAllowed() {
  return true;
}

bool MakeLink(const std::filesystem::path& target,
              const std::filesystem::path& link,
              std::string& why) {
  std::error_code ec;
  std::filesystem::create_symlink(target, link, ec);
  why = ec.message();
  return !ec;
}

int OpenFileCount() {
  std::error_code ec;
  int n = 0;
  for (std::filesystem::directory_iterator it("/proc/self/fd", ec), end; !ec && it != end;
       it.increment(ec))
    ++n;
  return ec ? 0 : n;
}

}  // namespace korvane::testing
