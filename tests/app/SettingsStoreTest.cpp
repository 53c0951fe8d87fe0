#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "AgencyDb.h"
#include "ChildProcesses.h"
#include "CliRunner.h"
#include "FakeEnv.h"
#include "TempPaths.h"
#include "aliases/AliasRegistry.h"
#include "app/CliAliases.h"
#include "app/RegistrySettingsStore.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "TestEnvVars.h"

namespace iex {
namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { env_.paths = test::TempPaths(dir_); }
  TRegistry Key() {
    TRegistry reg(env_.paths);
    reg.OpenKey("\\SOFTWARE\\MOVRA\\QVINVOICEEXPORT", true);
    return reg;
  }
  test::TempDir dir_;
  test::FakeEnv env_;
};

TEST_F(SettingsStoreTest, FirstStartGivesTheDefaultsAndCreatesTheProductKey) {
  TRegistrySettingsStore store(env_.paths);
  const TSavedSettings s = store.Load();
  EXPECT_EQ(s.alias, "");
  EXPECT_EQ(s.categoryLetters[1], "A");
  EXPECT_EQ(s.categoryLetters[9], "M");
  EXPECT_EQ(s.mapBy, "Travel Category");
  EXPECT_EQ(s.itinMap, 0);
  TRegistry reg(env_.paths);
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\MOVRA"));
  EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\MOVRA\\QVINVOICEEXPORT"));
}

TEST_F(SettingsStoreTest, SavedValuesComeBackAndEmptyOnesStayEmpty) {
  TRegistrySettingsStore store(env_.paths);
  TSavedSettings s = TSavedSettings::Defaults();
  s.alias = "MAIN";
  s.categoryLetters[1] = "a";
  s.categoryLetters[2] = "";
  s.mapBy = "Travel Type";
  s.travelTypeMap = "H;;C;" + std::string(47, ';');
  s.itinMap = 1;
  store.Save(s);
  const TSavedSettings back = store.Load();
  EXPECT_EQ(back.alias, "MAIN");
  EXPECT_EQ(back.categoryLetters[1], "a");
  EXPECT_EQ(back.categoryLetters[2], "");
  EXPECT_EQ(back.mapBy, "Travel Type");
  EXPECT_EQ(back.travelTypeMap, s.travelTypeMap);
  EXPECT_EQ(back.itinMap, 1);
  TRegistry reg = Key();
  EXPECT_EQ(reg.GetDataType("ITINPROVNAMEMAP"), TRegDataType::rdString);
  std::vector<std::string> names;
  reg.GetValueNames(names);
  EXPECT_THAT(names, ::testing::UnorderedElementsAre("ZAMALIAS", "AIRMAP", "CARMAP", "CRUISEMAP", "HOTELMAP", "INSMAP", "RAILMAP",
                                                     "TOURMAP", "TRANSMAP", "SERVMAP", "OTHERMAP", "MAPBY", "TRAVELTYPEMAP",
                                                     "ITINPROVNAMEMAP"));
  reg.WriteString("ITINPROVNAMEMAP", "x");
  EXPECT_EQ(store.Load().itinMap, 0);
  reg.WriteInteger("AIRMAP", 1);
  EXPECT_THROW(store.Load(), EMvError);
}

TEST_F(SettingsStoreTest, ABadValueKeepsTheValuesReadBeforeIt) {
  TRegistrySettingsStore store(env_.paths);
  TSavedSettings s = TSavedSettings::Defaults();
  s.alias = "MAIN";
  for (int c = 1; c <= 10; ++c) s.categoryLetters[static_cast<std::size_t>(c)] = "q";
  store.Save(s);
  Key().WriteInteger("CARMAP", 7);  // read third, after ZAMALIAS and AIRMAP
  std::string error;
  const TSavedSettings back = store.Load(&error);
  EXPECT_EQ(error, "Invalid data type for 'CARMAP'");
  EXPECT_EQ(back.alias, "MAIN");
  EXPECT_EQ(back.categoryLetters[1], "q");
  EXPECT_EQ(back.categoryLetters[3], "C") << "the bad value and those after it keep their defaults";
  EXPECT_EQ(back.categoryLetters[2], "H");
}

TEST_F(SettingsStoreTest, AValueLargerThanAnySettingIsRefusedByName) {
  TRegistrySettingsStore store(env_.paths);
  TSavedSettings s = TSavedSettings::Defaults();
  s.alias = "MAIN";
  s.travelTypeMap = std::string(70000, 'A');
  store.Save(s);
  std::string error;
  const TSavedSettings back = store.Load(&error);
  EXPECT_NE(error.find("The saved setting TRAVELTYPEMAP holds 70000 bytes"), std::string::npos) << error;
  EXPECT_EQ(back.alias, "MAIN");
  EXPECT_EQ(back.travelTypeMap, "");
}

