#pragma once
#include <QString>
#include <string>

#include "platform/AnsiText.h"

namespace iex::qt {

inline QString Q(const std::string& cp1252) { return QString::fromStdString(AnsiToUtf8(cp1252)); }
inline std::string S(const QString& text) { return Utf8ToAnsi(text.toStdString()); }
// File paths travel as UTF-8, never through the code page.
inline QString QPath(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string PathOfQ(const QString& path) { return path.toStdString(); }

}  // namespace iex::qt
