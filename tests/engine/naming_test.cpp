// The names files get back, on real files: in lower case or as found, never two names that differ
// only in case, conflicts saying whether the file holding the name is a copy, and a copy of its
// own kept apart under a numbered name. Each way of naming is previewed, run and undone.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

// What became of one protected file: the name it has afterwards, and its row's note.
struct Outcome {
  std::string name;  // where it is after the run (its own name when refused)
  std::string note;
};

class NamingTest : public testing::RunFixture {
 protected:
  // The tree every case starts from: the names a real share holds.
  void MakeTree() {
    sb.File("Q3 Report.DOCX.2011.qjd", "q3");
    sb.File("IMG_0001.JPG.2016.qjd", "img");
    sb.File("合同.pdf.2013.qjd", "new contract");
    sb.File("合同.PDF", "old contract");  // the name taken in another case, by other bytes
    sb.File("Copy.txt.2011.qjd", "same");
    sb.File("copy.txt", "same");  // a copy restored earlier by hand
    sb.File("Σ.txt.2011.qjd", "sigma");
    sb.File("σ.txt", "other");  // the same name to the case mapping, non-ASCII
    sb.File("notes.2011.qjd", "mine");
    sb.File("notes", "theirs");
    sb.File("notes (2)", "also theirs");  // the first numbered name is taken too
    sb.File("sub/Plan.DWG.2014.qjd", "plan");
    // Twins: two protected files that restore to one name in two cases.
    sb.File("twins/Ä.doc.2011.qjd", "upper");
    sb.File("twins/ä.DOC.2012.qjd", "lower");
  }

  // The rows by the name found, with their status and new path's last name; the twins apart.
  std::map<std::string, testing::TextRow> Rows() const {
    std::map<std::string, testing::TextRow> rows;
    for (const testing::TextRow& r : report.rows())
      rows[r.cells[kColOldName]] = r;
    return rows;
  }
};