TEST_F(SettingsStoreTest, TwoRunsSavingAtOnceEachStoreAWholeSet) {
  constexpr int kRounds = 30;
  const auto statuses = test::RunInChildren(2, [&](int p) {
    TRegistrySettingsStore store(env_.paths);
    TSavedSettings s = TSavedSettings::Defaults();
    s.alias = "RUN" + std::to_string(p);
    for (int c = 1; c <= 10; ++c) s.categoryLetters[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>('a' + p));
    for (int i = 0; i < kRounds; ++i) store.Save(s);
    return 0;
  });
  EXPECT_EQ(statuses, (std::vector<int>{0, 0}));
  const TSavedSettings s = TRegistrySettingsStore(env_.paths).Load();
  const std::string letter(1, s.alias == "RUN0" ? 'a' : 'b');
  for (int c = 1; c <= 10; ++c) EXPECT_EQ(s.categoryLetters[static_cast<std::size_t>(c)], letter) << s.alias;
}

TEST_F(SettingsStoreTest, CommandLineUsesAliasesAndSavesSettings) {
  IEX_SKIP_WITHOUT_DATABASE();
  tools::AgencyOptions o;
  o.invoices = 10;
  const std::string db = test::MakeAgencyDb(dir_, "agency.fdb", o);
  TAliasRegistry reg(TAliasDBType::adtIB, env_.paths);
  reg.AddAlias("DEMO", db);
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(RunAliasesCommand({}, env_, out, stderr), 0);
  const std::string listing = test::Slurp(out);
  EXPECT_EQ(listing, "DEMO\t" + db + "\t(Local)\n");

  const std::string folder = dir_.File("out");
  std::filesystem::create_directories(folder);
  test::SetEnv("IEX_ALIAS_PW", "x");
  TRegistrySettingsStore store(env_.paths, false);  // as the command line opens it
  // Without --save-settings a scheduled run writes nothing to the settings.
  const std::string hiveBefore = test::ReadFile(env_.paths.userHive);
  const auto plain = test::RunCli({"--alias", "demo", "--password-env", "IEX_ALIAS_PW", "--output-dir", folder, "--all"},
                                  env_, &store, [&](const std::string& a) { return ResolveAliasPath(env_, a); });
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(test::ReadFile(env_.paths.userHive), hiveBefore) << "no settings were asked to be saved";
  const auto r = test::RunCli({"--alias", "demo", "--password-env", "IEX_ALIAS_PW", "--output-dir", folder, "--all",
                               "--category-letters", "aHCSTROIMO", "--map-by", "type", "--save-settings"},
                              env_, &store, [&](const std::string& a) { return ResolveAliasPath(env_, a); });
  ASSERT_EQ(r.status, 0) << r.err;
  const TSavedSettings saved = store.Load();
  EXPECT_EQ(saved.alias, "demo") << "the alias is saved with the rest";
  EXPECT_EQ(saved.categoryLetters[1], "a");
  EXPECT_EQ(saved.mapBy, "Travel Type");
  EXPECT_EQ(std::count(saved.travelTypeMap.begin(), saved.travelTypeMap.end(), ';'), 50);
  EXPECT_EQ(saved.travelTypeMap.substr(0, 6), "A;A;H;");  // the default letters of the grid, saved
  const auto unknown = test::RunCli({"--alias", "nope", "--password-env", "IEX_ALIAS_PW", "--output-dir", folder, "--all"},
                                    env_, &store, [&](const std::string& a) { return ResolveAliasPath(env_, a); });
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("No database alias is named \"nope\". The aliases known here: DEMO."), std::string::npos)
      << unknown.err;
}

// A folder named in UTF-8 is named back as it is, never converted twice.
TEST_F(SettingsStoreTest, SeedingNamesAFolderOutsideAsciiWhole) {
  env_.paths.commonAppData = dir_.File("Donn\xc3\xa9" "es") + "/Movra";
  TAliasRegistry reg(TAliasDBType::adtIB, env_.paths);
  reg.GlobalAliases = true;
  reg.AddAlias("SHARED", "/srv/shared.fdb");
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(RunAliasesCommand({"--seed-global"}, env_, out, stderr), 0);
  const std::string said = test::Slurp(out);
  EXPECT_NE(said.find("Donn\xc3\xa9" "es/Movra"), std::string::npos) << said;
  EXPECT_EQ(said.find("\xc3\x83"), std::string::npos) << said;
}

}  // namespace
}  // namespace iex
