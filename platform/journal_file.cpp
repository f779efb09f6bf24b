// Journal files, the same on every system; what the system does for them is JournalHandle's.
#include "platform/journal_file.h"

#include "platform/app_files.h"
#include "platform/journal_handle.h"

namespace korvane {
namespace {

class JournalFile final : public JournalStorage {
 public:
  explicit JournalFile(JournalHandle file) : file_(std::move(file)) {}

  bool Append(std::string_view text, SystemError& error) override {
    return file_.Append(text, error);
  }
  bool Sync(SystemError& error) override { return file_.Sync(error); }

 private:
  JournalHandle file_;
};

class JournalFileSource final : public JournalSource {
 public:
  explicit JournalFileSource(JournalHandle file) : file_(std::move(file)) {}

  bool ReadAt(std::uint64_t offset,
              std::span<char> into,
              std::size_t& got,
              SystemError& error) override {
    for (got = 0; got < into.size();) {
      std::size_t read = 0;
      if (!file_.ReadSome(offset + got, into.subspan(got), read, error))
        return false;
      if (read == 0)
        break;
      got += read;
    }
    return true;
  }

 private:
  JournalHandle file_;
};

}  // namespace

std::unique_ptr<JournalStorage> OpenJournalFile(std::string_view path,
                                                bool fresh,
                                                SystemError& error) {
  JournalHandle file;
  using Access = JournalHandle::Access;
  if (!file.Open(path, fresh ? Access::kAppendNew : Access::kAppend, error))
    return nullptr;
  // The file's own syncs keep its data, not its name in the folder: without this, a power loss
  // could leave the renames on disk and no journal at all.
  if (file.created() && !SyncFolder(FolderOf(path), error))
    return nullptr;
  // A file a crash cut off mid-line gets its line ended, so that what follows is read whole.
  if (const std::uint64_t size = file.size_at_open(); size > 0) {
    char last = '\n';
    std::size_t got = 0;
    if (!file.ReadSome(size - 1, std::span<char>(&last, 1), got, error))
      return nullptr;
    if (last != '\n' && !file.Append("\n", error))
      return nullptr;
  }
  return std::make_unique<JournalFile>(std::move(file));
}

bool AppendToJournal(std::string_view path, std::string_view lines, SystemError& error) {
  if (lines.empty())
    return true;
  const std::unique_ptr<JournalStorage> file = OpenJournalFile(path, false, error);
  return file && file->Append(lines, error) && file->Sync(error);
}

std::unique_ptr<JournalSource> OpenJournalSource(std::string_view path, SystemError& error) {
  JournalHandle file;
  if (!file.Open(path, JournalHandle::Access::kRead, error))
    return nullptr;
  return std::make_unique<JournalFileSource>(std::move(file));
}

}  // namespace korvane
