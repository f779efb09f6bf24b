// Fuzz target for the pure text logic every run rests on: the candidate test, the restored name,
// path composition, lower-casing, and the text the command line prints. Each is
// held against the naive restatement in tests/support/naive_rule.h and against the properties
// the rest of the tool relies on.
//
// Input: a name, optionally followed by a NUL and a folder path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/cli_output.h"
#include "engine/rule.h"
#include "engine/utf8.h"
#include "tests/support/naive_rule.h"

namespace {

namespace naive = korvane::testing::naive;

[[noreturn]] void Fail(const char* what, const std::string& input) {
  std::fprintf(stderr, "fuzz check failed: %s\ninput (%zu bytes):", what, input.size());
  for (unsigned char c : input)
    std::fprintf(stderr, " %02x", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

#define CHECK(cond)       \
  do {                    \
    if (!(cond))          \
      Fail(#cond, input); \
  } while (false)

// A fixed case mapping with the awkward kinds of letter: ASCII, Latin-1, Greek, one whose lower
// case is longer in UTF-8 (Ⱥ -> ⱥ) and one whose lower case is shorter (İ -> i).
char32_t FixedLower(char32_t c) {
  if (c >= U'A' && c <= U'Z')
    return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
    return c + 32;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
    return c + 32;
  if (c == 0x23A)
    return 0x2C65;
  if (c == 0x130)
    return U'i';
  return c;
}

bool HasControl(const std::string& s, bool del_too) {
  for (unsigned char c : s)
    if (c < 0x20 || (del_too && c == 0x7F))
      return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string raw = input.substr(0, nul);
  const std::string folder = nul == std::string::npos ? "C:\\data\\" : input.substr(nul + 1);

  // Lower-casing keeps every byte that is not UTF-8 and maps every code point that is.
  const std::string lower = korvane::LowerUtf8(raw, FixedLower);
  CHECK(lower == naive::MapUtf8(raw, FixedLower, false));
  CHECK(korvane::LowerUtf8(lower, FixedLower) == lower);

  // The candidate test and the restored name.
  for (const std::string& name : {raw, lower}) {
    const std::size_t p = korvane::CandidateMarker(name);
    CHECK((p != 0) == naive::IsCandidate(name));
    if (p == 0)
      continue;
    CHECK(p == naive::MarkerPosition(name));
    const std::string restored(korvane::RestoredName(name, p));
    CHECK(restored == naive::Restored(name));
    CHECK(!restored.empty());
    // A restored name is never a candidate again, so a run cannot rename a file twice.
    CHECK(restored.find(".201") == std::string::npos);
    CHECK(korvane::CandidateMarker(restored) == 0);
  }

  // Path composition, with either separator.
  for (const char sep : {'\\', '/'}) {
    const std::string path = korvane::EntryPath(folder, raw, sep);
    CHECK(path == naive::EntryPath(folder, raw, sep));
    CHECK(path.size() <= folder.size() + 1 + raw.size());
    // Normalising only ever removes separators.
    std::string without_folder_sep, without_path_sep;
    for (char c : folder + sep + raw)
      if (c != sep)
        without_folder_sep += c;
    for (char c : path)
      if (c != sep)
        without_path_sep += c;
    CHECK(without_folder_sep == without_path_sep);
  }

  // What the command line prints: valid UTF-8, no control character, one JSON string.
  const std::string shown = korvane::TerminalText(raw);
  CHECK(naive::IsValidUtf8(shown));
  CHECK(!HasControl(shown, true));
  const std::string json = korvane::JsonString(raw);
  CHECK(naive::IsValidUtf8(json));
  CHECK(!HasControl(json, false));  // DEL is valid in JSON
  CHECK(json.size() >= 2 && json.front() == '"' && json.back() == '"');
  const std::string line = korvane::TableLine({"1", "成功", lower, folder + raw, "-"});
  CHECK(line.find('\n') == line.size() - 1);
  CHECK(korvane::DisplayWidth(raw) >= 0);
  return 0;
}
