#include "engine/tree_walk.h"

#include <algorithm>
#include <optional>
#include <thread>
#include <utility>

#include "engine/cursor_path.h"
#include "engine/folder_pass.h"

namespace korvane {
namespace {

// Subfolders the walk descends into: real folders, not links, not hidden (".svn" and the like).
bool IsWalkedFolder(const Listing::Entry& e, std::string_view name) {
  return e.is_folder && !e.is_link && !name.starts_with('.');
}

// With a journal, folders are listed and their renames written down in batches; a batch is
// renamed once what it wrote down is on disk. These bound a batch (and so how much each sync
// carries); a worker holds at most two: one on its way to disk, one being prepared.
constexpr std::size_t kIntentsPerSync = 512;
constexpr std::size_t kFoldersPerSync = 32;

}  // namespace

struct TreeWalk::Node : PreOrder::Folder {
  std::string name;  // as found on disk
  std::string path;  // as the report shows it, ending in the separator
  // Filled by the one worker in hand of the folder before it hands anything on; read by the sink
  // with the lock held. The plan's names are the listing's.
  Listing listing;
  std::vector<PlannedEntry> plan;
  std::optional<SystemError> skipped;
  int links = 0;
};

// A worker's position: its own cursor in the tree.
struct TreeWalk::Worker {
  std::optional<CursorPath> path;
};

// A folder's pass hands its results to the walk's order.
class TreeWalk::Output final : public PassResults {
 public:
  Output(TreeWalk& walk, Node& node) : walk_(walk), node_(node) {}
  bool Eager() const override { return PreOrder::HasTurn(node_); }
  void HandOn(std::vector<WalkResult>& results) override {
    const std::lock_guard lock(walk_.mutex_);
    walk_.order_.HandOn(node_, results);
  }

