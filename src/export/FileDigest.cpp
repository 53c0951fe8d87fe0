#include "export/FileDigest.h"

#include <cstdio>
#include <vector>

namespace iex {

std::string TFileDigest::Text() const {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%llu:%016llx", static_cast<unsigned long long>(size), static_cast<unsigned long long>(hash));
  return buf;
}

bool TFileDigest::Parse(const std::string& text, TFileDigest& d) {
  unsigned long long size = 0, hash = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%llu:%llx%c", &size, &hash, &rest) != 2) return false;
  d.size = size;
  d.hash = hash;
  return true;
}

bool DigestOf(TFileSystem& fs, const std::string& path, TFileDigest& digest) {
  const auto file = fs.OpenForReading(path);
  if (!file) return false;
  digest = TFileDigest{};
  std::vector<char> buffer(1 << 16);
  for (std::size_t n; (n = file->Read(buffer.data(), buffer.size())) > 0;) digest.Add({buffer.data(), n});
  return true;
}

}  // namespace iex
