// Conversions between the logic's UTF-8 texts and the toolkit's strings.
#pragma once

#include <QString>

#include <string>

namespace kestal {

inline QString QText(const char* text) { return QString::fromUtf8(text); }
inline QString QText(const std::string& text) { return QString::fromStdString(text); }
inline std::string Utf8(const QString& text) { return text.toStdString(); }

// The application title: window caption and the title of every message box.
inline const char* const ApplicationTitle = "Kestal 2.0";

}  // namespace kestal