 private:
  TreeWalk& walk_;
  Node& node_;
};

// A folder listed and planned, ready for its pass, and where its renames are made.
struct TreeWalk::Listed {
  NodePtr node;
  std::unique_ptr<Folder> folder;  // held apart, as the cursor moves on; null: the cursor's own
};

// Folders listed together, and the journal's mark for what they wrote down.
struct TreeWalk::Batch {
  std::vector<Listed> folders;
  std::size_t intents = 0;
  std::uint64_t durable_at = 0;
  bool holds_cursor = false;  // a folder could not be held apart: the cursor must stay there
};

TreeWalk::TreeWalk(FileSystem& fs,
                   WalkSink& sink,
                   std::atomic<bool>& stop,
                   const WalkOptions& options)
    : fs_(fs),
      sink_(sink),
      stop_(stop),
      options_(options),
      style_(fs.Style()),
      order_(*this, options.held_limit) {}

TreeWalk::~TreeWalk() = default;

void TreeWalk::Run(const std::string& root) {
  root_path_ = root;
  root_ = std::make_shared<Node>();
  root_->path = root;
  waiting_ = {root_};
  {
    // The root's results go out as they come.
    const std::lock_guard lock(mutex_);
    order_.Begin(root_);
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
    order_.Finished(*node);
  waiting_.clear();
}

void TreeWalk::Work() {
  Worker worker;
  const bool journaling = options_.journal && options_.operation == Operation::kRestore;
  // With a journal, the batch written down last is on its way to disk while the next is listed
  // and written down, so that the wait for the disk overlaps the work.
  Batch on_its_way;
  for (;;) {
    NodePtr node = Take(on_its_way.folders.empty());
    if (!node && on_its_way.folders.empty())
      return;
    Batch batch;
    while (node) {
      if (List(worker, *node)) {
        Listed& listed = batch.folders.emplace_back();
        listed.node = std::move(node);
        if (journaling) {
          listed.folder = worker.path->cursor().Pin();
          batch.holds_cursor = !listed.folder;
          batch.intents += WriteDown(*listed.node);
        }
      } else {
        FolderDone(*node);
      }
      node = nullptr;
      if (journaling && !batch.holds_cursor && batch.intents < kIntentsPerSync &&
          batch.folders.size() < kFoldersPerSync) {
        node = Take(false);
      }
    }
    if (journaling && !batch.folders.empty())
      batch.durable_at = options_.journal->RequestDurable();
    PassBatch(worker, on_its_way);
    if (journaling && !batch.holds_cursor)
      on_its_way = std::move(batch);
    else
      PassBatch(worker, batch);
  }
}

void TreeWalk::PassBatch(Worker& worker, Batch& batch) {
  // Nothing is renamed before what the journal says of it is on disk; a journal that cannot be
  // written stops the run before these renames. After a stop nothing more is renamed, so there
  // is nothing to wait for.
  if (batch.durable_at != 0 && !stop_ && !options_.journal->WaitDurable(batch.durable_at))
    stop_ = true;
  const PassSettings settings{options_.operation, options_.naming, options_.journal,
                              style_.separator, options_.row_names};
  for (Listed& listed : batch.folders) {
    Node& node = *listed.node;
    Output out(*this, node);
    RestoreFolder(listed.folder ? *listed.folder : worker.path->cursor(), node.path, node.plan,
                  settings, stop_, out);
    FolderDone(node);
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
    stop_ = true;
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
      if (order_.full())
        it = std::find_if(waiting_.begin(), waiting_.end(),
                          [&](const NodePtr& n) { return n.get() == order_.turn(); });
      if (it != waiting_.end()) {
        NodePtr node = std::move(*it);
        waiting_.erase(it);
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

bool TreeWalk::List(Worker& worker, Node& node) {
  if (!worker.path) {
    SystemError why;
    std::unique_ptr<FolderCursor> cursor = fs_.OpenTree(root_path_, why);
    if (!cursor) {
      if (&node == root_.get() && why.code != 0)
        node.skipped = std::move(why);
      return false;
    }
    worker.path.emplace(std::move(cursor));
  }
  if (stop_ || !StepInto(worker, node))
    return false;
  const Listing& listing = node.listing;
  if (FsResult listed = worker.path->cursor().List(node.listing); !listed.ok()) {
    node.skipped = std::move(listed.error);
    return false;
  }
  if (stop_)
    return false;

  int links = 0;
  std::vector<PreOrder::FolderPtr> children;
  for (const Listing::Entry& e : listing.entries()) {
    const std::string_view name = listing.name(e);
    if (IsWalkedFolder(e, name)) {
      auto child = std::make_shared<Node>();
      child->parent = &node;
      child->index = children.size();
      child->name = name;
      // The child's path is its parent's, the name and one separator, as typed: not normalised.
      child->path.reserve(node.path.size() + name.size() + 1);
      child->path.append(node.path).append(name).push_back(style_.separator);
      children.push_back(std::move(child));
    } else if (e.is_link && e.leads_to_folder && !name.starts_with('.')) {
      ++links;
    }
  }
  node.plan = PlanFolder(listing, node.path, fs_, options_.naming);
  {
    // Known before the folder's own pass, so that other workers can go on below it.
    const std::lock_guard lock(mutex_);
    node.links = links;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      waiting_.push_back(std::static_pointer_cast<Node>(*it));
    order_.Listed(node, std::move(children));
  }
  changed_.notify_all();
  // Once other workers can go on below it: comparing the files of taken names may take a while.
  SettleTakenNames(node.plan, worker.path->cursor(), fs_, options_.naming, stop_);
  return true;
}

bool TreeWalk::StepInto(Worker& worker, Node& node) {
  // The names from the root down to `node`. Its folders are alive while `node` is in hand, as the
  // turn never passes a folder before everything below it is finished.
  std::vector<std::string_view> steps;
  for (const PreOrder::Folder* n = &node; n->parent; n = n->parent)
    steps.push_back(static_cast<const Node*>(n)->name);
  std::reverse(steps.begin(), steps.end());
  FsResult entered = worker.path->MoveTo(steps);
  if (entered.ok())
    return true;
  // A link is passed over on purpose; a folder gone, or no longer one, is said to be skipped.
  // With several workers a folder on the way may have changed since it was listed: the folder
  // below it is then out of reach the same way.
  const std::lock_guard lock(mutex_);
  if (entered.refusal == Refusal::kLink)
    node.links = 1;
  else
    node.skipped = std::move(entered.error);
  return false;
}

std::size_t TreeWalk::WriteDown(Node& node) {
  std::vector<Intent> intents;
  for (const PlannedEntry& p : node.plan) {
    if (p.tried())
      intents.push_back({p.found, p.restored});
  }
  if (intents.empty())
    return 0;
  std::vector<std::uint64_t> numbers;
  if (!options_.journal->Intend(node.path, intents, numbers)) {
    // What cannot be written down is not renamed: the run stops before it.
    stop_ = true;
    return 0;
  }
  std::size_t k = 0;
  for (PlannedEntry& p : node.plan) {
    if (p.tried())
      p.intent = numbers[k++];
  }
  return intents.size();
}

void TreeWalk::FolderDone(Node& node) {
  {
    const std::lock_guard lock(mutex_);
    --busy_;
    order_.Finished(node);
  }
  changed_.notify_all();
}

void TreeWalk::HandOn(PreOrder::Folder& folder, WalkResult& result) {
  const Node& node = static_cast<const Node&>(folder);
  sink_.Examined(node.path, node.plan[result.entry].lower_name(), result.row.get());
}

void TreeWalk::Closed(PreOrder::Folder& folder) {
  Node& node = static_cast<Node&>(folder);
  if (node.skipped)
    sink_.Skipped(node.path, std::move(*node.skipped));
  if (node.links > 0)
    sink_.LinksNotFollowed(node.links);
  node.plan = {};
  node.listing = {};
}

}  // namespace korvane
