#include "db/NamedParams.h"

#include <cctype>

#include "util/NumberText.h"

namespace iex::db {
namespace {

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

}  // namespace

TranslatedSql TranslateNamedParams(const std::string& sql) {
  TranslatedSql out;
  std::size_t i = 0;
  const std::size_t n = sql.size();
  auto copyUntil = [&](const std::string& end) {
    const std::size_t stop = sql.find(end, i);
    const std::size_t to = stop == std::string::npos ? n : stop + end.size();
    out.text.append(sql, i, to - i);
    i = to;
  };
  while (i < n) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      out.text += c;
      ++i;
      copyUntil(std::string(1, c));  // a doubled quote simply starts the next run
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      copyUntil("\n");
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      copyUntil("*/");
    } else if (c == ':' && i + 1 < n && IsNameChar(sql[i + 1])) {
      std::size_t j = i + 1;
      while (j < n && IsNameChar(sql[j])) ++j;
      out.names.push_back(UpperAscii(sql.substr(i + 1, j - i - 1)));
      out.text += '?';
      i = j;
    } else {
      out.text += c;
      ++i;
    }
  }
  return out;
}

}  // namespace iex::db
