#include <system_error>
#include <vector>

#include "tests/support/folder_links.h"

namespace korvane::testing {

struct FolderLinks::Made {
  std::vector<std::filesystem::path> links;
};

FolderLinks::FolderLinks() : made_(std::make_unique<Made>()) {}

FolderLinks::~FolderLinks() {
  for (const std::filesystem::path& link : made_->links) {
    std::error_code ignored;
    std::filesystem::remove(link, ignored);
  }
}

bool FolderLinks::Make(const std::filesystem::path& link,
                       const std::filesystem::path& target,
                       std::string& why) {
  std::error_code error;
  std::filesystem::create_directory_symlink(target, link, error);
  if (error) {
    why = error.message();
    return false;
  }
  made_->links.push_back(link);
  return true;
}

}  // namespace korvane::testing
