#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Env.h"

namespace iex {

extern const char* const kAliasesUsage;
// "invoice-export aliases": every alias display line with its path and
// connection type, warnings on standard error; "--seed-global" writes the
// all-users alias file from the registry. 0, 1 when the alias stores cannot
// be read, 2 for words it does not know.
int RunAliasesCommand(const std::vector<std::string>& args, const Env& env, std::FILE* out, std::FILE* err);

// The path of an alias name, as the window resolves its chosen line.
std::string ResolveAliasPath(const Env& env, const std::string& aliasName);

}  // namespace iex
