#pragma once
#include <optional>
#include <string>
#include <vector>

namespace iex {

// The words the program was started with, without its own name, as UTF-8
// text: Windows hands main() its ANSI code page, so there they are read
// from the wide command line instead.
std::vector<std::string> CommandLineWords(int argc, char** argv);

// An environment variable's value as UTF-8 text; nothing when it is not set.
std::optional<std::string> EnvironmentValue(const std::string& name);

// Makes the console show the UTF-8 text the program prints (Windows); does
// nothing where terminals speak UTF-8 already.
void PrepareConsole();

// File names reach the database client library as UTF-8, which it turns
// into the system's own form through the C library's character type: keep
// that UTF-8 whatever the locale says (Linux); nothing to do on Windows.
void UseUtf8FileNames();

// The folder of the embedded database engine's lock files (FIREBIRD_LOCK,
// else the engine's default), with a final separator; "" where the engine
// keeps no such folder of its own (Windows).
std::string EngineLockFolder();

// Whether a window can be shown: a desktop session's display.
bool DisplayAvailable();

}  // namespace iex
