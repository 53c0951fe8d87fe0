// Any SQL text: the ":NAME" parameters become "?" markers, one name per
// marker, without a crash; text without a colon comes back unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "db/NamedParams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string sql(reinterpret_cast<const char*>(data), size);
  const iex::db::TranslatedSql t = iex::db::TranslateNamedParams(sql);
  if (sql.find(':') == std::string::npos && (t.text != sql || !t.names.empty())) std::abort();
  for (const std::string& name : t.names)
    if (name.empty()) std::abort();
  return 0;
}
