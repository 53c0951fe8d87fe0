#include <gtest/gtest.h>

#include "ChildProcesses.h"
#include "TempPaths.h"
#include "aliases/AliasFile.h"
#include "aliases/AliasRegistry.h"

namespace iex {
namespace {

// Two processes add aliases to the same hive and the same alias file at the
// same time; every alias of both must be there afterwards.
TEST(ConcurrentWriters, TwoProcessesLoseNothing) {
  test::TempDir dir;
  const TPlatformPaths paths = test::TempPaths(dir);
  constexpr int kEach = 40;
  const auto statuses = test::RunInChildren(2, [&](int p) {
    int failed = 0;
    TAliasRegistry reg(TAliasDBType::adtIB, paths);
    TAliasFile file(false, TAliasDBType::adtIB, paths);
    for (int i = 0; i < kEach; ++i) {
      const std::string name = "P" + std::to_string(p) + "_" + std::to_string(i);
      if (!reg.AddAlias(name, "/db/" + name + ".fdb", 3050 + i, i % 2 == 0)) ++failed;
      file.AddAlias(name, "/db/" + name + ".fdb", 3050 + i, true);
    }
    return failed;
  });
  EXPECT_EQ(statuses, (std::vector<int>{0, 0}));
  TAliasRegistry reg(TAliasDBType::adtIB, paths);
  EXPECT_EQ(reg.AliasCount(), 2 * kEach);
  EXPECT_EQ(TAliasFile(false, TAliasDBType::adtIB, paths).GetCount(), 2 * kEach);
  EXPECT_EQ(reg.AliasPort("P1_39"), 3050 + 39);
  EXPECT_FALSE(reg.AliasIBEventsEnabled("P0_1"));
}

}  // namespace
}  // namespace iex
