#pragma once

namespace iex {

// Keeps the program's own dispositions of the stop signals (SIGINT,
// SIGTERM, SIGHUP) across a call into a library that takes them over: the
// Firebird client installs a handler of its own at the first attach, which
// on Ctrl-C shuts every connection of the process down, whatever the
// program (or nohup) had asked. Put back when this goes. Nothing to keep on
// Windows, where the client installs none.
class TSignalsKept {
 public:
  TSignalsKept();
  ~TSignalsKept();
  TSignalsKept(const TSignalsKept&) = delete;
  TSignalsKept& operator=(const TSignalsKept&) = delete;

 private:
  struct Saved;
  Saved* saved_;
};

}  // namespace iex
