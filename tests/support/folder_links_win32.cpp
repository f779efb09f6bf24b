#include "platform/system_error.h"
#include "tests/support/folder_links.h"
#include "tests/support/links_win32.h"
#include "tests/support/sandbox.h"

namespace korvane::testing {

struct FolderLinks::Made {
  UnixLinks unix_links;
};

FolderLinks::FolderLinks() : made_(std::make_unique<Made>()) {}

FolderLinks::~FolderLinks() = default;

bool FolderLinks::Make(const std::filesystem::path& link,
                       const std::filesystem::path& target,
                       std::string& why) {
  const DWORD error = MakeJunction(Utf8(link), Utf8(target));
  if (error == 0 || made_->unix_links.Make(Utf8(link), Utf8(target)))
    return true;
  why = SystemErrorFrom(static_cast<long>(error)).text;
  return false;
}

}  // namespace korvane::testing
