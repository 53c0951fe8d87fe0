#include "app/Password.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/CliOptions.h"

namespace iex {
namespace {

std::string AskOnTerminal() {
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY);
  if (fd < 0) throw TUsageError("No password: name --password-env or --password-file, or run on a terminal.");
  termios old{};
  const bool isTerminal = tcgetattr(fd, &old) == 0;
  if (isTerminal) {
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(fd, TCSAFLUSH, &quiet);
  }
  const char prompt[] = "Password: ";
  (void)!write(fd, prompt, sizeof prompt - 1);
  std::string password;
  char c;
  while (read(fd, &c, 1) == 1 && c != '\n') password += c;
  if (isTerminal) tcsetattr(fd, TCSAFLUSH, &old);
  (void)!write(fd, "\n", 1);
  close(fd);
  return password;
}

}  // namespace

std::string ReadPassword(const std::string& envVar, const std::string& file) {
  if (!envVar.empty()) {
    const char* value = std::getenv(envVar.c_str());
    if (!value) throw TUsageError("The environment variable " + envVar + " is not set.");
    return value;
  }
  if (!file.empty()) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw TUsageError("Cannot read the password file " + file + ".");
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  return AskOnTerminal();
}

}  // namespace iex
