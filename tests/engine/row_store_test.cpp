#include "engine/row_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane {
namespace {

TEST(RowStoreTest, KeysNameRowsByNumber) {
  EXPECT_EQ(RowNumberFromKey("a1"), 1);
  EXPECT_EQ(RowNumberFromKey("a120"), 120);
  EXPECT_EQ(RowNumberFromKey("a0"), 0);
  EXPECT_EQ(RowNumberFromKey("b1"), 0);
  EXPECT_EQ(RowNumberFromKey("a"), 0);
  EXPECT_EQ(RowNumberFromKey("a1x"), 0);
  EXPECT_EQ(RowNumberFromKey("a-1"), 0);
}

TEST(RowStoreTest, CellsAndColourGoToTheNamedRowOnly) {
  RowStore store;
  EXPECT_EQ(store.status_text(), "未开始");
  EXPECT_EQ(store.summary_text(), "-");
  store.AddRow("a1", "1");
  store.AddRow("a2", "2");
  store.SetSubItem("a2", 1, "失败");
  store.SetSubItemColour(2, kFailColour);
  store.SetSubItem("a1", 4, "-");
  store.SetSubItem("a9", 1, "ignored");  // no such row
  store.SetSubItem("a1", 5, "ignored");  // no such cell
  store.SetSubItemColour(0, kFailColour);
  ASSERT_EQ(store.RowCount(), 2);
  EXPECT_EQ(store.rows()[0].cells[kColNote], "-");
  EXPECT_FALSE(store.rows()[0].failed);
  EXPECT_EQ(store.rows()[1].cells[kColStatus], "失败");
  EXPECT_TRUE(store.rows()[1].failed);
  store.RemoveAllRows();
  EXPECT_EQ(store.RowCount(), 0);
}

TEST(RowStreamTest, HandsOnEachRowWhenComplete) {
  std::vector<std::pair<int, Row>> seen;
  std::vector<std::string> labels;
  RowStream stream({[&](int n, const Row& r) { seen.emplace_back(n, r); },
                    [&](std::string_view t) { labels.emplace_back(t); },
                    [&](std::string_view t) { labels.emplace_back(t); }});
  stream.AddRow("a1", "1");
  stream.SetSubItem("a1", 1, "成功");
  EXPECT_TRUE(seen.empty());  // still being filled
  stream.AddRow("a2", "2");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].second.cells[kColStatus], "成功");
  stream.SetSubItemColour(2, kFailColour);
  stream.SetStatusText("path");  // a label write completes the row before it
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[1].second.failed);
  EXPECT_EQ(seen[1].first, 2);
  EXPECT_EQ(stream.RowCount(), 2);
  stream.Flush();
  EXPECT_EQ(seen.size(), 2u);  // nothing pending
  EXPECT_EQ(labels, std::vector<std::string>{"path"});
}

}  // namespace
}  // namespace korvane
