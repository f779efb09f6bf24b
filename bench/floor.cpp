// The floor: the least a restoration must do. Walks with getdents (openat/fdopendir) and renames
// candidates with renameat2(RENAME_NOREPLACE); no report, no progress, no lower-casing beyond
// ASCII.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

long renamed = 0, failed = 0;

void Walk(int fd) {
  DIR* dir = fdopendir(fd);
  if (!dir)
    return;
  std::vector<std::string> subfolders;
  while (const dirent* d = readdir(dir)) {
    const char* n = d->d_name;
    if (n[0] == '.')
      continue;
    if (d->d_type == DT_DIR) {
      subfolders.emplace_back(n);
      continue;
    }
    std::string lower(n);
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z')
        c += 'a' - 'A';
    const std::size_t p = lower.find(".201");
    if (p == std::string::npos || p == 0 || !lower.ends_with(".qjd"))
      continue;
    lower.resize(p);
    if (renameat2(dirfd(dir), n, dirfd(dir), lower.c_str(), RENAME_NOREPLACE) == 0) {
      ++renamed;
    } else {
      ++failed;
    }
  }
  for (const std::string& s : subfolders) {
    const int child = openat(dirfd(dir), s.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (child >= 0)
      Walk(child);
  }
  closedir(dir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  const int fd = open(argv[1], O_RDONLY | O_DIRECTORY);
  if (fd < 0)
    return 2;
  Walk(fd);
  std::printf("%ld renamed, %ld failed\n", renamed, failed);
  return 0;
}
