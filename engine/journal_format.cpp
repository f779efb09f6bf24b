#include "engine/journal_format.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "engine/utf8.h"

namespace korvane {

void AppendJournalField(std::string& out, std::string_view field) {
  for (std::size_t i = 0; i < field.size();) {
    // Runs of printable ASCII go as they are, without decoding.
    std::size_t run = i;
    while (run < field.size() && static_cast<unsigned char>(field[run]) >= 0x20 &&
           static_cast<unsigned char>(field[run]) < 0x7F && field[run] != '\\')
      ++run;
    if (run > i) {
      out.append(field.substr(i, run - i));
      i = run;
      continue;
    }
    const std::size_t start = i;
    char32_t c;
    const bool ok = NextCodePoint(field, i, c);
    if (!ok || c < 0x20 || c == 0x7F) {
      const auto b = static_cast<unsigned char>(field[start]);
      switch (ok ? c : 0xFFFFFFFF) {
        case '\t':
          out += "\\t";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        default: {
          static constexpr char kHex[] = "0123456789ABCDEF";
          const char escaped[] = {'\\', 'x', kHex[b >> 4], kHex[b & 0xF]};
          out.append(escaped, sizeof escaped);
        }
      }
      i = start + 1;
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out.append(field.substr(start, i - start));
    }
  }
}

std::string EscapeJournalField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  AppendJournalField(out, field);
  return out;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

}  // namespace

bool UnescapeJournalField(std::string_view field, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out.push_back(field[i]);
      continue;
    }
    if (++i == field.size())
      return false;
    switch (field[i]) {
      case '\\':
        out.push_back('\\');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 'x': {
        const int hi = i + 1 < field.size() ? HexValue(field[i + 1]) : -1;
        const int lo = i + 2 < field.size() ? HexValue(field[i + 2]) : -1;
        if (hi < 0 || lo < 0)
          return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

std::string UtcTimeText(std::chrono::system_clock::time_point time) {
  using namespace std::chrono;
  const auto secs = floor<seconds>(time);
  const auto day = floor<days>(secs);
  const year_month_day ymd{day};
  const hh_mm_ss hms{secs - day};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                static_cast<int>(hms.seconds().count()));
  return buf;
}

namespace {

constexpr std::string_view kHeader = "# korvane-restore 还原日志 ";
constexpr std::string_view kVersion2 = "v2 ";
constexpr std::string_view kFolder = "# 文件夹 ";
constexpr std::string_view kOptions = "# 选项";
constexpr std::string_view kKeepCase = "keep-case";
constexpr std::string_view kKeepBoth = "keep-both";
constexpr std::string_view kEnd = "# 结束 ";
constexpr std::string_view kUndone = "# 已撤销 ";
constexpr std::string_view kReversed = "# 撤销 ";

// The tab-separated fields of a line.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t at = 0;;) {
    const std::size_t tab = line.find('\t', at);
    fields.push_back(line.substr(at, tab == std::string_view::npos ? tab : tab - at));
    if (tab == std::string_view::npos)
      return fields;
    at = tab + 1;
  }
}

bool ParseId(std::string_view text, std::uint64_t& id) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
  return ec == std::errc() && end == text.data() + text.size();
}

// The first format: each rename made, its two full paths. The new name is kept as the part of the
// target after the source's folder, so that a pair in two folders reads as the non-name it is and
// is never acted on.
bool ReadOldRecord(const std::vector<std::string_view>& f, char separator, RenameRecord& record) {
  std::string source, target;
  if (f.size() != 2 || !UnescapeJournalField(f[0], source) || !UnescapeJournalField(f[1], target) ||
      source.empty() || target.empty()) {
    return false;
  }
  const std::size_t cut = source.rfind(separator) + 1;  // 0 without a separator
  record.folder = source.substr(0, cut);
  record.found = source.substr(cut);
  record.restored = target.compare(0, cut, record.folder) == 0 ? target.substr(cut) : target;
  return true;
}

bool ReadIntent(const std::vector<std::string_view>& f, std::uint64_t& id, RenameRecord& record) {
  return f.size() == 5 && f[0] == "R" && ParseId(f[1], id) &&
         UnescapeJournalField(f[2], record.folder) && UnescapeJournalField(f[3], record.found) &&
         UnescapeJournalField(f[4], record.restored) && !record.folder.empty() &&
         !record.found.empty() && !record.restored.empty();
}

}  // namespace

std::string JournalHeader(std::chrono::system_clock::time_point start,
                          std::string_view folder,
                          const NamingOptions& naming) {
  std::string out(kHeader);
  out += kVersion2;
  out += UtcTimeText(start);
  out += '\n';
  out += kFolder;
  out += EscapeJournalField(folder);
  out += '\n';
  if (naming.keep_case || naming.keep_both) {
    out += kOptions;
    if (naming.keep_case)
      out.append(" ").append(kKeepCase);
    if (naming.keep_both)
      out.append(" ").append(kKeepBoth);
    out += '\n';
  }
  return out;
}

