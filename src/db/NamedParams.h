#pragma once
#include <string>
#include <vector>

namespace iex::db {

// SQL text with ":NAME" parameters rewritten to the "?" markers the client
// library knows, and the names in marker order. Literals, quoted names and
// comments are left alone.
struct TranslatedSql {
  std::string text;
  std::vector<std::string> names;  // upper-cased
};

TranslatedSql TranslateNamedParams(const std::string& sql);

}  // namespace iex::db
