#pragma once
#include <string>

#include "platform/FileSystem.h"
#include "platform/RegionalSettings.h"

namespace iex {

// Date values count days since 30 December 1899; the fraction is the time of day.
using DateValue = double;

// Where the registry hives and the application-data folders live. Without
// hive files the registry is the machine's own (Windows).
struct TPlatformPaths {
  std::string userHive;         // file of HKEY_CURRENT_USER
  std::string machineHive;      // file of HKEY_LOCAL_MACHINE
  std::string userProfileName;  // the one profile HKEY_USERS shows
  std::string userAppData;      // the current user's application data
  std::string commonAppData;    // application data of all users
  // Where an older install kept it; read when commonAppData holds no alias file yet.
  std::string commonAppDataFallback;
};

// The one seam between the program and the machine it runs on. Production code
// receives an Env; tests pass their own.
class Env {
 public:
  virtual ~Env() = default;
  virtual RegionalSettings Regional() const = 0;
  // Local date and time now.
  virtual DateValue Now() const = 0;
  // The root that root-relative paths hang from ("/" on this system), and
  // the folder of the program's own executable file. Both end in a separator.
  virtual std::string FileSystemRoot() const = 0;
  virtual std::string ProgramFolder() const = 0;
  virtual TPlatformPaths Paths() const = 0;
  // Where import files are written; tests put a faulty disk here.
  virtual TFileSystem& Files() const { return DefaultFileSystem(); }
};

// The machine's own: regional settings from the C library locale of the
// environment (the user's regional settings on Windows), the system clock in
// local time.
Env& DefaultEnv();

}  // namespace iex
