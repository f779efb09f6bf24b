// The system's failures as values on Windows: the common ones by kind, each with the system's
// own text.
#include "platform/system_error.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace korvane {
namespace {

TEST(SystemErrorWin32Test, CommonCodesHaveTheirKindAndEveryCodeItsText) {
  const struct {
    DWORD code;
    ErrorKind kind;
  } cases[] = {
      {ERROR_ALREADY_EXISTS, ErrorKind::kNameExists},
      {ERROR_FILE_EXISTS, ErrorKind::kNameExists},
      {ERROR_FILE_NOT_FOUND, ErrorKind::kNotFound},
      {ERROR_PATH_NOT_FOUND, ErrorKind::kPathNotFound},
      {ERROR_ACCESS_DENIED, ErrorKind::kAccessDenied},
      {ERROR_SHARING_VIOLATION, ErrorKind::kBusy},
      {ERROR_NOT_READY, ErrorKind::kOther},
  };
  for (const auto& c : cases) {
    const SystemError e = SystemErrorFrom(static_cast<long>(c.code));
    EXPECT_EQ(e.kind, c.kind) << c.code;
    EXPECT_EQ(e.code, static_cast<long>(c.code));
    EXPECT_FALSE(e.text.empty()) << c.code;
    EXPECT_FALSE(e.text.ends_with('\n') || e.text.ends_with('\r') || e.text.ends_with(' '))
        << e.text;
  }
  // A code the system has no text for has none; the report then names the code.
  EXPECT_EQ(SystemErrorFrom(0x2FFFFFFF).text, "");
}

}  // namespace
}  // namespace korvane