namespace {

void AppendNumber(std::string& out, std::uint64_t n) {
  char digits[20];
  const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
  out.append(digits, end);
}

}  // namespace

void AppendIntentLines(std::string& out,
                       std::uint64_t first_id,
                       std::string_view folder,
                       std::span<const Intent> renames) {
  // The folder is the same on every line; escaped once.
  const std::string escaped_folder = EscapeJournalField(folder);
  for (const Intent& r : renames) {
    out += "R\t";
    AppendNumber(out, first_id++);
    out += '\t';
    out += escaped_folder;
    out += '\t';
    AppendJournalField(out, r.found);
    out += '\t';
    AppendJournalField(out, r.restored);
    out += '\n';
  }
}

std::string IntentLine(std::uint64_t id,
                       std::string_view folder,
                       std::string_view found,
                       std::string_view restored) {
  std::string out;
  const Intent rename{found, restored};
  AppendIntentLines(out, id, folder, {&rename, 1});
  return out;
}

void AppendOutcomeLine(std::string& out, std::uint64_t id, bool made) {
  out += made ? "=\t" : "!\t";
  AppendNumber(out, id);
  out += '\n';
}

std::string OutcomeLine(std::uint64_t id, bool made) {
  std::string out;
  AppendOutcomeLine(out, id, made);
  return out;
}

std::string EndLine(std::chrono::system_clock::time_point end, bool interrupted) {
  return std::string(kEnd) + UtcTimeText(end) + (interrupted ? " 中断\n" : " 完成\n");
}

std::string UndoneLine(std::chrono::system_clock::time_point when) {
  return std::string(kUndone) + UtcTimeText(when) + "\n";
}

std::string ReversedLine(std::chrono::system_clock::time_point when, int count) {
  return std::string(kReversed) + UtcTimeText(when) + " " + std::to_string(count) + "\n";
}

void ReadJournalLine(std::string_view line, int version, char separator, JournalLine& out) {
  using Kind = JournalLine::Kind;
  if (line.ends_with('\r'))
    line.remove_suffix(1);
  out.kind = Kind::kBad;
  out.of_file =
      line.starts_with(kHeader) || line.starts_with(kUndone) || line.starts_with(kReversed);
  if (line.empty()) {
    out.kind = Kind::kComment;
  } else if (line.starts_with(kHeader)) {
    std::string_view rest = line.substr(kHeader.size());
    out.version = rest.starts_with(kVersion2) ? 2 : 1;
    if (out.version == 2)
      rest.remove_prefix(kVersion2.size());
    out.text = rest;
    out.kind = Kind::kHeader;
  } else if (line.starts_with(kUndone)) {
    out.kind = Kind::kUndone;
  } else if (line.starts_with(kReversed)) {
    const std::string_view rest = line.substr(kReversed.size());
    const std::size_t space = rest.rfind(' ');
    if (space != std::string_view::npos && ParseId(rest.substr(space + 1), out.count))
      out.kind = Kind::kReversed;
  } else if (line.starts_with(kFolder)) {
    if (UnescapeJournalField(line.substr(kFolder.size()), out.text))
      out.kind = Kind::kFolder;
  } else if (line.starts_with(kOptions) &&
             (line.size() == kOptions.size() || line[kOptions.size()] == ' ')) {
    out.naming = {};
    out.kind = Kind::kOptions;
    for (std::string_view rest = line.substr(kOptions.size()); !rest.empty();) {
      rest.remove_prefix(1);
      const std::string_view word = rest.substr(0, rest.find(' '));
      rest.remove_prefix(word.size());
      if (word == kKeepCase)
        out.naming.keep_case = true;
      else if (word == kKeepBoth)
        out.naming.keep_both = true;
      else
        out.kind = Kind::kBad;
    }
  } else if (line.starts_with(kEnd)) {
    out.interrupted = line.ends_with(" 中断");
    out.kind = Kind::kEnd;
  } else if (line.starts_with('#')) {
    out.kind = Kind::kComment;
  } else {
    const std::vector<std::string_view> f = Fields(line);
    if (version != 2) {
      if (ReadOldRecord(f, separator, out.record))
        out.kind = Kind::kOldRecord;
    } else if (ReadIntent(f, out.id, out.record)) {
      out.kind = Kind::kIntent;
    } else if ((f[0] == "=" || f[0] == "!") && f.size() == 2 && ParseId(f[1], out.id)) {
      out.made = f[0] == "=";
      out.kind = Kind::kOutcome;
    }
  }
}

}  // namespace korvane
