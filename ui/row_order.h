// Which rows the report list shows, and in which order: every row as the run found them, or
// sorted by a column either way; all of them, only the failures, or only the conflicts with a
// copy. The list asks by its line;
// the rows keep their numbers whatever the order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/row_store.h"
#include "text/wording.h"

namespace korvane::ui {

// Which rows the list shows.
enum class RowFilter : std::uint8_t {
  kAll,
  kFailures,     // 失败 rows, 冲突 rows of a preview, refused undos
  kSameContent,  // of those, the ones whose name is held by a file with the same bytes: copies
};

struct ListOrder {
  int column = kColId;  // the column sorted by; ID is the run's own order
  bool descending = false;
  RowFilter filter = RowFilter::kAll;
  bool operator==(const ListOrder&) const = default;
};

// A cell's text as a key that, compared byte for byte, orders texts as the user's language does.
using SortKey = std::function<std::string(std::string_view)>;

class RowOrder {
 public:
  // Orders every row anew: after a change of order or filter, or once an undo has changed the
  // rows' states.
  void Rebuild(const Rows& rows, const ListOrder& order, const SortKey& key);
  // Takes the rows added since, in the order they came, through the filter. A run's rows come
  // in the run's order; the list is sorted again only when asked.
  void Extend(const Rows& rows);

  // How many lines the list shows.
  [[nodiscard]] int Count() const;
  // The index into the rows of the list's line `line`; -1 outside the list.
  [[nodiscard]] int RowIndex(int line) const;
  [[nodiscard]] const ListOrder& order() const { return order_; }

 private:
  ListOrder order_;
  bool identity_ = true;             // every row in the run's order: no index kept
  std::vector<std::int32_t> shown_;  // otherwise, the rows shown, line by line
  std::size_t taken_ = 0;            // rows looked at so far
  bool sorted_ = false;              // shown_ is the whole order, no rows added since
};

}  // namespace korvane::ui
