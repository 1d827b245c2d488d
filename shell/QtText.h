// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions at the edge between widgets (QString) and logic (UTF-8).
#include <QString>
#include <string>

namespace Shell {

inline std::string U8(const QString& s) { return s.toStdString(); }
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

} // namespace Shell
