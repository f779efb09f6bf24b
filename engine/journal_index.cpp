#include "engine/journal_index.h"

#include <algorithm>
#include <optional>

namespace korvane {
namespace {

// How much of the journal is read at once.
constexpr std::size_t kPiece = 256 * 1024;

using State = RenameState;

// A number is kept in a byte of its own up to this far beyond twice the numbers seen.
constexpr std::uint64_t kDenseReach = 1 << 16;

}  // namespace

bool RenameStates::Add(std::uint64_t id) {
  const std::uint64_t reach = std::max<std::uint64_t>(dense_.size(), 2 * added_ + kDenseReach);
  if ((id > 0 && id <= dense_.size() && dense_[id - 1] != kAbsent) || sparse_.contains(id))
    return false;
  ++added_;
  if (id > 0 && id <= reach) {
    if (id > dense_.size())
      dense_.resize(id, kAbsent);
    dense_[id - 1] = static_cast<std::uint8_t>(State::kUnknown);
  } else {
    sparse_.emplace(id, State::kUnknown);
  }
  return true;
}

bool RenameStates::Set(std::uint64_t id, State state) {
  if (id > 0 && id <= dense_.size() && dense_[id - 1] != kAbsent) {
    dense_[id - 1] = static_cast<std::uint8_t>(state);
    return true;
  }
  const auto it = sparse_.find(id);
  if (it == sparse_.end())
    return false;
  it->second = state;
  return true;
}

RenameStates::State RenameStates::Get(std::uint64_t id) const {
  if (id > 0 && id <= dense_.size() && dense_[id - 1] != kAbsent)
    return static_cast<State>(dense_[id - 1]);
  const auto it = sparse_.find(id);
  return it == sparse_.end() ? State::kUnknown : it->second;
}

void RenameStates::Count(int& made, int& unknown) const {
  const auto count = [&](State s) {
    if (s == State::kMade)
      ++made;
    else if (s == State::kUnknown)
      ++unknown;
  };
  for (const std::uint8_t s : dense_) {
    if (s != kAbsent)
      count(static_cast<State>(s));
  }
  for (const auto& [id, s] : sparse_)
    count(s);
}

// Takes the journal's lines one at a time, in order, and keeps what the index holds.
class JournalIndex::Builder {
 public:
  explicit Builder(JournalIndex& index) : index_(index) {}

  void Line(std::string_view text, std::uint64_t begin, std::uint64_t end) {
    using Kind = JournalLine::Kind;
    IndexedRun* run = index_.runs_.empty() ? nullptr : &index_.runs_.back();
    ReadJournalLine(text, run ? run->version : 1, index_.separator_, line_);
    const bool record = line_.kind == Kind::kIntent || line_.kind == Kind::kOldRecord;
    if (!record)
      CloseGroup();
    if (line_.kind == Kind::kHeader) {
      EndRun();
      IndexedRun& begun = index_.runs_.emplace_back();
      begun.version = line_.version;
      begun.started = line_.text;
      return;
    }
    if (line_.kind == Kind::kUndone) {
      // An undo reverses a whole file: every run written before the line.
      for (IndexedRun& r : index_.runs_)
        r.undone = true;
      return;
    }
    if (line_.kind == Kind::kReversed) {
      index_.reversed_ += static_cast<int>(line_.count);
      return;
    }
    if (line_.kind == Kind::kComment && text.empty())
      return;
    // Lines before any header are taken as the first format wrote them.
    if (!run && !line_.of_file) {
      run = &index_.runs_.emplace_back();
      run->version = 1;
    }
    switch (line_.kind) {
      case Kind::kFolder:
        run->folder = std::move(line_.text);
        return;
      case Kind::kOptions:
        run->naming = line_.naming;
        return;
      case Kind::kEnd:
        run->ended = true;
        run->interrupted = line_.interrupted;
        return;
      case Kind::kIntent:
        if (!run->states.Add(line_.id))
          break;
        Record(begin, end);
        return;
      case Kind::kOldRecord:
        ++run->made;
        Common(line_.record.folder);
        Record(begin, end);
        return;
      case Kind::kOutcome:
        if (!run->states.Set(line_.id, line_.made ? State::kMade : State::kRefused))
          break;
        return;
      case Kind::kComment:
        return;
      default:
        break;
    }
    ++index_.bad_lines_;
  }

  void Finish() {
    CloseGroup();
    EndRun();
  }

 private:
  // A record of the run now: it goes on the group of its folder when it follows it directly.
  void Record(std::uint64_t begin, std::uint64_t end) {
    const auto run = static_cast<std::uint32_t>(index_.runs_.size() - 1);
    if (open_ && open_run_ == run && open_folder_ == line_.record.folder) {
      open_->end = end;
      return;
    }
    CloseGroup();
    open_ = RecordGroup{begin, end, run};
    open_run_ = run;
    open_folder_ = line_.record.folder;
  }