TEST_F(NamingTest, EachWayOfNamingIsForetoldMadeAndUndoneExactly) {
  const char sep = fs->Style().separator;
  const std::string kept = "同名文件已存在，内容相同";
  const std::string other = "同名文件已存在，内容不同";
  const auto in_case = [](std::string_view holder, std::string_view content) {
    return "已有只是大小写不同的“" + std::string(holder) + "”，Windows 视为同名，" +
           std::string(content);
  };
  const auto both = [](std::string_view taken) {
    return "同名的“" + std::string(taken) + "”内容不同，两个都保留";
  };
  const struct {
    const char* what;
    NamingOptions naming;
    std::map<std::string, Outcome> files;  // by the name found; a success's note is "-"
  } cases[] = {
      {"lower case, as designed",
       {},
       {{"Q3 Report.DOCX.2011.qjd", {"q3 report.docx", "-"}},
        {"IMG_0001.JPG.2016.qjd", {"img_0001.jpg", "-"}},
        {"合同.pdf.2013.qjd", {"合同.pdf.2013.qjd", in_case("合同.PDF", "内容不同")}},
        {"Copy.txt.2011.qjd", {"Copy.txt.2011.qjd", kept}},
        {"Σ.txt.2011.qjd", {"Σ.txt.2011.qjd", other}},
        {"notes.2011.qjd", {"notes.2011.qjd", other}},
        {"Plan.DWG.2014.qjd", {"plan.dwg", "-"}}}},
      {"the case as found",
       {.keep_case = true},
       {{"Q3 Report.DOCX.2011.qjd", {"Q3 Report.DOCX", "-"}},
        {"IMG_0001.JPG.2016.qjd", {"IMG_0001.JPG", "-"}},
        {"合同.pdf.2013.qjd", {"合同.pdf.2013.qjd", in_case("合同.PDF", "内容不同")}},
        {"Copy.txt.2011.qjd", {"Copy.txt.2011.qjd", in_case("copy.txt", "内容相同")}},
        {"Σ.txt.2011.qjd", {"Σ.txt.2011.qjd", in_case("σ.txt", "内容不同")}},
        {"notes.2011.qjd", {"notes.2011.qjd", other}},
        {"Plan.DWG.2014.qjd", {"Plan.DWG", "-"}}}},
      {"both kept, in lower case",
       {.keep_both = true},
       {{"Q3 Report.DOCX.2011.qjd", {"q3 report.docx", "-"}},
        {"IMG_0001.JPG.2016.qjd", {"img_0001.jpg", "-"}},
        {"合同.pdf.2013.qjd", {"合同 (2).pdf", both("合同.pdf")}},
        {"Copy.txt.2011.qjd", {"Copy.txt.2011.qjd", kept}},  // a copy: no second one
        {"Σ.txt.2011.qjd", {"σ (2).txt", both("σ.txt")}},
        {"notes.2011.qjd", {"notes (3)", both("notes")}},
        {"Plan.DWG.2014.qjd", {"plan.dwg", "-"}}}},
      {"both kept, in the case as found",
       {.keep_case = true, .keep_both = true},
       {{"Q3 Report.DOCX.2011.qjd", {"Q3 Report.DOCX", "-"}},
        {"IMG_0001.JPG.2016.qjd", {"IMG_0001.JPG", "-"}},
        {"合同.pdf.2013.qjd", {"合同 (2).pdf", both("合同.pdf")}},
        {"Copy.txt.2011.qjd", {"Copy.txt.2011.qjd", in_case("copy.txt", "内容相同")}},
        {"Σ.txt.2011.qjd", {"Σ (2).txt", both("Σ.txt")}},
        {"notes.2011.qjd", {"notes (3)", both("notes")}},
        {"Plan.DWG.2014.qjd", {"Plan.DWG", "-"}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(sb.root());
    std::filesystem::create_directories(sb.root());
    std::filesystem::remove(testing::FromUtf8(journal));
    MakeTree();
    const auto before = sb.Snapshot();

    // The preview foretells every row of the run, and changes nothing.
    ASSERT_EQ(restorer.Run({.operation = Operation::kPreview,
                            .folder = sb.RunPath(),
                            .naming = c.naming,
                            .jobs = 1}),
              RunOutcome::kFinished);
    EXPECT_EQ(sb.Snapshot(), before);
    const std::vector<testing::TextRow> foretold = report.rows();

    ASSERT_EQ(testing::RestoreJournaled(restorer, sb.RunPath(), journal, 1, c.naming),
              RunOutcome::kFinished);
    ASSERT_EQ(report.rows().size(), foretold.size());
    for (std::size_t i = 0; i < foretold.size(); ++i) {
      const testing::TextRow& f = foretold[i];
      const testing::TextRow& r = report.rows()[i];
      EXPECT_EQ(f.cells[kColStatus] == "将还原", r.cells[kColStatus] == "成功");
      EXPECT_EQ(f.cells[kColNewPath], r.cells[kColNewPath]);
      EXPECT_EQ(f.cells[kColNote], r.cells[kColNote]);
    }

    const auto after = sb.Snapshot();
    const auto rows = Rows();
    for (const auto& [found, outcome] : c.files) {
      SCOPED_TRACE(found);
      // 旧文件名 is the lower-cased name, or with the case kept the name as found.
      const std::string shown = c.naming.keep_case ? found : fs->ToLower(found);
      ASSERT_TRUE(rows.contains(shown));
      const testing::TextRow& row = rows.at(shown);
      EXPECT_EQ(row.cells[kColNote], outcome.note);
      EXPECT_EQ(row.cells[kColStatus],
                outcome.note == "-" || outcome.note.starts_with("同名的“") ? "成功" : "失败");
      const std::string folder = found.starts_with("Plan") ? "sub" : "";
      if (outcome.name != found) {
        EXPECT_EQ(row.cells[kColNewPath],
                  sb.RunPath() + (folder.empty() ? "" : folder + sep) + outcome.name);
      }
      const std::string at = folder.empty() ? "" : folder + "/";
      EXPECT_EQ(after.at(at + outcome.name), before.at(at + found));
    }
    // Of the twins, the first listed gets the name; the second, whose bytes differ, is refused,
    // or kept apart under a number of its own.
    std::vector<const testing::TextRow*> twins;
    for (const testing::TextRow& r : report.rows())
      if (r.cells[kColNewPath].find(std::string("twins") + sep) != std::string::npos)
        twins.push_back(&r);
    ASSERT_EQ(twins.size(), 2u);
    EXPECT_EQ(twins[0]->cells[kColStatus], "成功");
    const std::string first =
        twins[0]->cells[kColNewPath].substr(twins[0]->cells[kColNewPath].rfind(sep) + 1);
    if (c.naming.keep_both) {
      EXPECT_EQ(twins[1]->cells[kColStatus], "成功");
      EXPECT_TRUE(twins[1]->cells[kColNewPath].ends_with(NumberedName(
          RestoredAsFound(c.naming.keep_case ? twins[1]->cells[kColOldName]
                                             : fs->ToLower(twins[1]->cells[kColOldName])),
          2)));
    } else {
      EXPECT_EQ(twins[1]->cells[kColStatus], "失败");
      EXPECT_EQ(twins[1]->cells[kColNote],
                "同一文件夹中排在前面的文件还原为“" + first + "”，此文件无法还原，内容不同");
    }
    // No folder holds two names that differ only in case but for those that did before.
    for (const std::string folder : {"", "twins/"}) {
      std::map<std::string, int> folded;
      for (const auto& [path, content] : after)
        if (path.starts_with(folder) && path.find('/', folder.size()) == std::string::npos)
          ++folded[fs->ToLower(path)];
      for (const auto& [name, count] : folded)
        EXPECT_EQ(count, 1) << name;
    }

    // Undone from its journal, the tree is exactly as it was.
    EXPECT_EQ(testing::UndoJournaled(restorer, *fs, journal), RunOutcome::kFinished);
    EXPECT_EQ(restorer.totals().failed, 0);
    EXPECT_EQ(sb.Snapshot(), before);
  }
}

// Comparing a large copy is stopped between its pieces, not after its last byte.
TEST_F(NamingTest, AStopIsObeyedWithinALargeFile) {
  const std::string big(4 << 20, 'x');
  sb.File("big.bin.2011.qjd", big);
  sb.File("big.bin", big);
  hooks.at = [this](int) {
    if (hooks.reads == 4)
      restorer.Stop();
  };
  EXPECT_EQ(Run(), RunOutcome::kInterrupted);
  hooks.at = nullptr;
  EXPECT_LT(hooks.reads, 8);  // of 128 pieces
  EXPECT_EQ(report.RowCount(), 0);
  EXPECT_TRUE(sb.Snapshot().contains("big.bin.2011.qjd"));
}

}  // namespace
}  // namespace korvane
