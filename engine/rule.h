// The naming rule of the protection product and the one rule by which paths are composed.
// Pure text logic: no file system, no platform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

// ".201": the product appends this plus a serial and ".qjd" to the original name.
inline constexpr std::string_view kTailMarker = ".201";
inline constexpr std::string_view kExtension = ".qjd";

// The candidate test on a lower-cased name. Returns the 1-based position p of the first ".201"
// when the name is a candidate (ends in ".qjd" and p >= 2), 0 otherwise. Positions count bytes;
// the marker and the extension are ASCII, so in UTF-8 a byte match is a character match.
std::size_t CandidateMarker(std::string_view lower_name);

// The first p - 1 characters of the lower-cased name; p must come from CandidateMarker.
std::string_view RestoredName(std::string_view lower_name, std::size_t p);

// How a restore names the files it gives back.
struct NamingOptions {
  // The name as found up to its first ".201", instead of the lower-cased one.
  bool keep_case = false;
  // A restored name that is taken: kept apart under the first free numbered name, as Explorer
  // names a kept copy ("合同 (2).pdf"), when the files differ.
  bool keep_both = false;
  bool operator==(const NamingOptions&) const = default;
};

// The name as found, up to its first ".201": the name the file had, in its own case. `found` must
// be a candidate's (its lower-cased form passes CandidateMarker). Lower-casing may change the
// length of other characters, so the marker is looked for in the name as found; ".201" has no
// other case.
std::string_view RestoredAsFound(std::string_view found);

// `name` with " (n)" where Explorer puts the number of a kept copy: before the extension (from the
// last dot, unless a space follows it), so "archive.tar (2).gz", "README (2)", " (2).bashrc".
std::string NumberedName(std::string_view name, int n);
// Whether `numbered` is NumberedName(name, n) for some n of 2 or more.
[[nodiscard]] bool IsNumberedName(std::string_view numbered, std::string_view name);

// Folder path, separator and name joined, then every pair of separators replaced by one, left to
// right without rescanning a replacement (three become two, four become two).
std::string EntryPath(std::string_view folder, std::string_view name, char separator);

// What EntryPath puts before a name without a separator: the same for every entry of a folder, so
// made once for the folder (EntryPath(folder, name) is this and the name).
std::string EntryPrefix(std::string_view folder, char separator);

// A folder as the report shows it: without its trailing separator, but for a root ("C:\\", "/").
std::string_view ShownFolder(std::string_view folder, char separator);

}  // namespace korvane
