#include "engine/tree_walk.h"

#include <algorithm>
#include <optional>
#include <thread>
#include <unordered_set>
#include <utility>

#include "engine/rule.h"

namespace korvane {
namespace {

bool IsDotName(std::string_view name) {
  return name == "." || name == "..";
}

// `suffix` is lower-case ASCII.
bool EndsWithAsciiNoCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size())
    return false;
  const std::string_view end = name.substr(name.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    const char c = end[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != suffix[i])
      return false;
  }
  return true;
}

// Subfolders the walk descends into: real folders, not links, not hidden (".svn" and the like).
bool IsWalkedFolder(const DirEntry& e) {
  return e.is_folder && !e.is_link && !e.name.starts_with('.');
}

// A folder not at its turn hands on its results in batches, to take the lock seldom.
constexpr std::size_t kPublishEvery = 256;

// With a journal, folders are listed and their renames written down in batches; a batch is
// renamed once what it wrote down is on disk. These bound a batch (and so how much each sync
// carries); a worker holds at most two: one on its way to disk, one being prepared.
constexpr std::size_t kIntentsPerSync = 512;
constexpr std::size_t kFoldersPerSync = 32;

}  // namespace

// One examined entry of a folder: its index in the listing (whose name is by then the lower-cased
// one) and, for a candidate, its row.
struct TreeWalk::Item {
  std::uint32_t entry = 0;
  std::unique_ptr<Row> row;
};

struct TreeWalk::Node : std::enable_shared_from_this<Node> {
  Node* parent = nullptr;
  std::size_t index = 0;  // among its parent's children
  std::string name;       // as found on disk
  std::string path;       // as the report shows it, ending in the separator

  // All below is guarded by the walk's lock, but for what the one worker in hand of the folder
  // fills in before it hands anything on.
  enum class State { kWaiting, kTaken, kFinished } state = State::kWaiting;
  std::vector<NodePtr> children;  // the folders the walk enters, in listing order, once listed
  std::vector<DirEntry> entries;
  std::vector<Item> held;  // handed on before the folder's turn came
  std::optional<SystemError> skipped;
  int links = 0;
  std::atomic<bool> head{false};  // its turn has come: results go to the sink as they come
};

// A worker's position: its own cursor, and the folders from the root to where it stands.
struct TreeWalk::Worker {
  std::unique_ptr<FolderCursor> cursor;
  std::vector<NodePtr> at;
};

TreeWalk::TreeWalk(FileSystem& fs,
                   WalkSink& sink,
                   EventPump& pump,
                   std::atomic<bool>& stop,
                   const WalkOptions& options)
    : fs_(fs), sink_(sink), pump_(pump), stop_(stop), options_(options), style_(fs.Style()) {}

TreeWalk::~TreeWalk() = default;

void TreeWalk::Run(const std::string& root) {
  root_path_ = root;
  root_ = std::make_shared<Node>();
  root_->path = root;
  head_ = root_;
  waiting_ = {root_};
  {
    // The root's results go out as they come.
    const std::lock_guard lock(mutex_);
    Advance();
  }
  const int jobs = std::max(1, options_.jobs);
  if (jobs == 1) {
    Work();
  } else {
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(jobs));
    for (int i = 0; i < jobs; ++i)
      workers.emplace_back([this] { WorkCatching(); });
    for (std::thread& t : workers)
      t.join();
    // What went wrong in a worker goes on from here, as it would have without workers.
    if (failure_)
      std::rethrow_exception(failure_);
  }
  // After a stop: what was found before it still goes out, in order; folders never reached have
  // nothing to say.
  const std::lock_guard lock(mutex_);
  for (const NodePtr& node : waiting_)
    node->state = Node::State::kFinished;
  waiting_.clear();
  Advance();
}

// A folder listed and ready for its pass: where its renames are made, and the journal's number
// for each rename written down (by entry; 0 for none).
struct TreeWalk::Prepared {
  NodePtr node;
  std::unique_ptr<Folder> folder;  // held apart, as the cursor moves on; null: the cursor's own
  std::vector<std::uint64_t> intents;
};

