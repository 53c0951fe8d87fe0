#pragma once
#include <string>

namespace iex {

// Puts value n of the TAB-separated Values in place of each %n of Template;
// %% gives one %.
std::string FillTemplate(const std::string& templ, const std::string& values);

}  // namespace iex
