#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace iex {

// Registry value types, numbered as the registry numbers them.
enum class TRegDataType : uint32_t { rdString = 1, rdExpandString = 2, rdBinary = 3, rdInteger = 4 };

struct TRegValue {
  std::string name;  // "" is the key's default value
  uint32_t type = 1;
  std::string data;  // strings as text (8-bit), everything else as raw bytes
  bool operator==(const TRegValue&) const = default;
};

struct TRegKey {
  std::string path;  // below the root, "Software\MOVRA\..." as first written
  std::vector<TRegValue> values;
};

// How a hive file was written, so it is written back the same way.
enum class THiveEncoding {
  Utf8,     // "Windows Registry Editor Version 5.00", as this program writes it
  Utf16,    // the same header, UTF-16LE with its byte-order mark, as Windows exports
  Ansi,     // "REGEDIT4" or 8-bit text: Windows-1252
};

// One hive as the text of a registry export file ("Windows Registry Editor
// Version 5.00"). Paths compare without regard to case.
class THive {
 public:
  THiveEncoding Encoding = THiveEncoding::Utf8;
  bool Regedit4 = false;  // the file began with "REGEDIT4"

  TRegKey* Find(const std::string& path);
  const TRegKey* Find(const std::string& path) const { return const_cast<THive*>(this)->Find(path); }
  TRegKey& Create(const std::string& path);  // and every missing key above it
  bool Remove(const std::string& path);      // with everything below it
  std::vector<std::string> SubKeyNames(const std::string& path) const;
  const std::vector<TRegKey>& Keys() const { return keys_; }

  // Raises EMvError naming the file and line of what cannot be read.
  static THive Parse(const std::string& fileText, const std::string& rootName, const std::string& fileName);
  std::string Serialize(const std::string& rootName) const;

 private:
  void Reindex();
  std::vector<TRegKey> keys_;
  std::unordered_map<std::string, std::size_t> index_;  // upper-case path -> position in keys_
};

std::string NormalizeKeyPath(const std::string& path);  // no leading, trailing or doubled "\"
TRegValue* FindValue(TRegKey& key, const std::string& name);
inline const TRegValue* FindValue(const TRegKey& key, const std::string& name) {
  return FindValue(const_cast<TRegKey&>(key), name);
}

}  // namespace iex
