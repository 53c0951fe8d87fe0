#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/Secrets.h"

namespace iex {
namespace {

constexpr off_t kMaxPasswordFile = 64 * 1024;

// The terminal's settings while its echo is off, for the signal handler.
int gTerminal = -1;
termios gSaved{};
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};
struct sigaction gPrevious[sizeof kSignals / sizeof kSignals[0]];

extern "C" void RestoreEchoAndResignal(int sig) {
  if (gTerminal >= 0) tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
  for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
    if (kSignals[i] == sig) sigaction(sig, &gPrevious[i], nullptr);
  raise(sig);
}

// Echo off for its lifetime; back on when it ends or a signal arrives.
class QuietTerminal {
 public:
  explicit QuietTerminal(int fd) {
    if (tcgetattr(fd, &gSaved) != 0) return;
    gTerminal = fd;
    struct sigaction sa {};
    sa.sa_handler = RestoreEchoAndResignal;
    sigemptyset(&sa.sa_mask);
    for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) sigaction(kSignals[i], &sa, &gPrevious[i]);
    termios quiet = gSaved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(fd, TCSAFLUSH, &quiet);
  }
  ~QuietTerminal() {
    if (gTerminal < 0) return;
    tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
    for (std::size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) sigaction(kSignals[i], &gPrevious[i], nullptr);
    gTerminal = -1;
  }
  QuietTerminal(const QuietTerminal&) = delete;
  QuietTerminal& operator=(const QuietTerminal&) = delete;
};

}  // namespace

TPasswordFileText ReadPasswordFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    // The file is missing, not its folder: say so.
    throw EMvError("Cannot read the password file " + ShownPath(path) + ". " +
                   (err == ENOENT ? std::string("The file does not exist.") : EFileError::Cause(err)));
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    throw EMvError("The password file " + ShownPath(path) + " is not a regular file.");
  }
  if (st.st_size > kMaxPasswordFile) {
    close(fd);
    throw EMvError("The password file " + ShownPath(path) + " is larger than 64 KiB; it should hold the password alone.");
  }
  TPasswordFileText result;
  std::string text(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  close(fd);
  text.resize(done);
  const auto end = text.find('\n');
  result.firstLine = text.substr(0, end);
  if (!result.firstLine.empty() && result.firstLine.back() == '\r') result.firstLine.pop_back();
  Wipe(text);
  if (st.st_mode & (S_IRWXG | S_IRWXO))
    result.warning = "Warning: the password file " + ShownPath(path) + " may be read by others; make it readable by its owner alone (chmod 600).";
  return result;
}

std::optional<std::string> AskOnTerminal(const std::string& prompt) {
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string password;
  {
    QuietTerminal quiet(fd);
    (void)!write(fd, prompt.data(), prompt.size());
    char c;
    while (read(fd, &c, 1) == 1 && c != '\n') password += c;
  }
  (void)!write(fd, "\n", 1);
  close(fd);
  return password;
}

TNoCoreDumps::TNoCoreDumps() noexcept : previous_(prctl(PR_GET_DUMPABLE)) { prctl(PR_SET_DUMPABLE, 0); }
TNoCoreDumps::~TNoCoreDumps() {
  if (previous_ > 0) prctl(PR_SET_DUMPABLE, previous_);
}

bool IsTerminal(std::FILE* f) noexcept { return f && isatty(fileno(f)) == 1; }

}  // namespace iex
