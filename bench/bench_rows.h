// Rows shaped like those of a run over the benchmark trees: mixed-case names, one in fifty
// refused because the name is taken.
#pragma once

#include <cstdio>
#include <string>

#include "engine/row.h"

namespace korvane::bench {

inline Row BenchRow(int n) {
  char stem[64];
  std::snprintf(stem, sizeof stem, "file_%03d_%08x.docx", n % 100, n * 2654435761u);
  Row row;
  row.number = n;
  row.old_name = std::string(stem) + ".2011.qjd";
  row.found_name = "File_" + row.old_name.substr(5);
  row.new_path = "Z:\\tmp\\korvane-bench\\work\\Dir" + std::to_string(n % 2000) + "\\" + stem;
  if (n % 50 == 0) {
    row.status = RowStatus::kFailed;
    row.failure.refusal = Refusal::kSystem;
    row.failure.error = {ErrorKind::kNameExists, 183, "当文件已存在时，无法创建该文件。"};
  }
  return row;
}

}  // namespace korvane::bench
