#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "platform/Secrets.h"
#include "platform/StopSignals.h"

namespace iex {
namespace {

// Reads from the terminal's master side until `text` shows or the child ends.
bool WaitFor(int master, const std::string& text) {
  std::string seen;
  char buf[256];
  for (int i = 0; i < 200 && seen.find(text) == std::string::npos; ++i) {
    const ssize_t n = read(master, buf, sizeof buf);
    if (n <= 0) return false;
    seen.append(buf, static_cast<std::size_t>(n));
  }
  return seen.find(text) != std::string::npos;
}

TEST(PasswordPrompt, CtrlCAtThePromptGivesTheTerminalItsEchoBack) {
  int master = -1;
  const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
  ASSERT_GE(child, 0);
  if (child == 0) {
    AskOnTerminal("Password: ");
    _exit(0);
  }
  ASSERT_TRUE(WaitFor(master, "Password: "));
  termios during{};
  ASSERT_EQ(tcgetattr(master, &during), 0);
  EXPECT_EQ(during.c_lflag & ECHO, 0u) << "no echo while the password is typed";
  ASSERT_EQ(write(master, "\x03", 1), 1);  // Ctrl-C
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << "ends as Ctrl-C ends a program";
  termios after{};
  ASSERT_EQ(tcgetattr(master, &after), 0);
  EXPECT_NE(after.c_lflag & ECHO, 0u) << "echo is back";
  close(master);
}

TEST(StopSignals, ASignalAsksForAStopAndTheOldHandlerComesBack) {
  EXPECT_EQ(TStopSignals::Reason(), "");
  {
    TStopSignals stop;
    std::raise(SIGTERM);
    EXPECT_EQ(TStopSignals::Reason(), "interrupted by signal SIGTERM");
  }
  struct sigaction now {};
  sigaction(SIGTERM, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace iex
