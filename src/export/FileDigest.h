#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace iex {

// Size and 64-bit FNV-1a hash of a file's bytes: enough to tell a
// finished import file from any other version of it.
struct TFileDigest {
  uint64_t size = 0;
  uint64_t hash = 14695981039346656037ull;

  void Add(std::string_view bytes) {
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    size += bytes.size();
  }
  bool operator==(const TFileDigest&) const = default;
  std::string Text() const;                  // "SIZE:HASH", hash in hexadecimal
  static bool Parse(const std::string& text, TFileDigest& digest);
};

// The digest of a file as it is now; none when it does not exist.
bool DigestOf(TFileSystem& fs, const std::string& path, TFileDigest& digest);

}  // namespace iex
