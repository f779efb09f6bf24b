#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/app_files.h"
#include "platform/scoped_posix.h"
#include "platform/system_error.h"

namespace korvane {

std::string_view MakerFolderName() {
  return "korvane";
}

std::string AppStateFolder() {
  std::string base;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/') {
    base = state;
  } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    base = std::string(home) + "/.local/state";
  } else {
    return {};
  }
  return ProgramFolderIn(base);
}

bool MakeFolders(std::string_view folder, SystemError& error) {
  std::string path(folder);
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/')
      continue;
    const std::string part = path.substr(0, at);
    if (mkdir(part.c_str(), 0700) == 0) {
      if (!SyncFolder(FolderOf(part), error))
        return false;
    } else if (errno != EEXIST) {
      error = LastSystemError();
      return false;
    }
  }
  return true;
}

bool SyncFolder(std::string_view folder, SystemError& error) {
  const UniqueFd fd(open(std::string(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Some file systems cannot sync a folder (EINVAL): they keep nothing back to sync.
  if (fd && (fsync(fd.get()) == 0 || errno == EINVAL))
    return true;
  error = LastSystemError();
  return false;
}

std::string FolderOf(std::string_view path) {
  const std::size_t cut = path.rfind('/');
  if (cut == std::string_view::npos)
    return ".";
  return cut == 0 ? "/" : std::string(path.substr(0, cut));
}

bool FileNamesIn(std::string_view folder, std::vector<std::string>& names, SystemError& error) {
  names.clear();
  UniqueDir dir;
  dir.Adopt(UniqueFd(open(std::string(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
  if (!dir) {
    if (errno == ENOENT)
      return true;
    error = LastSystemError();
    return false;
  }
  for (;;) {
    errno = 0;
    const dirent* d = readdir(dir.get());
    if (!d)
      break;
    struct stat st;
    if (fstatat(dirfd(dir.get()), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
      names.emplace_back(d->d_name);
  }
  if (errno != 0) {
    error = LastSystemError();
    return false;
  }
  return true;
}

bool RemoveFile(std::string_view path, SystemError& error) {
  if (unlink(std::string(path).c_str()) == 0)
    return true;
  error = LastSystemError();
  return false;
}

std::tm LocalTime(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

}  // namespace korvane
