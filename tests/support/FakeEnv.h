#pragma once
#include <string>

#include "platform/Env.h"

namespace iex::test {

// Regional settings and a clock the test decides. Defaults: US settings and
// Wednesday 15 May 2024, noon.
class FakeEnv : public Env {
 public:
  RegionalSettings settings;
  DateValue now = 45427.5;

  std::string root = "/";
  std::string programFolder = "/usr/local/bin/";

  RegionalSettings Regional() const override { return settings; }
  DateValue Now() const override { return now; }
  std::string FileSystemRoot() const override { return root; }
  std::string ProgramFolder() const override { return programFolder; }
  // Nowhere anything can be written: tests that need hives give their own.
  TPlatformPaths paths{"/proc/iex-no-hive/user.reg", "/proc/iex-no-hive/machine.reg", "tester",
                       "/proc/iex-no-hive/appdata", "/proc/iex-no-hive/common", ""};
  TPlatformPaths Paths() const override { return paths; }
  TFileSystem* files = nullptr;  // null: the real one
  TFileSystem& Files() const override { return files ? *files : DefaultFileSystem(); }
};

inline RegionalSettings DayFirstSettings() {
  RegionalSettings s;
  s.shortDateFormat = "dd.MM.yyyy";
  s.dateSeparator = '.';
  s.shortMonthNames = {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  s.decimalSeparator = ',';
  return s;
}

}  // namespace iex::test
