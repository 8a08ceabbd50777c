#pragma once

#include <QString>
#include <string>

namespace ui {

// A text of the bill book (UTF-8) as the window shows it.
inline QString BookText(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace ui
