#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "AgencyDb.h"
#include "FakeEnv.h"
#include "TestEnvVars.h"

namespace iex::test {

// Command-line tests over one generated database of 40 invoices, made once
// per test process (ctest runs each test in a process of its own, so there
// each test makes one, in about a second); each test gets an output folder
// of its own. The password variable IEX_TEST_PW holds "x" (the embedded
// engine checks none).
class CliDbFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    if (!db::ClientLibraryAvailable()) return;
    tools::AgencyOptions o;
    o.invoices = 40;
    path_ = MakeAgencyDb(*dir_, "agency.fdb", o);
    test::SetEnv("IEX_TEST_PW", "x");
  }
  static void TearDownTestSuite() { delete dir_; }
  void SetUp() override {
    IEX_SKIP_WITHOUT_DATABASE();
    out_ = dir_->File("out-" + std::to_string(++counter_));
    std::filesystem::create_directories(out_);
  }

  static inline TempDir* dir_ = nullptr;
  static inline std::string path_;
  static inline int counter_ = 0;
  std::string out_;
  FakeEnv env_;
};

}  // namespace iex::test
