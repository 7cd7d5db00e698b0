#include "main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <algorithm>
#include <array>

#include "about.h"
#include "commands.h"
#include "dialog_layout.h"
#include "dialog_units.h"
#include "link_label.h"
#include "list_keys.h"
#include "qt_path.h"
#include "qt_text.h"

namespace tvk {
namespace {

struct Link {
    int id;
    std::string_view text;
    std::string_view target;
};

constexpr std::array<Link, 2> kLinks = {{
    {kMailLinkId, kMailLinkText, kMailLinkTarget},
    {kWebLinkId, kWebLinkText, kWebLinkTarget},
}};

const Link& link_for(int id) {
    return *std::find_if(kLinks.begin(), kLinks.end(), [id](const Link& l) { return l.id == id; });
}

constexpr std::array<int, 4> kIconSizes = {16, 32, 48, 256};

// The first local file among the dragged URLs; empty when there is none.
QString dropped_file(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

QKeySequence key_sequence(const KeyBinding& key) {
    const Qt::KeyboardModifiers modifiers =
        key.shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key.letter)));
}

}  // namespace

QIcon window_icon() {
    QIcon icon;
    for (const int size : kIconSizes) {
        icon.addFile(QStringLiteral(":/icons/tvk-edit-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

MainWindow::MainWindow(ImageFiles& images, DesktopDialogs& dialogs)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
    setWindowTitle(qt_text(kWindowTitle));
    setWindowIcon(window_icon());
    // The layout is measured for an 8 point font; the desktop chooses the family.
    QFont font = this->font();
    font.setPointSize(kDialogFontPoints);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);
    // Files dropped anywhere on the window reach the window itself.
    setAcceptDrops(true);

    // Created in layout order, which makes it the tab order too.
    for (const ControlLayout& layout : kControls) {
        QWidget* control = make_control(layout);
        const PixelRect place = control_pixels(layout);
        control->setGeometry(place.x, place.y, place.width, place.height);
        m_controls.emplace(layout.id, control);
    }
    m_preview = new PreviewWidget(this);
    m_preview->setGeometry(kPreviewLeft, kPreviewTop, kScreenWidth, kScreenHeight);

    std::vector<QWidget*> selection_buttons;
    for (const int id : kSelectionButtons) {
        selection_buttons.push_back(control(id));
    }
    m_view = std::make_unique<QtEditorView>(*this, *m_list, *m_name, std::move(selection_buttons),
                                            *m_preview, dialogs);
    m_controller = std::make_unique<EditorController>(*m_view, images);
    connect_commands();
    m_controller->initialise();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::make_control(const ControlLayout& layout) {
    switch (layout.kind) {
        case ControlKind::list:
            return m_list = new EntryList(this);
        case ControlKind::button:
            return new QPushButton(qt_text(layout.text), this);
        case ControlKind::edit:
            m_name = new QLineEdit(this);
            m_name->setMaxLength(kNameMaxLength);
            m_name->setAcceptDrops(false);
            return m_name;
        case ControlKind::credit: {
            auto* credit = new QLabel(qt_text(kCreditLine), this);
            credit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            return credit;
        }
        case ControlKind::link: {
            const Link& link = link_for(layout.id);
            return new LinkLabel(qt_text(link.text), QUrl(qt_text(link.target)), this);
        }
    }
    return nullptr;
}

void MainWindow::connect_commands() {
    for (const CommandBinding& binding : kCommands) {
        if (const auto found = m_controls.find(binding.id); found != m_controls.end()) {
            connect(static_cast<QPushButton*>(found->second), &QPushButton::clicked, this,
                    [this, command = binding.command] { m_controller->run(command); });
        }
    }
    // The name box keeps the keys it edits with (Ctrl+Z undoes typing there): it claims them
    // before a window shortcut sees them.
    for (const KeyBinding& key : kCommandKeys) {
        auto* shortcut = new QShortcut(key_sequence(key), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, command = key.command] { m_controller->run(command); });
    }
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_controller->selection_changed(); });
    // A click on the row already selected shows it again, as a list box reports every click.
    m_list->on_reselected([this] { m_controller->selection_changed(); });
    m_list->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        return m_controller->list_key(list_key_from_qt(key->key()), shift) == KeyAnswer::handled;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::open_at_start(const std::filesystem::path& file) {
    m_controller->open_file(file);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!dropped_file(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = dropped_file(event->mimeData());
    if (file.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    m_controller->drop_file(std_path(file));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing asks nothing and saves nothing.
    m_controller->release();
    event->accept();
}

}  // namespace tvk