// Folders prepared together, and the journal's mark for what they wrote down.
struct TreeWalk::Batch {
  std::vector<Prepared> folders;
  std::size_t intents = 0;
  std::uint64_t durable_at = 0;
  bool holds_cursor = false;  // a folder could not be held apart: the cursor must stay there
};

void TreeWalk::Work() {
  Worker worker;
  const bool journaling = options_.journal && options_.operation == Operation::kRestore;
  // With a journal, the batch written down last is on its way to disk while the next is listed
  // and written down, so that the wait for the disk overlaps the work.
  Batch on_its_way;
  for (;;) {
    NodePtr node = on_its_way.folders.empty() ? Take() : TryTake();
    if (!node && on_its_way.folders.empty())
      return;
    Batch batch;
    while (node) {
      if (Prepare(worker, *node)) {
        Prepared& p = batch.folders.emplace_back();
        p.node = std::move(node);
        if (journaling) {
          p.folder = worker.cursor->Pin();
          batch.holds_cursor = !p.folder;
          batch.intents += WriteDown(*p.node, p.intents);
        }
      } else {
        Finish(*node);
      }
      node = nullptr;
      if (journaling && !batch.holds_cursor && batch.intents < kIntentsPerSync &&
          batch.folders.size() < kFoldersPerSync) {
        node = TryTake();
      }
    }
    if (journaling && !batch.folders.empty())
      batch.durable_at = options_.journal->RequestDurable();
    Restore(worker, on_its_way);
    if (journaling && !batch.holds_cursor)
      on_its_way = std::move(batch);
    else
      Restore(worker, batch);
  }
}

void TreeWalk::Restore(Worker& worker, Batch& batch) {
  // Nothing is renamed before what the journal says of it is on disk; a journal that cannot be
  // written stops the run before these renames. After a stop nothing more is renamed, so there
  // is nothing to wait for.
  if (batch.durable_at != 0 && !stop_ && !options_.journal->WaitDurable(batch.durable_at))
    stop_ = true;
  for (Prepared& p : batch.folders) {
    RestoreFolder(p.folder ? *p.folder : *worker.cursor, *p.node, p.intents);
    Finish(*p.node);
  }
  batch = Batch{};
}

void TreeWalk::WorkCatching() {
  try {
    Work();
  } catch (...) {
    // The other workers stop at their next entry; the walk hands the failure on once they have.
    const std::lock_guard lock(mutex_);
    if (!failure_)
      failure_ = std::current_exception();
    done_ = true;
    changed_.notify_all();
  }
}

TreeWalk::NodePtr TreeWalk::Take(bool wait) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (stop_ || done_)
      return nullptr;
    if (!waiting_.empty()) {
      auto it = std::prev(waiting_.end());
      // Too much is waiting for an earlier folder: only that folder may be started now.
      if (held_ >= options_.held_limit)
        it = std::find(waiting_.begin(), waiting_.end(), head_);
      if (it != waiting_.end()) {
        NodePtr node = std::move(*it);
        waiting_.erase(it);
        node->state = Node::State::kTaken;
        ++busy_;
        return node;
      }
    } else if (busy_ == 0) {
      done_ = true;
      changed_.notify_all();
      return nullptr;
    }
    if (!wait)
      return nullptr;
    changed_.wait(lock);
  }
}

bool TreeWalk::Prepare(Worker& worker, Node& node) {
  if (!worker.cursor) {
    SystemError why;
    worker.cursor = fs_.OpenTree(root_path_, &why);
    if (!worker.cursor) {
      if (&node == root_.get() && why.code != 0)
        node.skipped = std::move(why);
      return false;
    }
    worker.at = {root_};
  }
  // The root's pass follows its listing at once; every other folder is a step further.
  if (&node != root_.get()) {
    pump_.PumpEvents();
    if (stop_)
      return false;
  }
  if (!Navigate(worker, node))
    return false;
  SystemError why;
  std::vector<DirEntry> entries;
  if (!worker.cursor->List(entries, &why)) {
    node.skipped = std::move(why);
    return false;
  }
  pump_.PumpEvents();
  if (stop_)
    return false;

  int links = 0;
  std::vector<NodePtr> children;
  for (const DirEntry& e : entries) {
    if (IsWalkedFolder(e)) {
      auto child = std::make_shared<Node>();
      child->parent = &node;
      child->index = children.size();
      child->name = e.name;
      // The child's path is its parent's, the name and one separator, as typed: not normalised.
      child->path = node.path + e.name + style_.separator;
      children.push_back(std::move(child));
    } else if (e.is_link && e.leads_to_folder && !e.name.starts_with('.')) {
      ++links;
    }
  }
  node.entries = std::move(entries);
  {
    // Known before the folder's own pass, so that other workers can go on below it.
    const std::lock_guard lock(mutex_);
    node.links = links;
    node.children = children;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      waiting_.push_back(*it);
  }
  if (!children.empty())
    changed_.notify_all();
  return true;
}

