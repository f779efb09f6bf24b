#include "tests/support/hooked_fs.h"

#include "platform/native.h"

namespace korvane::testing {
namespace {

class HookedReader final : public FileReader {
 public:
  HookedReader(std::unique_ptr<FileReader> real, HookedFileSystem& fs)
      : real_(std::move(real)), fs_(fs) {}
  std::uint64_t size() const override { return real_->size(); }
  FsResult Read(std::span<char> into, std::size_t& got) override {
    ++fs_.reads;
    fs_.Called();
    return real_->Read(into, got);
  }

 private:
  std::unique_ptr<FileReader> real_;
  HookedFileSystem& fs_;
};

// Opens through `folder`, the reader hooked too.
FsResult OpenHooked(Folder& folder,
                    std::string_view name,
                    std::unique_ptr<FileReader>& reader,
                    HookedFileSystem& fs) {
  fs.Called();
  FsResult r = folder.OpenToRead(name, reader);
  if (reader)
    reader = std::make_unique<HookedReader>(std::move(reader), fs);
  return r;
}

class HookedFolder final : public Folder {
 public:
  HookedFolder(std::unique_ptr<Folder> real, HookedFileSystem& fs)
      : real_(std::move(real)), fs_(fs) {}
  FsResult Rename(std::string_view from, std::string_view to) override {
    fs_.Called();
    return real_->Rename(from, to);
  }
  FsResult CheckRename(std::string_view from, std::string_view to) override {
    fs_.Called();
    return real_->CheckRename(from, to);
  }
  bool Exists(std::string_view name) override {
    fs_.Called();
    return real_->Exists(name);
  }
  FsResult OpenToRead(std::string_view name, std::unique_ptr<FileReader>& reader) override {
    return OpenHooked(*real_, name, reader, fs_);
  }

 private:
  std::unique_ptr<Folder> real_;
  HookedFileSystem& fs_;
};

class HookedCursor final : public FolderCursor {
 public:
  HookedCursor(std::unique_ptr<FolderCursor> real, HookedFileSystem& fs)
      : real_(std::move(real)), fs_(fs) {}
  FsResult List(Listing& listing) override {
    fs_.Called();
    FsResult r = real_->List(listing);
    const int n = ++fs_.lists;
    if (fs_.listed)
      fs_.listed(n);
    return r;
  }
  FsResult Enter(std::string_view name) override {
    fs_.Called();
    return real_->Enter(name);
  }
  void Leave() override {
    fs_.Called();
    real_->Leave();
  }
  std::unique_ptr<Folder> Pin() override {
    std::unique_ptr<Folder> pinned = real_->Pin();
    return pinned ? std::make_unique<HookedFolder>(std::move(pinned), fs_) : nullptr;
  }
  FsResult Rename(std::string_view from, std::string_view to) override {
    fs_.Called();
    return real_->Rename(from, to);
  }
  FsResult CheckRename(std::string_view from, std::string_view to) override {
    fs_.Called();
    return real_->CheckRename(from, to);
  }
  bool Exists(std::string_view name) override {
    fs_.Called();
    return real_->Exists(name);
  }
  FsResult OpenToRead(std::string_view name, std::unique_ptr<FileReader>& reader) override {
    return OpenHooked(*real_, name, reader, fs_);
  }

 private:
  std::unique_ptr<FolderCursor> real_;
  HookedFileSystem& fs_;
};

}  // namespace

HookedFileSystem::HookedFileSystem() : real_(MakeNativeFileSystem()) {}

void HookedFileSystem::Called() {
  const int n = ++count;
  if (at)
    at(n);
}

std::unique_ptr<FolderCursor> HookedFileSystem::OpenTree(std::string_view root,
                                                         SystemError& error) {
  std::unique_ptr<FolderCursor> real = real_->OpenTree(root, error);
  return real ? std::make_unique<HookedCursor>(std::move(real), *this) : nullptr;
}

}  // namespace korvane::testing
