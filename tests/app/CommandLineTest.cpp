// The program as a scheduler or an administrator calls it: help and version,
// words it does not know, a repeated option, and the JSON summary.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "AgencyDb.h"
#include "FaultFileSystem.h"
#include "app/CliRecover.h"
#include "platform/AnsiText.h"
#include "export/CommitRecord.h"
#include "export/OutputTransaction.h"
#include "CliRunner.h"
#include "FakeEnv.h"
#include "TempPaths.h"
#include "TestEnvVars.h"

namespace iex {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int status;
  std::string out;
};

#ifdef _WIN32
// A cross build names the program by its path on the build machine, which
// Wine shows as drive Z:.
std::string ProgramPath() {
  std::string path = IEX_PROGRAM;
  if (path.rfind('/', 0) != 0) return path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}
constexpr const char* kNowhere = "NUL";
#else
std::string ProgramPath() { return IEX_PROGRAM; }
constexpr const char* kNowhere = "/dev/null";
#endif

// The real program; standard error goes to its own file.
ProgramRun Program(const std::string& words, const std::string& errFile = kNowhere) {
  const std::string command = ProgramPath() + " " + words + " 2>" + errFile;
#ifdef _WIN32
  std::FILE* p = _popen(command.c_str(), "rb");
#else
  std::FILE* p = popen(command.c_str(), "r");
#endif
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
#ifdef _WIN32
  return {_pclose(p), out};
#else
  const int status = pclose(p);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
#endif
}

