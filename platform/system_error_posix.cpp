#include <cerrno>
#include <cstring>

#include "platform/system_error.h"

namespace korvane {
namespace {

ErrorKind KindOf(long code) {
  switch (code) {
    case EEXIST:
    case ENOTEMPTY:
      return ErrorKind::kNameExists;
    case EACCES:
    case EPERM:
      return ErrorKind::kAccessDenied;
    case ENOENT:
      return ErrorKind::kNotFound;
    case ENOTDIR:
      return ErrorKind::kPathNotFound;
    case ENAMETOOLONG:
      return ErrorKind::kNameTooLong;
    case EROFS:
      return ErrorKind::kReadOnly;
    case EBUSY:
    case ETXTBSY:
      return ErrorKind::kBusy;
    case EILSEQ:
      return ErrorKind::kInvalidName;
    default:
      return ErrorKind::kOther;
  }
}

}  // namespace

SystemError SystemErrorFrom(long code) {
  char buf[256];
  // GNU strerror_r: returns the text, not always in buf.
  const char* text = strerror_r(static_cast<int>(code), buf, sizeof buf);
  return {KindOf(code), code, text ? text : ""};
}

SystemError LastSystemError() {
  return SystemErrorFrom(errno);
}

}  // namespace korvane
