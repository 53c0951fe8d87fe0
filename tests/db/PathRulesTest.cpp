#include <gtest/gtest.h>

#include <deque>

#include "db/PathRules.h"

namespace iex::db {
namespace {

// Answers of the local-server probe in order; counts the calls.
struct Probe {
  std::deque<bool> answers;
  int calls = 0;
  bool operator()() {
    ++calls;
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
};

std::string Adjust(std::string path, std::deque<bool> answers, int* calls = nullptr) {
  Probe probe{std::move(answers)};
  AdjustDatabasePath(path, std::ref(probe));
  if (calls) *calls = probe.calls;
  return path;
}

TEST(AdjustDatabasePath, RewritesByTheFirstRuleThatApplies) {
  struct Case {
    const char* path;
    std::deque<bool> probe;
    const char* expected;
    int calls;
  } cases[] = {
      {"d:\\agency\\data.gdb", {true, true}, "d:\\agency\\data.gdb", 2},
      {"d:\\agency\\data.gdb", {false}, "localhost:d:\\agency\\data.gdb", 1},
      {"d:\\agency\\data.gdb", {true, false}, "localhost:d:\\agency\\data.gdb", 2},
      {"/var/db/agency.fdb", {true, true}, "/var/db/agency.fdb", 2},
      {"/var/db/agency.fdb", {false}, "localhost:/var/db/agency.fdb", 1},
      {"localhost:d:\\agency\\data.gdb", {true, true}, "localhost:d:\\agency\\data.gdb", 2},
      {"localhost:d:\\agency\\data.gdb", {false}, "localhost:d:\\agency\\data.gdb", 1},
      {"srv1:d:\\agency\\data.gdb", {}, "srv1:d:\\agency\\data.gdb", 0},
      {"\\\\srv1\\d:\\agency\\data.gdb", {}, "srv1:d:\\agency\\data.gdb", 0},
      {"\\\\srv1", {}, ":srv1", 0},
      // The remote form of systems without drive letters is used as it stands.
      {"srv1:/data/agency.fdb", {}, "srv1:/data/agency.fdb", 0},
      {"srv1/3051:/data/agency.fdb", {}, "srv1/3051:/data/agency.fdb", 0},
      {"/srv/x:y.fdb", {false}, "localhost:/srv/x:y.fdb", 1},
      {"localhost:/var/db/agency.fdb", {false}, "localhost:/var/db/agency.fdb", 1},
      {"LOCALHOST:/var/db/agency.fdb", {true, true}, "LOCALHOST:/var/db/agency.fdb", 2},
      {"c:agency.gdb", {false}, "localhost:c:agency.gdb", 1},
  };
  for (const auto& c : cases) {
    int calls = 0;
    EXPECT_EQ(Adjust(c.path, c.probe, &calls), c.expected) << c.path;
    EXPECT_EQ(calls, c.calls) << c.path;
  }
}

TEST(SplitServerPath, CutsLongFileParts) {
  std::string path = "\\\\srv\\" + std::string(300, 'x');
  std::string server, file;
  ASSERT_TRUE(SplitServerPath(path, server, file));
  EXPECT_EQ(server, "srv");
  EXPECT_EQ(file.size(), 255u);
  // Only the first 255 characters after the first ":" are searched for the second.
  path = "srv:" + std::string(255, 'y') + ":z";
  EXPECT_FALSE(SplitServerPath(path, server, file));
  std::string plain = "d:\\x.gdb";
  EXPECT_FALSE(SplitServerPath(plain, server, file));
  EXPECT_EQ(plain, "d:\\x.gdb");
}

TEST(GetPathConnectionType, FollowsItsOwnRules) {
  EXPECT_EQ(GetPathConnectionType("\\\\srv1\\d:\\agency\\data.gdb"), TConnectionType::ctNetBEUI);
  EXPECT_EQ(GetPathConnectionType("localhost:d:\\agency\\data.gdb"), TConnectionType::ctTCPIP);
  // What the connection rules send to a server is said to go over TCP/IP.
  EXPECT_EQ(GetPathConnectionType("srv1:/data/agency.fdb"), TConnectionType::ctTCPIP);
  EXPECT_EQ(GetPathConnectionType("srv1/3051:/data/agency.fdb"), TConnectionType::ctTCPIP);
  EXPECT_EQ(GetPathConnectionType("srv!x:y"), TConnectionType::ctTCPIP);
  EXPECT_EQ(GetPathConnectionType("/data/agency.fdb"), TConnectionType::ctLocal);
  EXPECT_EQ(GetPathConnectionType("d:\\data.gdb"), TConnectionType::ctLocal);
  EXPECT_EQ(GetPathConnectionType(""), TConnectionType::ctLocal);
}

}  // namespace
}  // namespace iex::db
