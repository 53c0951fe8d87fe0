// Attaches once, in a process whose SIGINT is ignored and whose SIGTERM has
// a handler of its own, then says what the two are: for the test that the
// client library's first attach does not take them over.
//   signal_probe DATABASE PASSWORD
#include <signal.h>

#include <cstdio>

#include "db/DataModule.h"

extern "C" void ProbeHandler(int) {}

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  struct sigaction ignored {}, ours {};
  ignored.sa_handler = SIG_IGN;
  ours.sa_handler = ProbeHandler;
  ours.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &ignored, nullptr);
  sigaction(SIGTERM, &ours, nullptr);
  iex::db::TdmMain dm;
  const bool connected = dm.ConnectToDB(argv[1], "SYSDBA", argv[2]);
  dm.Disconnect();
  struct sigaction intNow {}, termNow {};
  sigaction(SIGINT, nullptr, &intNow);
  sigaction(SIGTERM, nullptr, &termNow);
  std::printf("%s; SIGINT %s; SIGTERM %s\n", connected ? "connected" : dm.LastConnectError.c_str(),
              intNow.sa_handler == SIG_IGN ? "ignored" : "taken over",
              termNow.sa_handler == ProbeHandler && (termNow.sa_flags & SA_RESETHAND) ? "ours, reset after one"
                                                                                       : "taken over");
  return 0;
}
