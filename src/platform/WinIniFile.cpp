#include <windows.h>

#include "platform/Cp1252Case.h"
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/LockedFile.h"
#include "platform/WinText.h"

// The system's own INI routines, so the files read and written are the ones
// the agency product's other programs use, in the way they use them.
namespace iex {
namespace {

using win::WideOfAnsi;

// A double-zero-terminated list of names, asked with a growing buffer.
template <typename Ask>
std::vector<std::string> NameList(Ask ask) {
  std::vector<wchar_t> buf(4096);
  for (;;) {
    const DWORD n = ask(buf.data(), static_cast<DWORD>(buf.size()));
    if (n + 2 < buf.size()) {
      std::vector<std::string> names;
      for (const wchar_t* p = buf.data(); *p; p += wcslen(p) + 1) names.push_back(win::AnsiOfWide(p));
      return names;
    }
    buf.resize(buf.size() * 4);
  }
}

// Our own writers take turns; the system's routines rewrite the whole file.
template <typename Change>
void Write(const std::string& file, Change change) {
  TLockedFile lock(file, true);
  if (!lock.Writable() || !change(win::WideOfUtf8(file))) throw EMvError("Unable to write to " + file);
}

}  // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  std::vector<wchar_t> buf(1024);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(WideOfAnsi(section).c_str(), WideOfAnsi(key).c_str(),
                                             WideOfAnsi(def).c_str(), buf.data(), static_cast<DWORD>(buf.size()),
                                             win::WideOfUtf8(fileName_).c_str());
    if (n + 1 < buf.size()) return win::AnsiOfWide(std::wstring_view(buf.data(), n));
    buf.resize(buf.size() * 4);
  }
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Write(fileName_, [&](const std::wstring& file) {
    return WritePrivateProfileStringW(WideOfAnsi(section).c_str(), WideOfAnsi(key).c_str(),
                                      WideOfAnsi(value).c_str(), file.c_str()) != 0;
  });
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  try {
    Write(fileName_, [&](const std::wstring& file) {
      return WritePrivateProfileStringW(WideOfAnsi(section).c_str(), WideOfAnsi(key).c_str(), nullptr, file.c_str()) != 0;
    });
  } catch (const EMvError&) {
  }
}

void TIniFile::EraseSection(const std::string& section) {
  Write(fileName_, [&](const std::wstring& file) {
    return WritePrivateProfileStringW(WideOfAnsi(section).c_str(), nullptr, nullptr, file.c_str()) != 0;
  });
}

bool TIniFile::CreateWhole(const std::string& content) {
  bool created = false;
  Write(fileName_, [&](const std::wstring& file) {
    if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    WriteFileAtomically(fileName_, content);
    created = true;
    return true;
  });
  return created;
}

bool TIniFile::SectionExists(const std::string& section) const {
  const std::string wanted = UpperCp1252(section);
  const std::wstring file = win::WideOfUtf8(fileName_);
  for (const auto& name : NameList([&](wchar_t* buf, DWORD size) { return GetPrivateProfileSectionNamesW(buf, size, file.c_str()); }))
    if (UpperCp1252(name) == wanted) return true;
  return false;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  // A default no value can hold tells a missing key from an empty one.
  static const std::string kAbsent("\x01\x02", 2);
  return ReadString(section, key, kAbsent) != kAbsent;
}

void TIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys) const {
  const std::wstring file = win::WideOfUtf8(fileName_);
  const std::wstring wsection = WideOfAnsi(section);
  keys = NameList([&](wchar_t* buf, DWORD size) {
    return GetPrivateProfileStringW(wsection.c_str(), nullptr, L"", buf, size, file.c_str());
  });
}

}  // namespace iex
