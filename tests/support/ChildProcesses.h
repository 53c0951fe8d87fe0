#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace iex::test {

// Runs body(i) for i = 0 .. count-1, each in a child process of its own, all
// at once; gives each child's exit status (a body's result, 99 when it
// threw, -1 when the child did not end normally).
inline std::vector<int> RunInChildren(int count, const std::function<int(int)>& body) {
  std::vector<pid_t> children;
  for (int i = 0; i < count; ++i) {
    const pid_t child = fork();
    if (child == 0) {
      int status = 99;
      try {
        status = body(i);
      } catch (...) {
      }
      _exit(status);
    }
    children.push_back(child);
  }
  std::vector<int> statuses;
  for (pid_t child : children) {
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
      statuses.push_back(-1);
    else
      statuses.push_back(WEXITSTATUS(status));
  }
  return statuses;
}

}  // namespace iex::test
