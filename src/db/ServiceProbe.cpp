#include "db/ServiceProbe.h"

#include <ibase.h>

#include "db/DbError.h"
#include "db/FbApi.h"
#include "platform/SignalsKept.h"

namespace iex::db {

std::string QueryLocalServerVersion(const std::string& user, const std::string& password) {
  fb::Ref<Firebird::IService> service;
  std::string version;
  try {
    fb::Call([&] {
      fb::Status st;
      auto* util = fb::Master()->getUtilInterface();
      Firebird::IXpbBuilder* spb = util->getXpbBuilder(&st, Firebird::IXpbBuilder::SPB_ATTACH, nullptr, 0);
      fb::BuilderScope builderScope{spb};
      spb->insertString(&st, isc_spb_user_name, user.c_str());
      spb->insertString(&st, isc_spb_password, password.c_str());
      fb::ProviderScope scope;
      const TSignalsKept ours;  // the client takes Ctrl-C over at its first attach
      service.reset(
          scope.provider->attachServiceManager(&st, "service_mgr", spb->getBufferLength(&st), spb->getBuffer(&st)));
      const unsigned char items[] = {isc_info_svc_server_version};
      unsigned char answer[256] = {};
      service->query(&st, 0, nullptr, sizeof items, items, sizeof answer, answer);
      if (answer[0] == isc_info_svc_server_version) {
        const unsigned length = answer[1] | (answer[2] << 8);
        if (length < sizeof answer - 3) version.assign(reinterpret_cast<const char*>(answer + 3), length);
      }
    });
  } catch (...) {
    fb::Finish(service, [](Firebird::IService* s, Firebird::ThrowStatusWrapper* st) { s->detach(st); });
    throw;
  }
  fb::Finish(service, [](Firebird::IService* s, Firebird::ThrowStatusWrapper* st) { s->detach(st); });
  return version;
}

}  // namespace iex::db
