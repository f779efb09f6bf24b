// The walk's results in pre-order, whatever the number of workers and however little may be held
// for folders ahead of their turn: on real trees shaped to make the workers race.
#include "engine/pre_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/tree_walk.h"
#include "platform/native.h"
#include "tests/support/sandbox.h"

namespace korvane {
namespace {

// Every examined entry, skip and link count, in the order the walk hands them on.
class RecordingSink final : public WalkSink {
 public:
  void Examined(std::string_view folder, std::string_view lower_name, Row* row) override {
    std::string line = std::string(folder) + std::string(lower_name);
    if (row)
      line += row->status == RowStatus::kWouldRestore ? " -> " + row->new_path : " conflict";
    lines.push_back(std::move(line));
  }
  void Skipped(std::string_view folder, SystemError /*why*/) override {
    lines.push_back("skipped " + std::string(folder));
  }
  void LinksNotFollowed(int count) override { lines.push_back("links " + std::to_string(count)); }

  std::vector<std::string> lines;
};

struct Shape {
  const char* name;
  std::function<void(testing::Sandbox&)> make;
  std::size_t largest_folder;  // entries of the largest folder
};

void Files(testing::Sandbox& sb, const std::string& folder, int count) {
  for (int i = 0; i < count; ++i)
    sb.File(folder + "f" + std::to_string(i) + (i % 3 ? ".txt" : ".txt.2011.qjd"));
}

const Shape kShapes[] = {
    // The first folder takes one worker for long while the others run far ahead of it.
    {"a huge first folder",
     [](testing::Sandbox& sb) {
       Files(sb, "a/", 1200);
       for (int i = 0; i < 40; ++i)
         Files(sb, "b" + std::to_string(100 + i) + "/", 3);
     },
     1200},
    {"a deep chain",
     [](testing::Sandbox& sb) {
       std::string folder;
       for (int i = 0; i < 60; ++i) {
         folder += "d" + std::to_string(i) + "/";
         Files(sb, folder, 2);
         sb.File(folder.substr(0, folder.size() - 1) + "-side/x.txt.2011.qjd");
       }
     },
     3},
    {"a wide fan",
     [](testing::Sandbox& sb) {
       for (int i = 0; i < 150; ++i)
         Files(sb, "w" + std::to_string(1000 + i) + "/", 2);
     },
     2},
};

TEST(PreOrderTest, EveryWorkerCountAndHeldLimitGivesTheOneWorkerOrder) {
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const auto walk = [&](const std::string& root, int jobs, std::size_t held_limit,
                        std::size_t* peak) {
    RecordingSink sink;
    std::atomic<bool> stop{false};
    TreeWalk w(*fs, sink, stop,
               {.operation = Operation::kPreview, .jobs = jobs, .held_limit = held_limit});
    w.Run(root);
    if (peak)
      *peak = w.held_peak();
    return sink.lines;
  };
  for (const Shape& shape : kShapes) {
    testing::Sandbox sb;
    shape.make(sb);
    const std::vector<std::string> one = walk(sb.RunPath(), 1, 1 << 16, nullptr);
    ASSERT_GT(one.size(), 100u) << shape.name;
    for (const int jobs : {2, 4, 8}) {
      for (const std::size_t limit : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 16}) {
        std::size_t peak = 0;
        EXPECT_EQ(walk(sb.RunPath(), jobs, limit, &peak), one)
            << shape.name << ", " << jobs << " jobs, held limit " << limit;
        // Once the limit is reached no further folder is started ahead of its turn: only those
        // already in hand add to what is held.
        EXPECT_LE(peak, limit + static_cast<std::size_t>(jobs) * shape.largest_folder)
            << shape.name << ", " << jobs << " jobs, held limit " << limit;
        if (limit < shape.largest_folder && std::string_view(shape.name) == "a huge first folder") {
          EXPECT_GE(peak, limit) << jobs << " jobs: the limit was never reached";
        }
      }
    }
  }
}

}  // namespace
}  // namespace korvane
