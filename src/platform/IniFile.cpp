#include "platform/Cp1252Case.h"
#include "platform/IniFile.h"

#include "platform/AnsiText.h"

#include <sstream>
#include <unordered_map>

#include "platform/Error.h"
#include "platform/LockedFile.h"
#include "platform/ParsedFileCache.h"

namespace iex {
namespace {

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  const auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// The file as lines, with where each section stands.
struct Lines {
  std::vector<std::string> text;
  // Upper-case section name -> [first, end) of its body; the first of equal names.
  std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> sections;

  explicit Lines(const std::string& content) {
    std::stringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      text.push_back(line);
    }
    Index();
  }
  // Upper-case section and key name, apart by a zero byte -> line of the key; the first of equal names.
  std::unordered_map<std::string, std::size_t> keys;

  void Index() {
    sections.clear();
    keys.clear();
    std::string name, key, section;
    std::pair<std::size_t, std::size_t>* open = nullptr;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (IsSection(text[i], &name)) {
        if (open) open->second = i;
        section = UpperCp1252(name);
        const auto [at, added] = sections.emplace(section, std::pair{i + 1, text.size()});
        open = added ? &at->second : nullptr;
        if (!added) section.clear();  // a later section of the same name is never read
        continue;
      }
      if (open && IsKey(text[i], &key, nullptr)) keys.emplace(section + '\0' + UpperCp1252(key), i);
    }
  }
  static bool IsSection(const std::string& line, std::string* name) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    if (name) *name = Trim(t.substr(1, t.size() - 2));
    return true;
  }
  static bool IsKey(const std::string& line, std::string* key, std::string* value) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '[') return false;
    const auto eq = t.find('=');
    if (eq == std::string::npos) return false;
    if (key) *key = Trim(t.substr(0, eq));
    if (value) {
      std::string v = Trim(t.substr(eq + 1));
      if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
      *value = v;
    }
    return true;
  }
  // [first, end) of the section's body; first == npos when it is missing.
  std::pair<std::size_t, std::size_t> Section(const std::string& section) const {
    const auto at = sections.find(UpperCp1252(section));
    if (at == sections.end()) return {std::string::npos, std::string::npos};
    return at->second;
  }
  std::size_t Key(const std::string& section, const std::string& key) const {
    const auto at = keys.find(UpperCp1252(section) + '\0' + UpperCp1252(key));
    return at == keys.end() ? std::string::npos : at->second;
  }
  std::string Join() const {
    std::string out;
    for (const auto& l : text) out += l + "\r\n";
    return out;
  }
};


}  // namespace

struct TIniFile::Parsed : Lines {
  using Lines::Lines;
};

namespace {

TParsedFileCache<TIniFile::Parsed>& Files() {
  static auto& cache = *new TParsedFileCache<TIniFile::Parsed>;  // never destroyed: read up to the exit
  return cache;
}

// One change under the lock; false from the change writes nothing.
template <typename Change>
void Rewrite(const std::string& file, Change change) {
  try {
    TLockedFile f(file, true);
    if (!f.Writable()) throw EMvError("");
    Lines lines(f.Read());
    if (!change(lines)) return;
    f.Write(lines.Join());
    Files().Forget(file);
  } catch (const EMvError&) {
    throw EMvError("Unable to write to " + ShownPath(file));
  }
}

}  // namespace


std::shared_ptr<const TIniFile::Parsed> TIniFile::Read() const {
  return Files().Get(fileName_, TLockedFile::StampOf(fileName_), [&] {
    TLockedFile f(fileName_, false);
    return Parsed(f.Read());
  });
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const auto parsed = Read();
  const Lines& lines = *parsed;
  const auto at = lines.Key(section, key);
  if (at == std::string::npos) return def;
  std::string value;
  Lines::IsKey(lines.text[at], nullptr, &value);
  return value;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Rewrite(fileName_, [&](Lines& lines) {
    const std::string line = key + "=" + value;
    const auto at = lines.Key(section, key);
    if (at != std::string::npos) {
      lines.text[at] = line;
      return true;
    }
    auto [first, end] = lines.Section(section);
    if (first == std::string::npos) {
      if (!lines.text.empty() && !Trim(lines.text.back()).empty()) lines.text.push_back("");
      lines.text.push_back("[" + section + "]");
      lines.text.push_back(line);
      return true;
    }
    // After the section's last key, before the blank lines that part it from the next.
    std::size_t insert = end;
    while (insert > first && Trim(lines.text[insert - 1]).empty()) --insert;
    lines.text.insert(lines.text.begin() + static_cast<std::ptrdiff_t>(insert), line);
    return true;
  });
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  try {
    Rewrite(fileName_, [&](Lines& lines) {
      const auto at = lines.Key(section, key);
      if (at == std::string::npos) return false;
      lines.text.erase(lines.text.begin() + static_cast<std::ptrdiff_t>(at));
      return true;
    });
  } catch (const EMvError&) {
  }
}

void TIniFile::EraseSection(const std::string& section) {
  Rewrite(fileName_, [&](Lines& lines) {
    const auto [first, end] = lines.Section(section);
    if (first == std::string::npos) return false;
    lines.text.erase(lines.text.begin() + static_cast<std::ptrdiff_t>(first - 1), lines.text.begin() + static_cast<std::ptrdiff_t>(end));
    return true;
  });
}

bool TIniFile::CreateWhole(const std::string& content) {
  try {
    TLockedFile f(fileName_, true);
    if (!f.Writable()) throw EMvError("");
    if (f.Exists()) return false;
    f.Write(content);
    Files().Forget(fileName_);
    return true;
  } catch (const EMvError&) {
    throw EMvError("Unable to write to " + fileName_);
  }
}

bool TIniFile::SectionExists(const std::string& section) const {
  return Read()->Section(section).first != std::string::npos;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return Read()->Key(section, key) != std::string::npos;
}

void TIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys) const {
  keys.clear();
  const auto parsed = Read();
  const Lines& lines = *parsed;
  const auto [first, end] = lines.Section(section);
  if (first == std::string::npos) return;
  for (std::size_t i = first; i < end; ++i) {
    std::string k;
    if (Lines::IsKey(lines.text[i], &k, nullptr)) keys.push_back(k);
  }
}

}  // namespace iex
