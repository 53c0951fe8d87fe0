#include "db/FbApi.h"

#include <ibase.h>

#include <string>
#include <vector>

#include "db/ClientLibrary.h"
#include "db/DbError.h"

namespace iex::db::fb {

Firebird::IMaster* Master() {
  static Firebird::IMaster* master = Firebird::fb_get_master_interface();
  return master;
}

Status::Status() : wrapper_(Master()->getStatus()) {}

}  // namespace iex::db::fb

namespace iex::db {

void ShutdownClientLibrary() noexcept {
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

void Raise(const Firebird::FbException& e) {
  char text[2048] = {};
  Master()->getUtilInterface()->formatStatus(text, sizeof text - 1, e.getStatus());
  const int sqlCode = static_cast<int>(isc_sqlcode(e.getStatus()->getErrors()));
  std::string message(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  std::vector<long> codes;
  int osError = 0;
  for (const intptr_t* v = e.getStatus()->getErrors(); v && *v != isc_arg_end;) {
    const intptr_t kind = *v++;
    if (kind == isc_arg_gds) codes.push_back(static_cast<long>(*v));
    if (kind == isc_arg_unix || kind == isc_arg_next_mach) osError = static_cast<int>(*v);
    v += kind == isc_arg_cstring ? 2 : 1;
  }
  throw EDatabaseError(message, sqlCode, std::move(codes), osError);
}

}  // namespace iex::db::fb
