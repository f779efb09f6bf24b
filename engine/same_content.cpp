#include "engine/same_content.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace korvane {
namespace {

// How much of each file is read at once.
constexpr std::size_t kPiece = 64 * 1024;

// Fills `into` as far as the file goes.
FsResult ReadFull(FileReader& reader, std::span<char> into, std::size_t& got) {
  for (got = 0; got < into.size();) {
    std::size_t n = 0;
    if (FsResult r = reader.Read(into.subspan(got), n); !r.ok())
      return r;
    if (n == 0)
      break;
    got += n;
  }
  return {};
}

}  // namespace

SameContent CompareContent(Folder& folder,
                           std::string_view file,
                           std::string_view holder,
                           const std::atomic<bool>& stop,
                           SystemError& why) {
  // Sizes are known without opening either file: files of different sizes are told apart
  // without reading them, and most conflicts end here.
  std::optional<std::uint64_t> sizes[2];
  const std::string_view names[2] = {file, holder};
  for (int i = 0; i < 2; ++i) {
    if (FsResult measured = folder.FileSize(names[i], sizes[i]); !measured.ok()) {
      why = std::move(measured.error);
      return SameContent::kUnreadable;
    }
    if (!sizes[i])
      return SameContent::kNotAFile;
  }
  if (*sizes[0] != *sizes[1])
    return SameContent::kDifferent;
  std::unique_ptr<FileReader> a, b;
  for (const auto& [name, reader] : {std::pair{file, &a}, std::pair{holder, &b}}) {
    if (FsResult opened = folder.OpenToRead(name, *reader); !opened.ok()) {
      why = std::move(opened.error);
      return SameContent::kUnreadable;
    }
    if (!*reader)
      return SameContent::kNotAFile;
  }
  if (a->size() != b->size())
    return SameContent::kDifferent;
  std::vector<char> left(kPiece), right(kPiece);
  for (;;) {
    if (stop)
      return SameContent::kNotCompared;
    std::size_t got_left = 0, got_right = 0;
    FsResult r = ReadFull(*a, left, got_left);
    if (r.ok())
      r = ReadFull(*b, right, got_right);
    if (!r.ok()) {
      why = std::move(r.error);
      return SameContent::kUnreadable;
    }
    // A file that grew or shrank while it was read differs from the one it was compared with.
    if (got_left != got_right ||
        !std::equal(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(got_left),
                    right.begin()))
      return SameContent::kDifferent;
    if (got_left == 0)
      return SameContent::kSame;
  }
}

}  // namespace korvane
