// Whole exports of small generated databases, compared byte for byte with
// checked-in files. IEX_UPDATE_GOLDEN=1 writes the files anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AgencyDb.h"
#include "TempPaths.h"
#include "CliRunner.h"
#include "FakeEnv.h"
#include "TestEnvVars.h"

namespace iex {
namespace {

namespace fs = std::filesystem;


struct Variant {
  const char* name;
  uint64_t seed;
  const char* schemaVersion;
  bool encrypted;
  std::vector<std::string> options;
};

class GoldenFiles : public ::testing::TestWithParam<Variant> {};

TEST_P(GoldenFiles, ExportMatches) {
  IEX_SKIP_WITHOUT_DATABASE();
  const Variant& v = GetParam();
  test::TempDir dir;
  tools::AgencyOptions o;
  o.seed = v.seed;
  o.invoices = 24;
  o.schemaVersion = v.schemaVersion;
  o.encryptCards = v.encrypted;
  const std::string db = test::MakeAgencyDb(dir, "agency.fdb", o);
  const std::string out = dir.File("out");
  fs::create_directories(out);
  test::SetEnv("IEX_GOLDEN_PW", "x");
  std::vector<std::string> args = {"--database", db, "--password-env", "IEX_GOLDEN_PW", "--output-dir", out, "--all"};
  args.insert(args.end(), v.options.begin(), v.options.end());
  test::FakeEnv env;
  const auto r = test::RunCli(args, env);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string golden = std::string(IEX_GOLDEN_DIR) + "/" + v.name;
  for (const char* file : {"IMPACCT.DAT", "IMPINV.DAT"}) {
    const std::string actual = test::ReadFile(out + "/" + file);
    if (std::getenv("IEX_UPDATE_GOLDEN")) {
      fs::create_directories(golden);
      std::ofstream(golden + "/" + file, std::ios::binary) << actual;
      continue;
    }
    const std::string expected = test::ReadFile(golden + "/" + file);
    EXPECT_FALSE(expected.empty()) << "no golden file " << golden << "/" << file;
    if (actual == expected) continue;
    // Every line that differs, in both files: one changed field shows everywhere it lands.
    std::istringstream a(actual), e(expected);
    std::string la, le;
    int differing = 0;
    for (int line = 1;; ++line) {
      const bool inExpected = static_cast<bool>(std::getline(e, le));
      const bool inActual = static_cast<bool>(std::getline(a, la));
      if (!inExpected && !inActual) break;
      if (!inExpected) le = "(no line)";
      if (!inActual) la = "(no line)";
      if (la != le && ++differing <= 50)
        ADD_FAILURE() << file << " line " << line << "\n  expected: " << le << "\n  actual:   " << la;
    }
    ADD_FAILURE() << file << ": " << differing << " lines differ";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Exports, GoldenFiles,
    ::testing::Values(Variant{"category_plain_v85", 11, "85", false, {}},
                      Variant{"type_vendor_v85", 11, "85", false,
                              {"--map-by", "type", "--itinerary", "vendor", "--travel-type-map", "x;h;;C;s;"}},
                      Variant{"category_encrypted_v79", 12, "79", true, {"--category-letters", "aHCSTROIMo"}},
                      Variant{"type_encrypted_v80", 13, "80", true, {"--map-by", "type"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace iex
