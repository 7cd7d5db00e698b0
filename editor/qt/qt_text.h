#pragma once

#include <QString>
#include <string_view>

namespace tvk {

// The editor's texts are UTF-8.
inline QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tvk
