#include "platform/Cp1252Case.h"
#include "platform/RegHive.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "platform/Codepage1252.h"
#include "platform/Error.h"

namespace iex {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

// A UTF-16LE export (as Windows writes it) becomes UTF-8.
std::string Utf8Text(const std::string& raw) {
  if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
    std::string out;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
      const unsigned cp = static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8);
      if (cp < 0x80) out += static_cast<char>(cp);
      else if (cp < 0x800) out += static_cast<char>(0xC0 | (cp >> 6)), out += static_cast<char>(0x80 | (cp & 0x3F));
      else out += static_cast<char>(0xE0 | (cp >> 12)), out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
  }
  if (raw.rfind("\xEF\xBB\xBF", 0) == 0) return raw.substr(3);
  return raw;
}

// UTF-8 text as a UTF-16LE file with its byte-order mark.
std::string Utf16Text(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    char32_t cp = b;
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : 3;
    if (extra) cp = b & (0x3F >> extra);
    for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    auto unit = [&](char32_t u) {
      out += static_cast<char>(u & 0xFF);
      out += static_cast<char>((u >> 8) & 0xFF);
    };
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

struct Reader {
  const std::string& file;
  int line = 0;
  [[noreturn]] void Fail(const std::string& what) const {
    throw EMvError(file + ", line " + std::to_string(line) + ": " + what);
  }
};

// A quoted .reg string at text[pos] (on the opening quote); returns the text.
std::string QuotedString(const std::string& text, std::size_t& pos, const Reader& r) {
  std::string out;
  for (++pos; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\' && pos + 1 < text.size())
      out += text[++pos];
    else
      out += c;
  }
  r.Fail("a quoted text has no closing quote");
}

std::string HexBytes(const std::string& list, const Reader& r) {
  std::string bytes;
  std::stringstream in(list);
  std::string item;
  while (std::getline(in, item, ',')) {
    item.erase(std::remove_if(item.begin(), item.end(), [](char c) { return c == ' ' || c == '\t'; }), item.end());
    if (item.empty()) continue;
    if (item.size() > 2 || item.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
      r.Fail("\"" + item + "\" is not a hexadecimal byte");
    bytes += static_cast<char>(std::stoi(item, nullptr, 16));
  }
  return bytes;
}

TRegValue ParseValue(const std::string& line, const Reader& r) {
  TRegValue v;
  std::size_t pos = 0;
  if (line[0] == '@') {
    pos = 1;
  } else {
    v.name = Utf8ToCp1252(QuotedString(line, pos, r));
  }
  if (pos >= line.size() || line[pos] != '=') r.Fail("\"=\" expected after the value name");
  const std::string rest = line.substr(pos + 1);
  if (!rest.empty() && rest[0] == '"') {
    std::size_t p = 0;
    v.data = Utf8ToCp1252(QuotedString(rest, p, r));
    v.type = 1;
  } else if (rest.rfind("dword:", 0) == 0) {
    const std::string hex = rest.substr(6);
    if (hex.empty() || hex.size() > 8 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
      r.Fail("\"" + rest + "\" is not a dword");
    const auto n = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
    v.type = 4;
    v.data = std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
  } else if (rest.rfind("hex", 0) == 0) {
    std::size_t colon = rest.find(':');
    if (colon == std::string::npos) r.Fail("\":\" expected after hex");
    v.type = 3;
    if (rest[3] == '(') {
      const auto close = rest.find(')');
      if (close == std::string::npos || close > colon) r.Fail("bad hex type");
      v.type = static_cast<uint32_t>(std::stoul(rest.substr(4, close - 4), nullptr, 16));
    }
    v.data = HexBytes(rest.substr(colon + 1), r);
    if (v.type == 2) {  // expandable text, UTF-16LE with a closing zero
      std::string utf16 = "\xFF\xFE" + v.data;
      std::string text = Utf8Text(utf16);
      while (!text.empty() && text.back() == '\0') text.pop_back();
      v.data = Utf8ToCp1252(text);
    }
  } else {
    r.Fail("\"" + rest + "\" is no value this store can hold");
  }
  return v;
}

std::string Quote(const std::string& cp1252) {
  std::string out = "\"";
  for (char c : Cp1252ToUtf8(cp1252)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string HexList(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
    if (i) out += ',';
    out += buf;
  }
  return out;
}

}  // namespace


std::string NormalizeKeyPath(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

TRegValue* FindValue(TRegKey& key, const std::string& name) {
  for (auto& v : key.values)
    if (SameTextCp1252(v.name, name)) return &v;
  return nullptr;
}

TRegKey* THive::Find(const std::string& path) {
  const auto at = index_.find(UpperCp1252(NormalizeKeyPath(path)));
  return at == index_.end() ? nullptr : &keys_[at->second];
}

TRegKey& THive::Create(const std::string& path) {
  const std::string p = NormalizeKeyPath(path);
  if (TRegKey* k = Find(p)) return *k;
  const auto slash = p.rfind('\\');
  if (slash != std::string::npos) Create(p.substr(0, slash));
  index_.emplace(UpperCp1252(p), keys_.size());
  keys_.push_back(TRegKey{p, {}});
  return keys_.back();
}

void THive::Reindex() {
  index_.clear();
  for (std::size_t i = 0; i < keys_.size(); ++i) index_.emplace(UpperCp1252(keys_[i].path), i);
}

bool THive::Remove(const std::string& path) {
  const std::string p = UpperCp1252(NormalizeKeyPath(path));
  const auto before = keys_.size();
  std::erase_if(keys_, [&](const TRegKey& k) {
    const std::string u = UpperCp1252(k.path);
    return u == p || u.rfind(p + "\\", 0) == 0;
  });
  Reindex();
  return keys_.size() != before;
}

std::vector<std::string> THive::SubKeyNames(const std::string& path) const {
  const std::string p = NormalizeKeyPath(path);
  const std::string prefix = p.empty() ? "" : UpperCp1252(p) + "\\";
  std::vector<std::string> names;
  for (const auto& k : keys_) {
    if (UpperCp1252(k.path).rfind(prefix, 0) != 0 || k.path.size() <= prefix.size()) continue;
    const std::string rest = k.path.substr(prefix.size());
    const std::string name = rest.substr(0, rest.find('\\'));
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameTextCp1252(n, name); }))
      names.push_back(name);
  }
  return names;
}

THive THive::Parse(const std::string& fileText, const std::string& rootName, const std::string& fileName) {
  THive hive;
  Reader r{fileName};
  const bool utf16 = fileText.size() >= 2 && static_cast<unsigned char>(fileText[0]) == 0xFF &&
                     static_cast<unsigned char>(fileText[1]) == 0xFE;
  hive.Regedit4 = fileText.rfind("REGEDIT4", 0) == 0;
  // Windows writes REGEDIT4 files in the ANSI code page; so may an editor.
  const bool ansi = !utf16 && (hive.Regedit4 || !IsValidUtf8(fileText));
  hive.Encoding = utf16 ? THiveEncoding::Utf16 : ansi ? THiveEncoding::Ansi : THiveEncoding::Utf8;
  std::stringstream in(ansi ? Cp1252ToUtf8(fileText) : Utf8Text(fileText));
  std::string raw, line;
  TRegKey* current = nullptr;
  std::unordered_map<std::string, std::size_t> values;  // of the current key: upper-case name -> position
  bool header = false;
  while (std::getline(in, raw)) {
    ++r.line;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    line += raw;
    if (!line.empty() && line.back() == '\\' && line.find('=') != std::string::npos && line.find("=hex") != std::string::npos) {
      line.pop_back();  // a hex list continues on the next line
      continue;
    }
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == ';') {
      line.clear();
      continue;
    }
    line = line.substr(first);
    if (!header) {
      if (line != kHeader && line != "REGEDIT4") r.Fail("not a registry file: \"" + line + "\"");
      header = true;
    } else if (line[0] == '[') {
      const auto close = line.rfind(']');
      if (close == std::string::npos) r.Fail("a key line has no closing \"]\"");
      const std::string full = Utf8ToCp1252(line.substr(1, close - 1));
      if (!full.empty() && full[0] == '-') r.Fail("deleting keys belongs to import files, not to a stored hive");
      const std::string head = full.substr(0, full.find('\\'));
      if (!SameTextCp1252(head, rootName)) r.Fail("key \"" + full + "\" is not below " + rootName);
      current = &hive.Create(full.size() > head.size() ? full.substr(head.size() + 1) : std::string());
      values.clear();
      for (std::size_t i = 0; i < current->values.size(); ++i) values.emplace(UpperCp1252(current->values[i].name), i);
    } else if (line[0] == '"' || line[0] == '@') {
      if (!current) r.Fail("a value before the first key");
      TRegValue v = ParseValue(line, r);
      const auto [at, added] = values.emplace(UpperCp1252(v.name), current->values.size());
      if (added)
        current->values.push_back(std::move(v));
      else
        current->values[at->second] = std::move(v);
    } else {
      r.Fail("cannot read \"" + line + "\"");
    }
    line.clear();
  }
  return hive;
}

