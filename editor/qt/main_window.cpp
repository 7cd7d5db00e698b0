#include "main_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <array>

#include "about.h"
#include "dialog_layout.h"
#include "dialog_units.h"
#include "link_label.h"
#include "list_keys.h"
#include "qt_text.h"

namespace tvk {
namespace {

using Command = void (EditorController::*)();

struct ButtonCommand {
    int id;
    Command command;
};

constexpr std::array<ButtonCommand, 10> kButtonCommands = {{
    {kOpenId, &EditorController::open_archive},
    {kSaveId, &EditorController::save_archive},
    {kRenameId, &EditorController::rename},
    {kAddId, &EditorController::add},
    {kInsertId, &EditorController::insert},
    {kDeleteId, &EditorController::delete_entry},
    {kMoveUpId, &EditorController::move_up},
    {kMoveDownId, &EditorController::move_down},
    {kSetScreenId, &EditorController::set_screen},
    {kSaveScreenId, &EditorController::save_screen},
}};

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
    for (const ButtonCommand& button : kButtonCommands) {
        connect(static_cast<QPushButton*>(control(button.id)), &QPushButton::clicked, this,
                [this, command = button.command] { (m_controller.get()->*command)(); });
    }
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_controller->selection_changed(); });
    m_list->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        return m_controller->list_key(list_key_from_qt(key->key()), shift) == kKeyHandled;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing asks nothing and saves nothing.
    m_controller->release();
    event->accept();
}

}  // namespace tvk
