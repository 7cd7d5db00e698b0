#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <filesystem>

namespace tvk {

// File names cross between Qt and the standard library as the very bytes Qt itself uses for them,
// so a name that is not valid text still names the same file and never raises a conversion error.
inline QString qt_path(const std::filesystem::path& file) {
    return QFile::decodeName(QByteArray::fromStdString(file.native()));
}

inline std::filesystem::path std_path(const QString& file) {
    return QFile::encodeName(file).toStdString();
}

}  // namespace tvk
