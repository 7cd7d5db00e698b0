#include "qt_path.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <fstream>

namespace tvk {
namespace {

TEST(QtPath, NamesTheSameFileOnBothSides) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path file =
        std::filesystem::path(dir.path().toStdString()) / "Caf\xC3\xA9 screen #1.png";
    std::ofstream(file) << "bytes";

    QFile qt_file(qt_path(file));
    ASSERT_TRUE(qt_file.open(QIODevice::ReadOnly));
    EXPECT_EQ(qt_file.readAll(), QByteArray("bytes"));
    EXPECT_TRUE(qt_path(file).endsWith(QStringLiteral("Caf\u00e9 screen #1.png")));
    EXPECT_EQ(std_path(qt_path(file)), file);
}

}  // namespace
}  // namespace tvk
