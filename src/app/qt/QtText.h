#pragma once
#include <QString>
#include <string>

#include "platform/Codepage1252.h"

namespace iex::qt {

inline QString Q(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }
inline std::string S(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

}  // namespace iex::qt
