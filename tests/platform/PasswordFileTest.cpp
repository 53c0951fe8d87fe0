#include <gtest/gtest.h>

#include <filesystem>

#include "platform/AnsiText.h"
#include "TempPaths.h"
#include "platform/Error.h"
#include "platform/Secrets.h"

namespace iex {
namespace {

TEST(PasswordFile, TheFirstLineIsThePasswordAndOnlyASmallRegularFileIsRead) {
  test::TempDir dir;
  const struct {
    const char* content;
    const char* password;
  } files[] = {{"s3cret\n", "s3cret"}, {"s3cret\r\nsecond line\r\n", "s3cret"}, {"no line end", "no line end"}, {"", ""}};
  for (const auto& f : files) {
    test::WriteFile(dir.File("pw"), f.content);
    EXPECT_EQ(ReadPasswordFile(dir.File("pw")).firstLine, f.password) << f.content;
  }
  const auto refusal = [](const std::string& path) {
    try {
      ReadPasswordFile(path);
      return std::string("read");
    } catch (const EMvError& e) {
      return std::string(e.what());
    }
  };
  test::WriteFile(dir.File("big"), std::string(64 * 1024 + 1, 'x'));
  EXPECT_NE(refusal(dir.File("big")).find("is larger than 64 KiB"), std::string::npos);
  std::filesystem::create_directories(PathOfText(dir.File("folder")));
  EXPECT_NE(refusal(dir.File("folder")).find("is not a regular file"), std::string::npos) << refusal(dir.File("folder"));
  EXPECT_NE(refusal(dir.File("missing")).find("Cannot read the password file " + NativeSeparators(dir.File("missing"))), std::string::npos);
}

}  // namespace
}  // namespace iex
