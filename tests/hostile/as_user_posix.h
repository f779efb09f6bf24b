// Runs test code as an unprivileged user. The suites run as root in CI, and root is refused
// nothing; a permission fault has to be refused by the kernel, so the code that should meet it
// runs in a child process that has dropped every privilege.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>

namespace korvane::testing {

// The user the child runs as: nobody when this process is root, this process's own otherwise.
uid_t UnprivilegedUid();
gid_t UnprivilegedGid();

// Hands `root` and everything below it to that user (nothing to do when not root).
void GiveTreeToUnprivilegedUser(const std::filesystem::path& root);

struct ChildOutcome {
  bool ran = false;
  std::string skip_reason;  // why the child could not run as an unprivileged user
  std::string output;       // what `body` returned
  std::string failure;      // a crash or exception in the child
};

// Forks, drops to the unprivileged user, checks that permissions are enforced for it and that it
// can reach `tree`, runs `body` and sends back what it returns. `body` must not use gtest
// assertions.
ChildOutcome RunAsUnprivilegedUser(const std::filesystem::path& tree,
                                   const std::function<std::string()>& body);

}  // namespace korvane::testing
