#include "engine/rename_log.h"

#include <cstdio>

#include "engine/utf8.h"

namespace korvane {

std::string EscapeLogField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size();) {
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
          char buf[5];
          std::snprintf(buf, sizeof buf, "\\x%02X", b);
          out += buf;
        }
      }
      i = start + 1;
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out.append(field.substr(start, i - start));
    }
  }
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

bool UnescapeLogField(std::string_view field, std::string& out) {
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

std::string LogHeader(std::chrono::system_clock::time_point start) {
  using namespace std::chrono;
  const auto secs = floor<seconds>(start);
  const auto day = floor<days>(secs);
  const year_month_day ymd{day};
  const hh_mm_ss hms{secs - day};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                static_cast<int>(hms.seconds().count()));
  return std::string("# korvane-restore 还原日志 ") + buf + "\n";
}

std::string LogLine(const RenameRecord& record) {
  return EscapeLogField(record.source) + "\t" + EscapeLogField(record.target) + "\n";
}

std::vector<RenameRecord> ParseLog(std::string_view text, int* bad_lines) {
  std::vector<RenameRecord> records;
  int bad = 0;
  std::size_t pos = 0;
  for (std::size_t end; (end = text.find('\n', pos)) != std::string_view::npos; pos = end + 1) {
    std::string_view line = text.substr(pos, end - pos);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (line.empty() || line.starts_with('#'))
      continue;
    const std::size_t tab = line.find('\t');
    RenameRecord r;
    if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos ||
        !UnescapeLogField(line.substr(0, tab), r.source) ||
        !UnescapeLogField(line.substr(tab + 1), r.target) || r.source.empty() || r.target.empty()) {
      ++bad;
      continue;
    }
    records.push_back(std::move(r));
  }
  if (bad_lines)
    *bad_lines = bad;
  return records;
}

}  // namespace korvane
