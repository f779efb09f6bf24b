#include "tests/hostile/as_user_posix.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <system_error>

namespace korvane::testing {
namespace {

constexpr uid_t kNobody = 65534;

void WriteAll(int fd, const std::string& s) {
  for (std::size_t done = 0; done < s.size();) {
    const ssize_t n = write(fd, s.data() + done, s.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return;
    done += static_cast<std::size_t>(n);
  }
}

// In the child: the unprivileged user, or the reason it cannot be had.
std::string DropPrivileges(const std::filesystem::path& tree) {
  if (geteuid() == 0) {
    const gid_t g = UnprivilegedGid();
    const uid_t u = UnprivilegedUid();
    if (setgroups(0, nullptr) != 0)
      return std::string("setgroups: ") + std::strerror(errno);
    if (setresgid(g, g, g) != 0)
      return std::string("setresgid: ") + std::strerror(errno);
    if (setresuid(u, u, u) != 0)
      return std::string("setresuid: ") + std::strerror(errno);
  }
  // "/" belongs to root and is not writable by others wherever permissions are enforced.
  if (access("/", W_OK) == 0)
    return "permissions are not enforced for this user (it may write to /)";
  // The temporary folder may lie where only root may go (TMPDIR under /root, say). The tree
  // itself may be unreadable on purpose; what lies above it must not be.
  if (access(tree.parent_path().c_str(), X_OK) != 0)
    return "the user cannot reach the temporary folder " + tree.string();
  return {};
}

}  // namespace

uid_t UnprivilegedUid() {
  return geteuid() == 0 ? kNobody : geteuid();
}

gid_t UnprivilegedGid() {
  return geteuid() == 0 ? kNobody : getegid();
}

void GiveTreeToUnprivilegedUser(const std::filesystem::path& root) {
  if (geteuid() != 0)
    return;
  namespace fs = std::filesystem;
  const auto give = [](const fs::path& p) {
    if (lchown(p.c_str(), UnprivilegedUid(), UnprivilegedGid()) != 0)
      throw std::system_error(errno, std::generic_category(), "lchown " + p.string());
  };
  give(root);
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it)
    give(it->path());
}

ChildOutcome RunAsUnprivilegedUser(const std::filesystem::path& tree,
                                   const std::function<std::string()>& body) {
  ChildOutcome outcome;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    outcome.failure = std::string("pipe: ") + std::strerror(errno);
    return outcome;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    outcome.failure = std::string("fork: ") + std::strerror(errno);
    close(fds[0]);
    close(fds[1]);
    return outcome;
  }
  if (pid == 0) {
    close(fds[0]);
    std::string message;
    if (std::string why = DropPrivileges(tree); !why.empty()) {
      message = "S" + why;
    } else {
      try {
        message = "R" + body();
      } catch (const std::exception& e) {
        message = std::string("E") + e.what();
      }
    }
    WriteAll(fds[1], message);
    close(fds[1]);
    _exit(0);  // no exit handlers: they belong to the test process
  }

  close(fds[1]);
  std::string message;
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    message.append(buf, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || message.empty()) {
    outcome.failure = WIFSIGNALED(status)
                          ? "the child died of signal " + std::to_string(WTERMSIG(status))
                          : "the child ended without a result";
  } else if (message[0] == 'S') {
    outcome.skip_reason = message.substr(1);
  } else if (message[0] == 'E') {
    outcome.failure = message.substr(1);
  } else {
    outcome.ran = true;
    outcome.output = message.substr(1);
  }
  return outcome;
}

}  // namespace korvane::testing
