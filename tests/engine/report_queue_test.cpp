// A run's report taken from another thread while the run goes on.
#include "engine/report_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>

#include "tests/support/scripted.h"

namespace korvane {
namespace {

TEST(ReportQueueTest, RowsArriveWholeAndInOrderWhileTheRunGoesOn) {
  ReportQueue queue;
  testing::RecordingReport shown;
  std::atomic<bool> ended{false};
  std::thread run([&] {
    queue.RunStarted(Operation::kRestore, false);
    for (int n = 1; n <= 5000; ++n) {
      Row row;
      row.number = n;
      row.old_name = std::to_string(n) + ".2011.qjd";
      row.new_path = "/d/" + std::to_string(n);
      queue.RowDone(std::move(row));
      if (n % 20 == 0)
        queue.Progress("/d/" + std::to_string(n), {n, n, 0});
    }
    queue.FolderSkipped({"/d/locked", {ErrorKind::kAccessDenied, 13, "Permission denied"}});
    queue.RunEnded({Operation::kRestore, {5000, 5000, 0}, false, 1, 0});
    ended = true;
  });
  while (!ended)
    queue.DrainInto(shown);
  run.join();
  queue.DrainInto(shown);

  ASSERT_EQ(shown.RowCount(), 5000);
  for (int n = 1; n <= 5000; n += 499)
    EXPECT_EQ(shown.rows()[static_cast<std::size_t>(n) - 1].cells[kColOldName],
              std::to_string(n) + ".2011.qjd");
  EXPECT_EQ(shown.store().skipped().size(), 1u);
  EXPECT_EQ(shown.summary_text(), "扫描:5000 个，命名成功:5000 个，失败:0 个");
  EXPECT_EQ(shown.status_text(), "执行完毕.（1 个文件夹无法读取，已跳过）");
  // Progress notes not taken in time gave way to newer ones; the last one was shown.
  EXPECT_LE(shown.status_writes.size(), 251u);
}

}  // namespace
}  // namespace korvane
