#pragma once
#include <signal.h>

#include <cstdlib>
#include <string>

#include "TempDir.h"
#include "TempPaths.h"

namespace iex::test {

// A Firebird server of the test's own (scripts/firebird-server in a folder
// of its own, on a free port), for tests that freeze, stop or reconfigure
// it: the shared test server is left alone. Stopped when it goes.
class TPrivateServer {
 public:
  // `auth`: the server's AuthServer setting, empty for its default.
  explicit TPrivateServer(const std::string& auth = "") {
    env_ = "IEX_FB_PORT= IEX_FB_ROOT=" + root_.File("fb") + " IEX_FB_AUTH=" + auth + " ";
    started_ = std::system((env_ + Script() + " start >/dev/null 2>&1").c_str()) == 0;
    if (!started_) return;
    const std::string port = ReadFile(root_.File("fb/port"));
    port_ = port.substr(0, port.find('\n'));
    pid_ = std::atoi(ReadFile(root_.File("fb/server.pid")).c_str());
  }
  ~TPrivateServer() {
    if (pid_ > 0) ::kill(pid_, SIGCONT);  // a frozen server cannot stop
    if (started_) (void)!std::system((env_ + Script() + " stop >/dev/null 2>&1").c_str());
  }
  TPrivateServer(const TPrivateServer&) = delete;
  TPrivateServer& operator=(const TPrivateServer&) = delete;

  bool Started() const { return started_; }
  // A database file of this machine as this server reaches it.
  std::string Path(const std::string& file) const { return "inet://127.0.0.1:" + port_ + "/" + file; }
  void Freeze() const { ::kill(pid_, SIGSTOP); }
  void Thaw() const { ::kill(pid_, SIGCONT); }

 private:
  static std::string Script() { return std::string(IEX_SOURCE_DIR) + "/scripts/firebird-server"; }
  TempDir root_;
  std::string env_, port_;
  bool started_ = false;
  int pid_ = 0;
};

}  // namespace iex::test
