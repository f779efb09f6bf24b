#include "ui/row_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane::ui {
namespace {

// Rows as a run numbers them: every third one refused, every sixth for a copy.
Rows MakeRows(int count) {
  Rows rows;
  for (int n = 1; n <= count; ++n) {
    Row& r = rows.emplace_back();
    r.number = n;
    // Names whose order differs from the run's: n = 1, 2, 3 ... give 7, 4, 1 ... (mod 10).
    r.old_name = "f" + std::to_string((n * 7) % 10) + "_" + std::to_string(n) + ".2011.qjd";
    r.new_path = "C:\\d\\" + r.old_name.substr(0, r.old_name.find('.'));
    if (n % 3 == 0) {
      r.status = RowStatus::kFailed;
      r.failure = Refused(Refusal::kNameTaken);
      r.content = n % 2 == 0 ? SameContent::kSame : SameContent::kDifferent;
    }
  }
  return rows;
}

std::vector<int> Numbers(const RowOrder& order, const Rows& rows) {
  std::vector<int> numbers;
  for (int line = 0; line < order.Count(); ++line)
    numbers.push_back(rows[static_cast<std::size_t>(order.RowIndex(line))].number);
  return numbers;
}

TEST(RowOrderTest, SortsEitherWayFiltersAndKeepsEveryRowsNumber) {
  const Rows rows = MakeRows(3000);
  RowOrder order;
  order.Rebuild(rows, {}, nullptr);
  ASSERT_EQ(order.Count(), 3000);
  EXPECT_EQ(order.RowIndex(2999), 2999);
  EXPECT_EQ(order.RowIndex(3000), -1);

  order.Rebuild(rows, {kColOldName, false, RowFilter::kAll}, nullptr);
  const std::vector<int> up = Numbers(order, rows);
  ASSERT_EQ(up.size(), 3000u);
  for (std::size_t i = 1; i < up.size(); ++i) {
    const Row& a = rows[static_cast<std::size_t>(up[i - 1] - 1)];
    const Row& b = rows[static_cast<std::size_t>(up[i] - 1)];
    ASSERT_LE(a.old_name, b.old_name) << i;
  }
  order.Rebuild(rows, {kColOldName, true, RowFilter::kAll}, nullptr);
  EXPECT_EQ(Numbers(order, rows), std::vector<int>(up.rbegin(), up.rend()));

  // Only the failures, by 状态 and then in the run's order; ID gives the run's order back.
  order.Rebuild(rows, {kColId, false, RowFilter::kFailures}, nullptr);
  const std::vector<int> failed = Numbers(order, rows);
  ASSERT_EQ(failed.size(), 1000u);
  EXPECT_EQ(failed.front(), 3);
  EXPECT_EQ(failed.back(), 3000);
  order.Rebuild(rows, {kColId, true, RowFilter::kAll}, nullptr);
  EXPECT_EQ(Numbers(order, rows).front(), 3000);
  // Only the copies: refused, their name held by the same bytes.
  order.Rebuild(rows, {kColId, false, RowFilter::kSameContent}, nullptr);
  EXPECT_EQ(order.Count(), 500);
  EXPECT_EQ(Numbers(order, rows).front(), 6);

  // Rows that come during a run are added in their order, through the filter.
  Rows growing = MakeRows(10);
  order.Rebuild(growing, {kColId, false, RowFilter::kFailures}, nullptr);
  EXPECT_EQ(Numbers(order, growing), (std::vector<int>{3, 6, 9}));
  const Rows more = MakeRows(13);
  growing.insert(growing.end(), more.begin() + 10, more.end());
  order.Extend(growing);
  EXPECT_EQ(Numbers(order, growing), (std::vector<int>{3, 6, 9, 12}));
  order.Rebuild(growing, {}, nullptr);
  order.Extend(growing);
  EXPECT_EQ(order.Count(), 13);
  // The other way round after rows came is sorted anew, not the old lines reversed.
  Rows added = MakeRows(10);
  order.Rebuild(added, {kColOldName, false, RowFilter::kAll}, nullptr);
  added.insert(added.end(), more.begin() + 10, more.end());
  order.Extend(added);
  order.Rebuild(added, {kColOldName, true, RowFilter::kAll}, nullptr);
  EXPECT_EQ(Numbers(order, added), (std::vector<int>{7, 4, 11, 1, 8, 5, 2, 12, 9, 6, 3, 13, 10}));

  // The key orders the texts; equal keys keep the run's order.
  order.Rebuild(rows, {kColStatus, false, RowFilter::kAll},
                [](std::string_view s) { return std::string(s == "失败" ? "0" : "1"); });
  const std::vector<int> by_status = Numbers(order, rows);
  EXPECT_EQ(by_status[0], 3);
  EXPECT_EQ(by_status[999], 3000);
  EXPECT_EQ(by_status[1000], 1);
}

}  // namespace
}  // namespace korvane::ui
