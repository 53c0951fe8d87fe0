#pragma once
#include <cstdio>

#include "platform/Env.h"

namespace iex {

// "invoice-export aliases": every alias display line with its path and
// connection type. 0, or 1 when the alias stores cannot be read.
int RunAliasesCommand(const Env& env, std::FILE* out, std::FILE* err);

// The path of an alias name, as the window resolves its chosen line.
std::string ResolveAliasPath(const Env& env, const std::string& aliasName);

}  // namespace iex
