#include "db/FbApi.h"

#include <ibase.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include "db/ClientEntryPoints.h"
#include "db/ClientLibrary.h"
#include "db/DbError.h"

namespace iex::db::fb {

Firebird::IMaster* Master() {
  // Not a static initialised once: a missing client raises, and every later
  // call must raise again rather than hand out null.
  static std::atomic<Firebird::IMaster*> master{nullptr};
  if (!master.load()) master.store(LoadMasterInterface());
  return master.load();
}

Status::Status() : wrapper_(Master()->getStatus()) {}

}  // namespace iex::db::fb

namespace iex::db {

bool ClientLibraryAvailable() noexcept {
  try {
    return fb::Master() != nullptr;
  } catch (...) {
    return false;
  }
}

void ShutdownClientLibrary() noexcept {
  if (!fb::ClientLibraryLoaded()) return;
  try {
    fb::Status st;
    fb::ProviderScope scope;
    scope.provider->shutdown(&st, 5000, fb_shutrsn_app_stopped);
  } catch (...) {
  }
}

}  // namespace iex::db

namespace iex::db::fb {
Status::~Status() { wrapper_.dispose(); }

namespace {
// A server on Windows names the system's errors by their Win32 numbers.
int ErrnoOfWin32(intptr_t error) {
  switch (error) {
    case 2:  // ERROR_FILE_NOT_FOUND
    case 3:  // ERROR_PATH_NOT_FOUND
      return ENOENT;
    case 5:  // ERROR_ACCESS_DENIED
      return EACCES;
    default: return 0;
  }
}
}  // namespace

void Raise(const Firebird::FbException& e) {
  char text[2048] = {};
  Master()->getUtilInterface()->formatStatus(text, sizeof text - 1, e.getStatus());
  const int sqlCode = static_cast<int>(SqlCodeOf(e.getStatus()->getErrors()));
  std::string message(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  std::vector<long> codes;
  int osError = 0;
  for (const intptr_t* v = e.getStatus()->getErrors(); v && *v != isc_arg_end;) {
    const intptr_t kind = *v++;
    if (kind == isc_arg_gds) codes.push_back(static_cast<long>(*v));
    if (kind == isc_arg_unix || kind == isc_arg_next_mach) osError = static_cast<int>(*v);
    if (kind == isc_arg_win32) osError = ErrnoOfWin32(*v);
    v += kind == isc_arg_cstring ? 2 : 1;
  }
  // A remote server sends its system's error as text; the common ones are read back.
  if (osError == 0) {
    if (message.find("-No such file or directory") != std::string::npos) osError = ENOENT;
    else if (message.find("-Permission denied") != std::string::npos) osError = EACCES;
    else if (message.find("-Is a directory") != std::string::npos) osError = EISDIR;
  }
  throw EDatabaseError(message, sqlCode, std::move(codes), osError);
}

}  // namespace iex::db::fb
