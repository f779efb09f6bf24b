// The floor: the least a restoration must do. Walks with getdents (openat/fdopendir) and renames
// candidates with renameat2(RENAME_NOREPLACE); no report, no progress, no lower-casing beyond
// ASCII.
//
//   bench_floor TREE             one folder at a time, depth first
//   bench_floor --jobs N TREE    N threads taking folders from a shared stack (the parallel floor)
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<long> renamed{0}, failed{0};

// Folders still to walk, each an open descriptor; the threads that are walking one.
std::mutex mutex;
std::condition_variable more;
std::vector<int> folders;
int walking = 0;

// Renames the candidates of the folder `fd` and returns its subfolders, opened.
std::vector<int> PassFolder(int fd) {
  std::vector<int> subfolders;
  DIR* dir = fdopendir(fd);
  if (!dir)
    return subfolders;
  std::vector<std::string> names;
  while (const dirent* d = readdir(dir)) {
    const char* n = d->d_name;
    if (n[0] == '.')
      continue;
    if (d->d_type == DT_DIR) {
      names.emplace_back(n);
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
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    const int child = openat(dirfd(dir), it->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (child >= 0)
      subfolders.push_back(child);
  }
  closedir(dir);
  return subfolders;
}

void Worker() {
  std::unique_lock lock(mutex);
  for (;;) {
    more.wait(lock, [] { return !folders.empty() || walking == 0; });
    if (folders.empty())
      return;
    const int fd = folders.back();
    folders.pop_back();
    ++walking;
    lock.unlock();
    std::vector<int> subfolders = PassFolder(fd);
    lock.lock();
    --walking;
    folders.insert(folders.end(), subfolders.begin(), subfolders.end());
    more.notify_all();
  }
}

}  // namespace

int main(int argc, char** argv) {
  int jobs = 1;
  if (argc == 4 && std::strcmp(argv[1], "--jobs") == 0) {
    jobs = std::atoi(argv[2]);
    argv += 2;
    argc -= 2;
  }
  if (argc != 2 || jobs < 1)
    return 2;
  const int fd = open(argv[1], O_RDONLY | O_DIRECTORY);
  if (fd < 0)
    return 2;
  folders.push_back(fd);
  std::vector<std::thread> threads;
  for (int i = 1; i < jobs; ++i)
    threads.emplace_back(Worker);
  Worker();
  for (std::thread& t : threads)
    t.join();
  std::printf("%ld renamed, %ld failed\n", renamed.load(), failed.load());
  return 0;
}
