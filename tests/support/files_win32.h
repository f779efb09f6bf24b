// Files for Windows-only tests, made, read and removed through \\?\ paths only: a plain path would
// reach the device for "con.2011.qjd" and could not reach anything deeper than 260 characters.
#pragma once

#include <map>
#include <string>

namespace korvane::testing {

// The \\?\ form of an absolute UTF-8 path.
std::wstring Long(const std::string& utf8_path);

bool MakeFolder(const std::string& path);  // true also when it already exists
bool MakeFile(const std::string& path, const std::string& content);  // never replaces
bool Exists(const std::string& path);
// The file's content, or "<missing>".
std::string Content(const std::string& path);
// Names in a folder (without "." and "..") -> content, "<folder>" or "<link>".
std::map<std::string, std::string> Listing(const std::string& folder);
// Removes a tree a plain path cannot reach, deepest first. Links are removed, never followed.
void RemoveTree(const std::wstring& long_path);

}  // namespace korvane::testing
