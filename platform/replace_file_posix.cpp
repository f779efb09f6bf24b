#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/replace_file.h"
#include "platform/scoped_posix.h"
#include "platform/system_error.h"
#include "platform/write_all_posix.h"

namespace korvane {

FsResult WriteFileReplacing(std::string_view path, std::string_view bytes) {
  const std::string target(path);
  // A name of our own beside the target: same folder, so the final rename never copies.
  std::string temp;
  UniqueFd fd;
  for (unsigned n = 0; n < 100 && !fd; ++n) {
    temp = target + ".~" + std::to_string(getpid()) + "-" + std::to_string(n) + ".tmp";
    fd.Reset(open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!fd && errno != EEXIST)
      return SystemFailure(LastSystemError());
  }
  if (!fd)
    return SystemFailure(LastSystemError());
  FsResult result;
  if (SystemError why; !WriteAll(fd.get(), bytes, why))
    result = SystemFailure(std::move(why));
  if (result.ok() && fsync(fd.get()) != 0)
    result = SystemFailure(LastSystemError());
  if (close(fd.Release()) != 0 && result.ok())
    result = SystemFailure(LastSystemError());
  if (result.ok() && rename(temp.c_str(), target.c_str()) != 0)
    result = SystemFailure(LastSystemError());
  if (!result.ok())
    unlink(temp.c_str());
  return result;
}

}  // namespace korvane
