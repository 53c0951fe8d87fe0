#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/SavedSettings.h"
#include "platform/Env.h"

namespace iex {

// Resolves an alias name to its database path; empty when there is none.
using TAliasResolver = std::function<std::string(const std::string& alias)>;

// "invoice-export export ...": 0 after both files are written and committed,
// 1 when the export fails, 2 for usage and validation errors.
int RunExportCommand(const std::vector<std::string>& args, const Env& env, TSettingsStore* store,
                     const TAliasResolver& resolveAlias, std::FILE* out, std::FILE* err);

}  // namespace iex
