#pragma once
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace iex::test {

// Runs body(i) for i = 0 .. count-1, each in a child process of its own, all
// at once; gives each child's exit status (a body's result, 99 when it
// threw, -1 when the child did not end normally).
//
// Windows has no fork: the test program is started again for the one test
// that called, with the child's number in IEX_CHILD_INDEX; there the call
// runs body(i) and ends the process with its result.
inline std::vector<int> RunInChildren(int count, const std::function<int(int)>& body) {
#ifdef _WIN32
  if (const char* index = std::getenv("IEX_CHILD_INDEX"); index && *index) {
    int status = 99;
    try {
      status = body(std::atoi(index));
    } catch (...) {
    }
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(status));
  }
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::string filter = std::string(test->test_suite_name()) + "." + test->name();
  std::vector<PROCESS_INFORMATION> children;
  for (int i = 0; i < count; ++i) {
    SetEnvironmentVariableW(L"IEX_CHILD_INDEX", std::to_wstring(i).c_str());
    _putenv_s("IEX_CHILD_INDEX", std::to_string(i).c_str());
    std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + std::wstring(filter.begin(), filter.end());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) pi.hProcess = nullptr;
    children.push_back(pi);
  }
  _putenv_s("IEX_CHILD_INDEX", "");
  SetEnvironmentVariableW(L"IEX_CHILD_INDEX", nullptr);
  std::vector<int> statuses;
  for (const PROCESS_INFORMATION& child : children) {
    DWORD code = 0;
    if (!child.hProcess || WaitForSingleObject(child.hProcess, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(child.hProcess, &code))
      statuses.push_back(-1);
    else
      statuses.push_back(static_cast<int>(code));
    if (child.hProcess) {
      CloseHandle(child.hProcess);
      CloseHandle(child.hThread);
    }
  }
  return statuses;
#else
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
#endif
}

// The number of a process that has ended.
inline int EndedProcessId() {
#ifdef _WIN32
  wchar_t line[] = L"cmd.exe /c exit 0";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) return -1;
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);  // the number may be given out again only after this
  return static_cast<int>(pi.dwProcessId);
#else
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return static_cast<int>(child);
#endif
}

// This process's number.
inline int OwnProcessId() {
#ifdef _WIN32
  return static_cast<int>(GetCurrentProcessId());
#else
  return static_cast<int>(getpid());
#endif
}

// Another process that lives as long as the object, doing nothing.
class TLiveProcess {
 public:
  TLiveProcess() {
#ifdef _WIN32
    wchar_t line[] = L"cmd.exe";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi_))
      pid_ = static_cast<int>(pi_.dwProcessId);
#else
    pid_ = static_cast<int>(fork());
    if (pid_ == 0) {
      for (;;) pause();
    }
#endif
  }
  ~TLiveProcess() {
#ifdef _WIN32
    if (pid_ <= 0) return;
    TerminateProcess(pi_.hProcess, 0);
    WaitForSingleObject(pi_.hProcess, INFINITE);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
#else
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
#endif
  }
  TLiveProcess(const TLiveProcess&) = delete;
  TLiveProcess& operator=(const TLiveProcess&) = delete;
  int Id() const { return pid_; }

 private:
  int pid_ = -1;
#ifdef _WIN32
  PROCESS_INFORMATION pi_{};
#endif
};

}  // namespace iex::test
