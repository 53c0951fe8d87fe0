#include <langinfo.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include <clocale>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/CivilDate.h"
#include "platform/Codepage1252.h"
#include "platform/Console.h"
#include "platform/Env.h"

namespace iex {
namespace {

// Turns a strftime date pattern (%m/%d/%y) into the letter pattern the date
// routines read (MM/dd/yy). Conversions they cannot show are dropped.
std::string LetterPattern(const std::string& fmt) {
  std::string out;
  for (std::size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != '%' || i + 1 >= fmt.size()) {
      out += fmt[i];
      continue;
    }
    char c = fmt[++i];
    if ((c == 'E' || c == 'O') && i + 1 < fmt.size()) c = fmt[++i];
    switch (c) {
      case 'd': out += "dd"; break;
      case 'e': out += "d"; break;
      case 'm': out += "MM"; break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'D': out += "MM/dd/yy"; break;
      case 'F': out += "yyyy-MM-dd"; break;
      default: break;
    }
  }
  return out;
}

class PosixEnv final : public Env {
 public:
  PosixEnv() {
    // Read once: the C library locale is process-wide state.
    std::setlocale(LC_ALL, "");
    const char* ctype = std::setlocale(LC_CTYPE, nullptr);
    const std::string name = ctype ? ctype : "C";
    if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) {
      std::setlocale(LC_ALL, "C");
      UseUtf8FileNames();
      return;  // the US defaults of RegionalSettings
    }
    std::string pattern = LetterPattern(nl_langinfo(D_FMT));
    if (!pattern.empty()) settings_.shortDateFormat = pattern;
    for (char c : settings_.shortDateFormat)
      if (c != 'd' && c != 'M' && c != 'y') {
        settings_.dateSeparator = c;
        break;
      }
    static const nl_item kMonths[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                        ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
    for (int m = 0; m < 12; ++m) {
      std::string n = Utf8ToCp1252(nl_langinfo(kMonths[m]));
      while (!n.empty() && n.back() == '.') n.pop_back();
      if (!n.empty()) settings_.shortMonthNames[m] = n;
    }
    const char* radix = nl_langinfo(RADIXCHAR);
    if (radix && radix[0] && !radix[1]) settings_.decimalSeparator = radix[0];
    // Numbers are read and written by our own routines; keep the C library in
    // its neutral form so nothing else changes behaviour with the locale.
    std::setlocale(LC_ALL, "C");
    UseUtf8FileNames();
  }

  RegionalSettings Regional() const override { return settings_; }

  std::string FileSystemRoot() const override { return "/"; }

  TPlatformPaths Paths() const override {
    auto env = [](const char* name, const std::string& fallback) {
      const char* v = std::getenv(name);
      return v && *v ? std::string(v) : fallback;
    };
    const char* home = std::getenv("HOME");
    const std::string config = env("XDG_CONFIG_HOME", std::string(home && *home ? home : "/root") + "/.config");
    TPlatformPaths p;
    p.userHive = env("MOVRA_USER_HIVE", config + "/movra/HKEY_CURRENT_USER.reg");
    p.machineHive = env("MOVRA_MACHINE_HIVE", "/etc/movra/HKEY_LOCAL_MACHINE.reg");
    p.userAppData = config;
    // The all-users folder a package can make group-writable; /etc/xdg is
    // where earlier versions looked, and is still read.
    const char* common = std::getenv("MOVRA_COMMON_APPDATA");
    p.commonAppData = common && *common ? common : "/var/lib";
    if (!(common && *common)) p.commonAppDataFallback = "/etc/xdg";
    const passwd* pw = getpwuid(getuid());
    p.userProfileName = env("USER", pw && pw->pw_name ? pw->pw_name : "user");
    return p;
  }

  std::string ProgramFolder() const override {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
  }

  DateValue Now() const override {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    localtime_r(&ts.tv_sec, &local);
    return DateValueOfCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                            local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ts.tv_nsec / 1e9);
  }

 private:
  RegionalSettings settings_;
};

}  // namespace

Env& DefaultEnv() {
  static auto& env = *new PosixEnv;  // never destroyed, as the file system
  return env;
}

}  // namespace iex
