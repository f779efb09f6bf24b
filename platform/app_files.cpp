// The halves of the program's own files that are the same on every system.
#include "platform/app_files.h"

#include <cstdio>

#include "platform/native.h"

namespace korvane {

std::string ProgramFolderIn(std::string_view base) {
  return PathIn(PathIn(base, MakerFolderName()), "文件名还原工具");
}

std::string PathIn(std::string_view folder, std::string_view name) {
  const char separator = PathSeparator();
  std::string path(folder);
  if (!path.ends_with(separator))
    path += separator;
  path += name;
  return path;
}

std::string LocalTimeForName(std::chrono::system_clock::time_point time) {
  const std::tm local = LocalTime(std::chrono::system_clock::to_time_t(time));
  char buf[80];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d.%02d.%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return buf;
}

}  // namespace korvane
