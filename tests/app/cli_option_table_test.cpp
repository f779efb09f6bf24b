// The option table against every text that describes the options by hand: the OPTIONS sections of
// both manual pages and the bash completion. A new option, or a renamed one, fails here until they
// all say so.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli_option_table.h"

namespace korvane {
namespace {

std::vector<std::string> SourceLines(const std::string& relative) {
  std::ifstream in(std::string(KORVANE_SOURCE_DIR) + "/" + relative);
  EXPECT_TRUE(in) << relative;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The options the table lists after the positional folder.
std::vector<const OptionRow*> Options() {
  std::vector<const OptionRow*> out;
  for (const OptionRow& row : OptionTable())
    if (row.kind != OptionRow::Kind::kFolder)
      out.push_back(&row);
  return out;
}

// A .TP entry's tag as man shows it: the macro's arguments unquoted, joined as .BR and .BI join
// them (.B with spaces), fonts dropped; ".BR \\-j ", " \\-\\-jobs " \\fIN\\fR"" reads "-j, --jobs
// N", and "=" before a value reads as a space.
std::string ManualTag(const std::string& line) {
  const std::size_t space = line.find(' ');
  std::vector<std::string> args(1);
  bool quoted = false;
  for (char c : line.substr(space + 1)) {
    if (c == '"')
      quoted = !quoted;
    else if (c == ' ' && !quoted)
      args.emplace_back();
    else
      args.back() += c;
  }
  std::string tag;
  for (const std::string& arg : args)
    tag += (tag.empty() || space == 3 ? "" : " ") + arg;
  tag = std::regex_replace(tag, std::regex(R"(\\f[BIR])"), "");
  tag = std::regex_replace(tag, std::regex(R"(\\-)"), "-");
  return std::regex_replace(tag, std::regex("="), " ");
}

// The tags of the .TP entries under the heading.
std::vector<std::string> ManualOptions(const std::string& page, const std::string& heading) {
  const std::vector<std::string> lines = SourceLines(page);
  std::vector<std::string> tags;
  bool inside = false;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].starts_with(".SH "))
      inside = lines[i] == ".SH " + heading;
    if (inside && lines[i] == ".TP")
      tags.push_back(ManualTag(lines[i + 1]));
  }
  return tags;
}

TEST(OptionTableTest, ManualPagesListEachOptionAsTheTableDefinesIt) {
  std::vector<std::string> expected;
  for (const OptionRow* row : Options())
    expected.push_back(row->Synopsis());
  EXPECT_EQ(ManualOptions("packaging/korvane-restore.1.in", "OPTIONS"), expected);
  EXPECT_EQ(ManualOptions("packaging/korvane-restore.zh_CN.1.in", "选项"), expected);
  EXPECT_EQ(ManualOptions("packaging/korvane-restore.zh_TW.1.in", "選項"), expected);
}

TEST(OptionTableTest, BashCompletionOffersEachOptionAndCompletesEachValue) {
  const std::vector<std::string> lines = SourceLines("packaging/korvane-restore.bash-completion");
  std::string offered, expected;
  // Each arm of `case "$prev"`: its names, and what it completes.
  std::map<std::string, std::string> arms;
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    std::smatch m;
    if (std::regex_search(line, m, std::regex(R"(local options=\((.*)\))")))
      offered = m[1];
    if (std::regex_match(line, m, std::regex(R"( +([-a-z| ]+)\))"))) {
      std::stringstream patterns(m[1].str());
      names.clear();
      for (std::string name; std::getline(patterns >> std::ws, name, '|');)
        names.push_back(name.substr(0, name.find_last_not_of(' ') + 1));
    } else if (!names.empty()) {
      for (const std::string& name : names)
        arms[name] += line;
    }
    if (line.find(";;") != std::string::npos)
      names.clear();
  }
  for (const OptionRow* row : Options()) {
    expected += (expected.empty() ? "" : " ") + std::string(row->long_name);
    std::vector<std::string_view> own{row->long_name};
    if (!row->short_name.empty())
      own.push_back(row->short_name);
    for (std::string_view name : own) {
      const std::string arm = arms[std::string(name)];
      SCOPED_TRACE(name);
      arms.erase(std::string(name));
      switch (row->kind) {
        case OptionRow::Kind::kChoice:
          EXPECT_NE(
              arm.find("$'" +
                       std::regex_replace(std::string(row->value), std::regex("\\|"), "\\n") + "'"),
              std::string::npos)
              << arm;
          break;
        case OptionRow::Kind::kNumber:
          EXPECT_NE(arm.find("seq 1 "), std::string::npos) << arm;
          EXPECT_NE(arm.find(std::to_string(row->max)), std::string::npos) << arm;
          break;
        case OptionRow::Kind::kFile:
          EXPECT_NE(arm.find("compgen -f"), std::string::npos) << arm;
          break;
        case OptionRow::Kind::kHelp:
        case OptionRow::Kind::kVersion:
          // Nothing follows them.
          EXPECT_NE(arm.find("return"), std::string::npos) << arm;
          EXPECT_EQ(arm.find("COMPREPLY"), std::string::npos) << arm;
          break;
        default:
          EXPECT_EQ(arm, "") << "a flag takes no value";
      }
    }
  }
  EXPECT_EQ(offered, expected);
  for (const auto& [name, arm] : arms)
    ADD_FAILURE() << "the completion knows " << name << ", the table does not";
}

}  // namespace
}  // namespace korvane
