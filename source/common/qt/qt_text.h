// Small conversions between the logic's strings (UTF-8 for messages, GBK for document text)
// and Qt's QString, used by every window and adapter.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "common/gbk_text.h"

namespace duvelin {

inline QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

inline QString FromGbk(std::string_view gbk) { return FromUtf8(GbkToUtf8(gbk)); }

inline std::string ToGbk(const QString& text) { return Utf8ToGbk(ToUtf8(text)); }

}  // namespace duvelin
