#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AgencyDb.h"
#include "CliDbFixture.h"
#include "CliRunner.h"
#include "FakeEnv.h"
#include "TestEnvVars.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

class CliExportTest : public test::CliDbFixture {
 protected:
  test::CliResult Run(std::vector<std::string> extra, bool withBase = true) {
    std::vector<std::string> args;
    if (withBase) args = {"--database", path_, "--password-env", "IEX_TEST_PW", "--output-dir", out_};
    args.insert(args.end(), extra.begin(), extra.end());
    return test::RunCli(args, env_);
  }
  bool Written() const { return fs::exists(out_ + "/IMPACCT.DAT") || fs::exists(out_ + "/IMPINV.DAT"); }
};

TEST_F(CliExportTest, ExportsWithAllAndSummarises) {
  const auto r = Run({"--all"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Export Done."), std::string::npos);
  EXPECT_NE(r.out.find("account lines"), std::string::npos);
  EXPECT_NE(r.out.find("booking lines (01)"), std::string::npos);
  EXPECT_TRUE(fs::file_size(out_ + "/IMPINV.DAT") > 0);
}

TEST_F(CliExportTest, FiltersNarrowTheExport) {
  const auto all = Run({"--all"});
  const auto allSize = fs::file_size(out_ + "/IMPINV.DAT");
  SetUp();
  const auto some = Run({"--from-number", "1005", "--to-number", "1010", "--from-date", "1/1/23"});
  EXPECT_EQ(some.status, 0) << some.err;
  EXPECT_LT(fs::file_size(out_ + "/IMPINV.DAT"), allSize);
  EXPECT_GT(fs::file_size(out_ + "/IMPINV.DAT"), 0u);
  SetUp();
  EXPECT_EQ(Run({"--branch", "12345"}).status, 0);
  (void)all;
}

TEST_F(CliExportTest, ValidationErrorsExitTwoAndWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "No filter criteria selected."},
      {{"--from-date", "2/30/24"}, "Invalid Date. Please enter again."},
      {{"--from-date", "1/31/14", "--to-date", "1/1/14"}, "Invalid Invoice Date Range."},
      {{"--from-number", "500", "--to-number", "100"}, "Invalid Invoice Number Range."},
      {{"--from-number", "abc"}, "Invalid Number. Please enter again."},
      {{"--to-number", "1e5"}, "Invalid Number. Please enter again."},
      {{"--to-number", "-5"}, "Invalid Number. Please enter again."},
      {{"--from-number", "1234567890123456"}, "Invalid Number.  Number must be in range 0 .. 999999999999999"},
      {{"--branch", "99"}, "Could not set value to Branch number 99. Access denied."},
      {{"--all", "--category-letters", "AHC"}, "exactly ten characters"},
      {{"--all", "--category-letters", "AHCSTR\xf0\x9f\x98\x80OIM"}, "code page cannot hold"},
      {{"--all", "--category-letters", "AHCSTR\xffOIM"}, "code page cannot hold"},
      {{"--all", "--category-letters", "A CSTROIMO"}, "the letter for Hotel (character 2) is blank"},
      {{"--all", "--map-by", "vendor"}, "--map-by takes category or type."},
      {{"--all", "--bogus"}, "Unknown option --bogus."},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.args);
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(Written()) << c.message;
  }
}

TEST_F(CliExportTest, MissingOutputFolderIsAClearError) {
  const auto r = test::RunCli({"--database", path_, "--password-env", "IEX_TEST_PW", "--output-dir", out_ + "/nope", "--all"}, env_);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out_ + "/nope"));
}

TEST_F(CliExportTest, PasswordFromAFileAndMissingSources) {
  std::ofstream(dir_->File("pw.txt")) << "x\n";
  EXPECT_EQ(test::RunCli({"--database", path_, "--password-file", dir_->File("pw.txt"), "--output-dir", out_, "--all"}, env_).status, 0);
  const auto unset = test::RunCli({"--database", path_, "--password-env", "IEX_NOT_SET_ANYWHERE", "--output-dir", out_, "--all"}, env_);
  EXPECT_EQ(unset.status, 2);
  EXPECT_NE(unset.err.find("IEX_NOT_SET_ANYWHERE"), std::string::npos);
}

TEST_F(CliExportTest, ConnectionFailuresExitOne) {
  const auto missing = test::RunCli({"--database", dir_->File("missing.fdb"), "--password-env", "IEX_TEST_PW", "--output-dir", out_, "--all"}, env_);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Unable to connect to database."), std::string::npos);
  if (test::ServerHost().empty()) return;
  test::SetEnv("IEX_TEST_WRONG", "definitely-wrong");
  const auto wrong = test::RunCli({"--database", test::RemotePath(path_), "--password-env", "IEX_TEST_WRONG", "--output-dir", out_, "--all"}, env_);
  EXPECT_EQ(wrong.status, 1);
  EXPECT_FALSE(Written());
}

TEST_F(CliExportTest, AliasesNeedAResolver) {
  const auto r = test::RunCli({"--alias", "MAIN", "--password-env", "IEX_TEST_PW", "--output-dir", out_, "--all"}, env_);
  EXPECT_EQ(r.status, 2);
  const auto resolved = test::RunCli({"--alias", "MAIN", "--password-env", "IEX_TEST_PW", "--output-dir", out_, "--all"}, env_,
                                     nullptr, [&](const std::string& name) { return name == "MAIN" ? path_ : ""; });
  EXPECT_EQ(resolved.status, 0) << resolved.err;
}

}  // namespace
}  // namespace iex
