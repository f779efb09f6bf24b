// What a file operation came to, as values: which common case a system failure is, the system's
// own code and description, and the refusals the tool makes itself. Front-ends put them in words.
//
// Two conventions, everywhere: an operation on the user's files (list, enter, rename, judge a
// rename) returns an FsResult; a set-up or storage call (open a tree, a journal, a state folder;
// write, sync, read back) returns bool, or the object it makes (null on failure), with a
// SystemError& that says why. No call drops the reason: a caller that chooses not to tell the
// user says so where it does.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace korvane {

// The failures a report most often shows, the same on every system. Everything else is kOther
// and is described by the system's own text.
enum class ErrorKind : std::uint8_t {
  kOther,
  kNameExists,    // the name is taken
  kAccessDenied,  // no permission
  kNotFound,      // the file is gone
  kPathNotFound,  // a folder on the way is gone
  kNameTooLong,   // longer than the file system allows
  kReadOnly,      // a read-only file system or medium
  kBusy,          // in use by another program
  kInvalidName,   // a name the file system does not take
};

struct SystemError {
  ErrorKind kind = ErrorKind::kOther;
  long code = 0;     // errno, or a Win32 error code
  std::string text;  // the system's own description of `code`
};

// Why a rename was not made.
enum class Refusal : std::uint8_t {
  kNone,                  // it was made, or would be
  kSystem,                // the system refused: `error` says why
  kLink,                  // a link, a junction or a mount point, never followed
  kDotName,               // the restored name is "." or ".."
  kForbiddenCharacters,   // Windows allows none of < > : " / \ | ? * or control characters
  kTrailingDotOrSpace,    // Windows Explorer could neither open nor delete the file
  kReservedDeviceName,    // CON, NUL, COM1 ...: Windows opens the device instead
  kNoReplaceUnsupported,  // the file system cannot refuse to replace; `error` says why
  kNameTaken,             // another entry of the folder has the name
  kTakenInOtherCase,      // another entry of the folder has the name in another case
  kClaimedInFolder,   // an earlier file of the folder is given the name (or one in another case)
  kFolderUnopenable,  // the folder of a rename to reverse cannot be opened
  // A journal's record the tool could not have written, never acted on:
  kOutsideRunFolder,  // its folder is not the run's folder or below it
  kNotAPlainName,     // a name with a separator, "." or "..", or a NUL
  kNotTheRulesName,   // the restored name is not what the naming rule gives for the name found
};

// The outcome of a rename, made or judged.
struct FsResult {
  Refusal refusal = Refusal::kNone;
  SystemError error;  // for kSystem and kNoReplaceUnsupported

  [[nodiscard]] bool ok() const { return refusal == Refusal::kNone; }
};

inline FsResult Refused(Refusal why) {
  return {why, {}};
}

inline FsResult SystemFailure(SystemError error) {
  return {Refusal::kSystem, std::move(error)};
}

}  // namespace korvane
