#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QUrl>

#include "about.h"
#include "archive_file.h"
#include "dialog_layout.h"
#include "name_text.h"
#include "window_fixture.h"

namespace tvk::test {
namespace {

using WindowWalk = WindowTest;

const std::vector<QString> kSampleRows = {
    QStringLiteral("Title Card"),      QStringLiteral("Sunset Lake"),
    QStringLiteral("Checker Floor"),   QStringLiteral("63 Colours"),
    QStringLiteral("Night Caf\u00e9"),
};

// What the window shows at the preview's place.
QImage shown_preview(QWidget& window) {
    return window.grab(QRect(kPreviewLeft, kPreviewTop, kScreenWidth, kScreenHeight)).toImage();
}

// A 120 x 112 picture of four coloured quarters, or any other size.
QImage quarters(int width = kScreenWidth, int height = kScreenHeight) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            image.setPixel(
                x, y,
                x < 60 ? (y < 56 ? 0xFFFF0000 : 0xFF00FF00) : (y < 56 ? 0xFF0000FF : 0xFF123456));
        }
    }
    return image;
}

PixelGrid grid_of(const QImage& image) {
    PixelGrid grid{};
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            const QRgb argb = image.pixel(x, y);
            grid[grid_index(x, y)] = qRed(argb) | qGreen(argb) << 8 | qBlue(argb) << 16;
        }
    }
    return grid;
}

TEST_F(WindowWalk, OpenListsTheEntriesWithNothingSelected) {
    open_sample();
    EXPECT_EQ(rows(), kSampleRows);
    EXPECT_EQ(selected_row(), -1);
    for (const int id : kSelectionButtons) {
        EXPECT_FALSE(button(id).isEnabled()) << id;
    }
    EXPECT_EQ(m_dialogs.asked, std::vector<FileChoice>{FileChoice::open_archive});
    EXPECT_EQ(m_dialogs.owners, std::vector<QWidget*>{&m_window});
}

TEST_F(WindowWalk, ClickingARowShowsItsScreenAndName) {
    open_sample();
    click_row(1);
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(name().text(), QStringLiteral("Sunset Lake"));
    for (const int id : kSelectionButtons) {
        EXPECT_TRUE(button(id).isEnabled()) << id;
    }
    EXPECT_EQ(compare_with_grid(shown_preview(m_window), screen_of(1)), "");
    EXPECT_EQ(compare_with_grid(shown_preview(m_window), m_window.controller().pixel_grid()), "");

    click_row(4);
    EXPECT_EQ(name().text(), QStringLiteral("Night Caf\u00e9"));
    EXPECT_EQ(compare_with_grid(shown_preview(m_window), screen_of(4)), "");
}

TEST_F(WindowWalk, EditingCommandsKeepTheListInStepWithTheArchive) {
    open_sample();
    click_row(0);
    type_name(QStringLiteral("Sunrise"));
    click(kRenameId);
    EXPECT_EQ(rows()[0], QStringLiteral("Sunrise"));
    EXPECT_EQ(selected_row(), 0);

    type_name(QStringLiteral("Extra"));
    click(kAddId);
    ASSERT_EQ(rows().size(), 6u);
    EXPECT_EQ(rows()[5], QStringLiteral("Extra"));
    EXPECT_EQ(selected_row(), 5);
    EXPECT_EQ(compare_with_grid(shown_preview(m_window), PixelGrid{}), "");  // a new entry is black

    click_row(2);
    type_name(QStringLiteral("Inserted"));
    click(kInsertId);
    EXPECT_EQ(rows()[2], QStringLiteral("Inserted"));
    EXPECT_EQ(rows()[3], QStringLiteral("Checker Floor"));
    EXPECT_EQ(selected_row(), 2);

    click(kDeleteId);
    EXPECT_EQ(rows()[2], QStringLiteral("Checker Floor"));
    EXPECT_EQ(selected_row(), 2);
    EXPECT_EQ(name().text(), QStringLiteral("Checker Floor"));

    const PixelGrid checker = screen_of(2);
    click(kMoveUpId);
    EXPECT_EQ(rows()[1], QStringLiteral("Checker Floor"));
    EXPECT_EQ(rows()[2], QStringLiteral("Sunset Lake"));
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(compare_with_grid(shown_preview(m_window), checker), "");
    click(kMoveDownId);
    EXPECT_EQ(rows()[2], QStringLiteral("Checker Floor"));
    EXPECT_EQ(selected_row(), 2);

    const auto saved = temp_path("saved.dat");
    m_dialogs.answers.push_back(saved);
    click(kSaveId);
    EXPECT_EQ(m_dialogs.asked.back(), FileChoice::save_archive);
    EntryStore reread;
    ASSERT_EQ(open_archive_file(reread, saved), std::error_code());
    std::vector<QString> names;
    for (std::size_t i = 0; i < reread.count(); ++i) {
        names.push_back(QString::fromStdU16String(widen_name(reread.display_name(i))));
    }
    EXPECT_EQ(names, rows());
    EXPECT_TRUE(m_dialogs.warnings.empty());
}