std::string THive::Serialize(const std::string& rootName) const {
  std::string out = std::string(Regedit4 ? "REGEDIT4" : kHeader) + "\r\n";
  for (const auto& k : keys_) {
    out += "\r\n[" + Cp1252ToUtf8(rootName + (k.path.empty() ? "" : "\\" + k.path)) + "]\r\n";
    for (const auto& v : k.values) {
      out += v.name.empty() ? std::string("@") : Quote(v.name);
      out += '=';
      if (v.type == 1) {
        out += Quote(v.data);
      } else if (v.type == 4 && v.data.size() == 4) {
        char buf[16];
        const auto b = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)])); };
        std::snprintf(buf, sizeof buf, "dword:%08x", b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24));
        out += buf;
      } else if (v.type == 2) {
        std::string utf16;
        for (char c : v.data + std::string(1, '\0')) {
          const char32_t cp = Cp1252CodePoint(static_cast<unsigned char>(c));
          utf16 += static_cast<char>(cp & 0xFF);
          utf16 += static_cast<char>(cp >> 8);
        }
        out += "hex(2):" + HexList(utf16);
      } else {
        char type[24];
        std::snprintf(type, sizeof type, "hex(%x):", v.type);
        out += (v.type == 3 ? std::string("hex:") : std::string(type)) + HexList(v.data);
      }
      out += "\r\n";
    }
  }
  if (Encoding == THiveEncoding::Ansi) return Utf8ToCp1252(out);
  if (Encoding == THiveEncoding::Utf16) return Utf16Text(out);
  return out;
}

}  // namespace iex