// The renames the pass will try, found as the pass finds them.
std::size_t TreeWalk::WriteDown(Node& node, std::vector<std::uint64_t>& ids) {
  ids.clear();
  if (style_.skips_rootless_folders && node.path.starts_with(style_.separator))
    return 0;
  std::vector<std::string> restored;
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < node.entries.size(); ++i) {
    const DirEntry& entry = node.entries[i];
    if (entry.is_folder && !entry.name.starts_with('.'))
      continue;
    // Most names do not end in ".qjd" in any case: they need no lower-casing here. (Were a
    // name to lower-case into a candidate all the same, the pass would meet a rename not written
    // down and stop the run there.)
    if (!EndsWithAsciiNoCase(entry.name, ".qjd"))
      continue;
    const std::string lower = fs_.ToLower(entry.name);
    if (const std::size_t p = CandidateMarker(lower)) {
      std::string name(RestoredName(lower, p));
      if (!IsDotName(lower) && !IsDotName(name)) {
        restored.push_back(std::move(name));
        at.push_back(i);
      }
    }
  }
  if (at.empty())
    return 0;
  std::vector<Intent> intents;
  intents.reserve(at.size());
  for (std::size_t k = 0; k < at.size(); ++k)
    intents.push_back({node.entries[at[k]].name, restored[k]});
  std::vector<std::uint64_t> numbers;
  if (!options_.journal->Intend(node.path, intents, numbers)) {
    // What cannot be written down is not renamed: the run stops before it.
    stop_ = true;
    return 0;
  }
  ids.assign(node.entries.size(), 0);
  for (std::size_t k = 0; k < at.size(); ++k)
    ids[at[k]] = numbers[k];
  return at.size();
}

bool TreeWalk::Navigate(Worker& worker, Node& node) {
  // The folders from the root to `node`: alive while `node` is in hand, as the head never passes
  // a folder before everything below it is finished.
  std::vector<NodePtr> chain;
  for (Node* n = &node; n; n = n->parent)
    chain.push_back(n->shared_from_this());
  std::reverse(chain.begin(), chain.end());

  std::size_t common = 0;
  while (common < worker.at.size() && common < chain.size() && worker.at[common] == chain[common])
    ++common;
  while (worker.at.size() > common) {
    worker.cursor->Leave();
    worker.at.pop_back();
  }
  for (std::size_t i = common; i < chain.size(); ++i) {
    EnterResult entered = worker.cursor->Enter(chain[i]->name);
    if (!entered) {
      // A link is passed over on purpose; a folder gone, or no longer one, is said to be skipped.
      // With several workers a folder on the way may have changed since it was listed: the
      // folder below it is then out of reach the same way.
      const std::lock_guard lock(mutex_);
      if (entered.kind == EnterResult::kLink)
        node.links = 1;
      else
        node.skipped = std::move(entered.error);
      return false;
    }
    worker.at.push_back(chain[i]);
  }
  return true;
}

