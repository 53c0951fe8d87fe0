#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      int failed = 0;
      try {
        TAliasRegistry reg(TAliasDBType::adtIB, paths);
        TAliasFile file(false, TAliasDBType::adtIB, paths);
        for (int i = 0; i < kEach; ++i) {
          const std::string name = "P" + std::to_string(p) + "_" + std::to_string(i);
          if (!reg.AddAlias(name, "/db/" + name + ".fdb", 3050 + i, i % 2 == 0)) ++failed;
          file.AddAlias(name, "/db/" + name + ".fdb", 3050 + i, true);
        }
      } catch (...) {
        failed = 99;
      }
      _exit(failed);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  TAliasRegistry reg(TAliasDBType::adtIB, paths);
  EXPECT_EQ(reg.AliasCount(), 2 * kEach);
  EXPECT_EQ(TAliasFile(false, TAliasDBType::adtIB, paths).GetCount(), 2 * kEach);
  EXPECT_EQ(reg.AliasPort("P1_39"), 3050 + 39);
  EXPECT_FALSE(reg.AliasIBEventsEnabled("P0_1"));
}

}  // namespace
}  // namespace iex
