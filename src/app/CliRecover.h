#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Env.h"

namespace iex {

extern const char* const kRecoverUsage;
// "invoice-export recover --output-dir DIR": settles an export into the
// folder that was interrupted while its files went in place (as the next
// export would before anything else), without exporting. 0 when the folder
// holds one whole pair afterwards, 1 when it cannot be settled (or another
// export holds it), 2 for words it does not know.
int RunRecoverCommand(const std::vector<std::string>& args, const Env& env, std::FILE* out, std::FILE* err);

}  // namespace iex