TEST_F(WindowWalk, RenameLeavesTheTypedTextInTheNameBox) {
    open_sample();
    click_row(0);
    // The first character above U+00FF ends the stored name; the program's own reselection of
    // the row must not write the stored name back into the box.
    type_name(QStringLiteral("ab\u4e00cd"));
    click(kRenameId);
    EXPECT_EQ(rows()[0], QStringLiteral("ab"));
    EXPECT_EQ(name().text(), QStringLiteral("ab\u4e00cd"));
}

TEST_F(WindowWalk, SetScreenAndSaveScreenExchangePictures) {
    open_sample();
    click_row(3);
    const auto picture = temp_path("quarters.png");
    ASSERT_TRUE(quarters().save(QString::fromStdString(picture.string())));
    m_dialogs.answers.push_back(picture);
    click(kSetScreenId);
    EXPECT_EQ(m_dialogs.asked.back(), FileChoice::open_image);
    EXPECT_EQ(compare_with_grid(shown_preview(m_window), grid_of(quarters())), "");
    EXPECT_EQ(compare_with_grid(quarters(), screen_of(3)), "");
    EXPECT_EQ(rows()[3], QStringLiteral("63 Colours"));

    click_row(0);  // Save Screen writes the screen shown last
    const auto exported = temp_path("exported");
    m_dialogs.answers.push_back(exported);
    click(kSaveScreenId);
    EXPECT_EQ(m_dialogs.asked.back(), FileChoice::save_png);
    QImage written;
    ASSERT_TRUE(written.load(QString::fromStdString(exported.string()), "PNG"));
    EXPECT_EQ(written.size(), QSize(120, 112));
    EXPECT_EQ(compare_with_grid(written, screen_of(0)), "");

    const auto too_wide = temp_path("wide.png");
    ASSERT_TRUE(quarters(121, 112).save(QString::fromStdString(too_wide.string())));
    m_dialogs.answers.push_back(too_wide);
    click(kSetScreenId);
    EXPECT_EQ(m_dialogs.warnings, std::vector<QString>{QStringLiteral("Image width must be 120")});
    EXPECT_EQ(m_dialogs.owners.back(), &m_window);
}

TEST_F(WindowWalk, FailedOpenWarnsAndEmptiesTheList) {
    open_sample();
    const auto text = temp_path("notes.txt");
    QFile file(QString::fromStdString(text.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an archive at all");
    file.close();
    open(text);
    EXPECT_EQ(list().count(), 0);
    open(temp_path("missing.dat"));
    EXPECT_EQ(m_dialogs.warnings, (std::vector<QString>{QStringLiteral("It's not TVK.DAT"),
                                                        QStringLiteral("Can't open")}));
    for (const int id : kSelectionButtons) {
        EXPECT_FALSE(button(id).isEnabled()) << id;
    }
}

TEST_F(WindowWalk, CancelledOpenChangesNothing) {
    open_sample();
    click_row(1);
    m_dialogs.answers.push_back(std::nullopt);
    click(kOpenId);
    EXPECT_EQ(rows(), kSampleRows);
    EXPECT_EQ(selected_row(), 1);
    EXPECT_TRUE(button(kDeleteId).isEnabled());
}

TEST_F(WindowWalk, ClosingReleasesTheArchiveAtOnce) {
    open_sample();
    EXPECT_TRUE(m_window.close());
    EXPECT_FALSE(m_window.isVisible());
    EXPECT_EQ(m_window.controller().store().count(), 0u);
    EXPECT_TRUE(m_dialogs.warnings.empty());
}

}  // namespace

// Takes the place of the desktop for the link tests.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    std::vector<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

namespace {

TEST_F(WindowWalk, LinksOpenTheirTargetsByMouseAndByEnter) {
    UrlRecorder recorder;
    for (const char* scheme : {"mailto", "https", "http"}) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    }
    auto* mail = static_cast<QLabel*>(m_window.control(kMailLinkId));
    auto* web = static_cast<QLabel*>(m_window.control(kWebLinkId));
    QTest::mouseClick(mail, Qt::LeftButton, Qt::NoModifier, QPoint(4, mail->height() / 2));
    mail->setFocus(Qt::TabFocusReason);
    QTest::keyClick(mail, Qt::Key_Tab);
    QTest::keyClick(web, Qt::Key_Return);
    for (const char* scheme : {"mailto", "https", "http"}) {
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    EXPECT_EQ(recorder.opened, (std::vector<QUrl>{QUrl(QString::fromUtf8(kMailLinkTarget.data())),
                                                  QUrl(QString::fromUtf8(kWebLinkTarget.data()))}));
}

}  // namespace
}  // namespace tvk::test

#include "window_walk_test.moc"