  void CloseGroup() {
    if (open_)
      index_.groups_.push_back(*open_);
    open_.reset();
  }

  // The longest common start of the first format's folders.
  void Common(std::string_view folder) {
    if (!common_) {
      common_ = std::string(folder);
      return;
    }
    std::size_t n = 0;
    while (n < common_->size() && n < folder.size() && (*common_)[n] == folder[n])
      ++n;
    common_->resize(n);
  }

  void EndRun() {
    if (index_.runs_.empty())
      return;
    IndexedRun& run = index_.runs_.back();
    const char sep = index_.separator_;
    if (run.version == 1) {
      // The folder every record of the run was made in, or below.
      const std::size_t cut = common_ ? common_->rfind(sep) : std::string::npos;
      run.root = cut == std::string::npos ? std::string() : common_->substr(0, cut + 1);
    } else {
      run.states.Count(run.made, run.unknown);
      run.root = run.folder;
      if (!run.root.empty() && !run.root.ends_with(sep))
        run.root.push_back(sep);
    }
    common_.reset();
  }

  JournalIndex& index_;
  JournalLine line_;
  std::optional<RecordGroup> open_;
  std::uint32_t open_run_ = 0;
  std::string open_folder_;
  std::optional<std::string> common_;
};

bool JournalIndex::Build(JournalSource& source, char separator, SystemError& error) {
  *this = JournalIndex();
  separator_ = separator;
  Builder builder(*this);
  std::string buffer(kPiece, '\0');
  std::string line;              // a line that goes on into the next piece
  std::uint64_t line_begin = 0;  // where `line` begins in the file
  for (std::uint64_t offset = 0;;) {
    std::size_t got = 0;
    if (!source.ReadAt(offset, buffer, got, error))
      return false;
    if (got == 0)
      break;
    std::string_view piece(buffer.data(), got);
    for (std::size_t at = 0; at < piece.size();) {
      const std::size_t nl = piece.find('\n', at);
      if (nl == std::string_view::npos) {
        line.append(piece.substr(at));
        break;
      }
      const std::uint64_t end = offset + nl + 1;
      if (line.empty()) {
        builder.Line(piece.substr(at, nl - at), offset + at, end);
      } else {
        line.append(piece.substr(at, nl - at));
        builder.Line(line, line_begin, end);
        line.clear();
      }
      at = nl + 1;
      line_begin = offset + at;
    }
    offset += got;
  }
  // What follows the last line break was cut off by a crash.
  builder.Finish();
  return true;
}

bool GroupReader::ReadBack(const RecordGroup& group,
                           std::uint64_t& end,
                           std::vector<ReadRecord>& records,
                           SystemError& error) {
  records.clear();
  if (end <= group.begin)
    return true;
  const IndexedRun& run = index_.runs()[group.run];
  std::string text;
  std::uint64_t start = 0;
  std::size_t skip = 0;
  // A piece back from `end`, grown until it holds a whole line.
  for (std::size_t want = kPiece;; want *= 2) {
    start = end - std::min<std::uint64_t>(want, end - group.begin);
    text.resize(static_cast<std::size_t>(end - start));
    std::size_t got = 0;
    {
      const std::lock_guard lock(mutex_);
      if (!source_.ReadAt(start, text, got, error))
        return false;
    }
    if (got != text.size()) {
      // The journal has shrunk since it was read: what was there is no longer to be had.
      error = {ErrorKind::kOther, 0, {}};
      return false;
    }
    if (start == group.begin)
      break;
    // The piece begins inside a line: that line goes with the next piece.
    if (const std::size_t nl = text.find('\n'); nl != std::string::npos && nl + 1 < text.size()) {
      skip = nl + 1;
      break;
    }
  }
  JournalLine line;
  std::string_view rest = std::string_view(text).substr(skip);
  while (!rest.empty()) {
    // The last line, without its line break.
    rest.remove_suffix(1);
    const std::size_t nl = rest.rfind('\n');
    const std::string_view last = nl == std::string_view::npos ? rest : rest.substr(nl + 1);
    ReadJournalLine(last, run.version, index_.separator(), line);
    // Only records were indexed here; anything else was written since.
    if (line.kind == JournalLine::Kind::kIntent || line.kind == JournalLine::Kind::kOldRecord) {
      ReadRecord& r = records.emplace_back();
      r.record = std::move(line.record);
      r.state = run.version == 1 ? State::kMade : run.states.Get(line.id);
    }
    rest = nl == std::string_view::npos ? std::string_view() : rest.substr(0, nl + 1);
  }
  end = start + skip;
  return true;
}

}  // namespace korvane