TEST(CommandLine, HelpAndVersionGoToStandardOutputAndSucceed) {
  for (const char* words : {"--help", "-h", "export --help", "export --all --help", "aliases --help", "recover --help"}) {
    const ProgramRun r = Program(words);
    EXPECT_EQ(r.status, 0) << words;
    EXPECT_NE(r.out.find("usage: invoice-export"), std::string::npos) << words << ": " << r.out;
  }
  const ProgramRun version = Program("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("invoice-export [0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+\r?\n"))) << version.out;
}

TEST(CommandLine, WordsItDoesNotKnowAndRepeatedOptionsAreUsageErrors) {
  test::TempDir dir;
  const std::string err = dir.File("err");
  EXPECT_EQ(Program("aliases --list", err).status, 2);
  EXPECT_NE(test::ReadFile(err).find("aliases takes no word but --seed-global"), std::string::npos) << test::ReadFile(err);
  EXPECT_EQ(Program("export --database a.fdb --database b.fdb --output-dir /tmp --all", err).status, 2);
  EXPECT_NE(test::ReadFile(err).find("Option --database is given twice."), std::string::npos) << test::ReadFile(err);
  EXPECT_EQ(Program("export --database a.fdb --output-dir /tmp --all --summary-json " + dir.File("missing/s.json"), err).status, 2);
  EXPECT_NE(test::ReadFile(err).find("The folder of --summary-json " + NativeSeparators(dir.File("missing/s.json")) +
                                     " does not exist."),
            std::string::npos)
      << test::ReadFile(err);
  EXPECT_EQ(Program("bogus", err).status, 2);
  const std::string bogus = test::ReadFile(err);
  EXPECT_EQ(bogus.find("invoice-export: unknown command \"bogus\""), 0u) << bogus;  // its own line, ended as the system ends lines
  EXPECT_NE(bogus.find("usage: invoice-export"), std::string::npos) << bogus;
}

// "recover" settles a commit a crash interrupted, without exporting: after
// it the folder holds one whole pair, and it says what it did.
TEST(CommandLine, RecoverSettlesAnInterruptedCommitWithoutExporting) {
  test::TempDir dir;
  const std::string out = dir.File("out");
  test::FakeEnv env;
  auto recover = [&](std::string& said) {
    std::FILE* o = std::tmpfile();
    const int status = RunRecoverCommand({"--output-dir", out}, env, o, stderr);
    said = test::Slurp(o);
    return status;
  };
  int settled = 0;
  for (long n = 1; n < 200; ++n) {
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    test::WriteFile(out + "/IMPACCT.DAT", "old a");
    test::WriteFile(out + "/IMPINV.DAT", "old i");
    test::FaultFileSystem f;
    f.crashAfter = n;
    try {
      TOutputTransaction t(f, out);
      for (const char* name : {"IMPACCT.DAT", "IMPINV.DAT"}) {
        TLineWriter w = t.Create(name);
        w.Field("new");
        w.EndLine();
        w.Close();
      }
      t.Commit();
    } catch (...) {
    }
    if (!f.crashed) break;
    const bool interrupted = std::filesystem::exists(out + "/" + TCommitRecord::kName);
    std::string said;
    ASSERT_EQ(recover(said), 0) << said;
    const std::string a = test::ReadFile(out + "/IMPACCT.DAT"), i = test::ReadFile(out + "/IMPINV.DAT");
    EXPECT_TRUE((a == "old a" && i == "old i") || (a == "new\t\r\n" && i == "new\t\r\n")) << "crash after " << n;
    EXPECT_FALSE(std::filesystem::exists(out + "/" + TCommitRecord::kName));
    if (interrupted) {
      ++settled;
      EXPECT_NE(said.find("had been interrupted while its files went in place"), std::string::npos) << said;
    } else {
      EXPECT_NE(said.find("nothing to settle"), std::string::npos) << said;
    }
  }
  EXPECT_GT(settled, 1);
  EXPECT_EQ(RunRecoverCommand({"--output-dir"}, env, stdout, stderr), 2);
  EXPECT_EQ(RunRecoverCommand({"--output-dir", dir.File("missing")}, env, stdout, stderr), 2);
}

TEST(CommandLine, ABranchOutsideAToZIsNamedInTheTerminalsEncoding) {
  IEX_SKIP_WITHOUT_DATABASE();
  test::TempDir dir;
  tools::AgencyOptions o;
  o.invoices = 5;
  const std::string db = test::MakeAgencyDb(dir, "agency.fdb", o);
  test::SetEnv("IEX_CMD_PW", "x");
  test::FakeEnv env;
  const auto r = test::RunCli({"--database", db, "--password-env", "IEX_CMD_PW", "--output-dir", dir.Path(), "--branch", "\xC3\xA9"}, env);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("Could not set value to Branch number \xC3\xA9. Access denied."), std::string::npos) << r.err;
}

TEST(CommandLine, TheJsonSummaryMatchesTheFilesAndTellsFailuresToo) {
  IEX_SKIP_WITHOUT_DATABASE();
  test::TempDir dir;
  tools::AgencyOptions o;
  o.invoices = 60;
  const std::string db = test::MakeAgencyDb(dir, "agency.fdb", o);
  const std::string out = dir.File("out");
  fs::create_directories(out);
  test::SetEnv("IEX_CMD_PW", "x");
  test::FakeEnv env;
  const std::string json = dir.File("summary.json");
  const auto r = test::RunCli({"--database", db, "--password-env", "IEX_CMD_PW", "--output-dir", out, "--all",
                               "--summary-json", json},
                              env);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = test::ReadFile(json);
  auto number = [&](const std::string& key, std::size_t from = 0) {
    const auto at = text.find("\"" + key + "\": ", from);
    EXPECT_NE(at, std::string::npos) << key << " in " << text;
    return at == std::string::npos ? -1L : std::stol(text.substr(at + key.size() + 4));
  };
  auto lines = [](const std::string& path) {
    const std::string content = test::ReadFile(path);
    return static_cast<long>(std::count(content.begin(), content.end(), '\n'));
  };
  EXPECT_EQ(number("status"), 0);
  EXPECT_NE(text.find("\"error\": null"), std::string::npos);
  EXPECT_NE(text.find("\"filesWritten\": true"), std::string::npos);
  EXPECT_EQ(number("lines", text.find("IMPACCT.DAT")), lines(out + "/IMPACCT.DAT"));
  EXPECT_EQ(number("lines", text.find("\"IMPINV.DAT\"")), lines(out + "/IMPINV.DAT"));
  const std::string invoices = test::ReadFile(out + "/IMPINV.DAT");
  EXPECT_EQ(number("bookingLines"), static_cast<long>(std::count(invoices.begin(), invoices.end(), '\n')) -
                                        number("segmentLines") - number("udidLines") - number("paymentReferenceLines"));
  EXPECT_GT(number("count", text.find("\"invoices\"")), 10);
  EXPECT_NE(text.find("\"firstNumber\": 10"), std::string::npos) << text << " as a number";
  EXPECT_TRUE(std::regex_search(text, std::regex("\"startedAt\": \"20[0-9]{2}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z\"")))
      << text;
  EXPECT_NE(text.find("\"version\": \"1."), std::string::npos) << text;
  EXPECT_TRUE(std::regex_search(text, std::regex("\"lastIssueDate\": \"20[0-9]{2}-[0-9]{2}-[0-9]{2}\""))) << text;

  const auto failed = test::RunCli({"--database", dir.File("missing.fdb"), "--password-env", "IEX_CMD_PW", "--output-dir", out,
                                    "--all", "--summary-json", json},
                                   env);
  EXPECT_EQ(failed.status, 1);
  const std::string failure = test::ReadFile(json);
  EXPECT_NE(failure.find("\"status\": 1"), std::string::npos) << failure;
  EXPECT_NE(failure.find("\"error\": \"Unable to connect to database.\\nThe database file was not found"), std::string::npos)
      << failure;
  EXPECT_NE(failure.find("\"filesWritten\": false"), std::string::npos);

  // Usage errors write a summary too, as soon as the file is known: a typo
  // in a scheduled job never leaves last night's success in place.
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--database", db, "--password-env", "IEX_CMD_PW", "--output-dir", out, "--to-dte", "1/1/24", "--summary-json", json},
           {"--summary-json=" + json, "--database", db, "--all", "--all"},
           {"--summary-json", json, "--database", db, "--output-dir"}}) {
    const auto usage = test::RunCli(bad, env);
    EXPECT_EQ(usage.status, 2);
    const std::string said = test::ReadFile(json);
    EXPECT_NE(said.find("\"status\": 2"), std::string::npos) << said;
    EXPECT_EQ(usage.err.rfind("invoice-export: ", 0), 0u) << usage.err;
  }
  EXPECT_NE(test::ReadFile(json).find("--output-dir needs a value"), std::string::npos);
  // A link planted at the summary's name is replaced, never written through;
  // a path that is no UTF-8 still gives valid JSON.
  const std::string victim = dir.File("victim");
  test::WriteFile(victim, "precious");
  fs::remove(json);
  fs::create_symlink(victim, json);
  const std::string odd = dir.File("Ausgabe-\xfc");
  fs::create_directories(odd);
  EXPECT_EQ(test::RunCli({"--database", db, "--password-env", "IEX_CMD_PW", "--output-dir", odd, "--all", "--summary-json",
                          json},
                         env)
                .status,
            0);
  EXPECT_EQ(test::ReadFile(victim), "precious");
  EXPECT_FALSE(fs::is_symlink(json));
  EXPECT_NE(test::ReadFile(json).find("Ausgabe-\\u00fc/IMPACCT.DAT"), std::string::npos) << test::ReadFile(json);
}

}  // namespace
}  // namespace iex