void TreeWalk::RestoreFolder(Folder& folder,
                             Node& node,
                             const std::vector<std::uint64_t>& intents) {
  // Windows: a folder path that begins with the separator is a share or rootless path, left
  // alone; its subfolders are still walked.
  if (style_.skips_rootless_folders && node.path.starts_with(style_.separator))
    return;
  std::unordered_set<std::string> claimed;  // preview: names taken earlier in this folder
  std::vector<Item> local;
  std::vector<RenameOutcome> outcomes;  // told to the journal once for the folder
  const auto publish = [&] {
    if (!outcomes.empty())
      options_.journal->Outcomes(outcomes);
    Publish(node, local);
  };
  for (std::size_t i = 0; i < node.entries.size(); ++i) {
    if (stop_) {
      publish();
      return;
    }
    pump_.PumpEvents();
    DirEntry& entry = node.entries[i];
    if (entry.is_folder && !entry.name.starts_with('.'))
      continue;
    std::string lower = fs_.ToLower(entry.name);
    if (IsDotName(lower))
      continue;
    pump_.PumpEvents();

    Item item{static_cast<std::uint32_t>(i), nullptr};
    if (const std::size_t p = CandidateMarker(lower)) {
      const std::string restored(RestoredName(lower, p));
      auto row = std::make_unique<Row>();
      row->new_path = EntryPath(node.path, restored, style_.separator);
      // The source is the name as found: on a case-sensitive file system the lower-cased name may
      // name nothing, or another file.
      if (IsDotName(restored)) {
        row->failure = Refused(Refusal::kDotName);
      } else if (options_.operation == Operation::kPreview) {
        row->failure = folder.CheckRename(entry.name, restored, claimed.contains(restored));
        if (row->failure.ok())
          claimed.insert(restored);
      } else if (options_.journal && (intents.empty() || intents[i] == 0)) {
        // Never renamed without being written down first: the run stops here.
        stop_ = true;
        publish();
        return;
      } else {
        row->failure = folder.Rename(entry.name, restored);
        if (options_.journal)
          outcomes.push_back({intents[i], row->failure.ok()});
      }
      const bool ok = row->failure.ok();
      if (options_.operation == Operation::kPreview)
        row->status = ok ? RowStatus::kWouldRestore : RowStatus::kConflict;
      else
        row->status = ok ? RowStatus::kRestored : RowStatus::kFailed;
      if (entry.name != lower)
        row->found_name = entry.name;
      row->old_name = lower;
      item.row = std::move(row);
    }
    // From here on only the lower-cased name is wanted: for the status label.
    entry.name = std::move(lower);
    Deliver(node, std::move(item), local);
  }
  publish();
  pump_.PumpEvents();
}

void TreeWalk::Deliver(Node& node, Item item, std::vector<Item>& local) {
  local.push_back(std::move(item));
  if (node.head.load(std::memory_order_acquire) || local.size() >= kPublishEvery)
    Publish(node, local);
}

void TreeWalk::Publish(Node& node, std::vector<Item>& local) {
  if (local.empty())
    return;
  const std::lock_guard lock(mutex_);
  if (node.head) {
    for (Item& item : local)
      Emit(node, item);
  } else {
    held_ += local.size();
    std::move(local.begin(), local.end(), std::back_inserter(node.held));
  }
  local.clear();
}

void TreeWalk::Finish(Node& node) {
  {
    const std::lock_guard lock(mutex_);
    node.state = Node::State::kFinished;
    --busy_;
    Advance();
  }
  changed_.notify_all();
}

void TreeWalk::Emit(Node& node, Item& item) {
  sink_.Examined(node.path, node.entries[item.entry].name, item.row.get());
}

void TreeWalk::Advance() {
  while (head_) {
    Node& head = *head_;
    if (!head.head) {
      head.head.store(true, std::memory_order_release);
      for (Item& item : head.held)
        Emit(head, item);
      held_ -= head.held.size();
      head.held.clear();
      head.held.shrink_to_fit();
    }
    if (head.state != Node::State::kFinished)
      return;
    if (head.skipped)
      sink_.Skipped(head.path, std::move(*head.skipped));
    if (head.links > 0)
      sink_.LinksNotFollowed(head.links);
    head.entries.clear();
    head.entries.shrink_to_fit();
    head_ = Next(head);
  }
}

TreeWalk::NodePtr TreeWalk::Next(Node& node) {
  if (!node.children.empty())
    return node.children.front();
  // Everything below `n` has gone to the sink: its folders can go too.
  for (Node* n = &node; n->parent; n = n->parent) {
    Node& parent = *n->parent;
    const std::size_t next = n->index + 1;
    n->children.clear();
    if (next < parent.children.size())
      return parent.children[next];
  }
  return nullptr;
}

}  // namespace korvane
