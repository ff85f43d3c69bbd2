#include "QtFormHost.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>
#include <optional>

#include "AccessibleRoles.h"
#include "Announcement.h"
#include "DrawingView.h"
#include "QtControls.h"
#include "WorkAreaFit.h"

namespace kelbrin {

namespace {

using form::ControlId;
using form::ControlKind;

// The local file or folder a drag carries, as the system names it; nothing for anything else.
std::optional<std::string> DraggedPath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty() ||
        !data->urls().front().isLocalFile()) {
        return std::nullopt;
    }
    const QUrl& url = data->urls().front();
#ifdef _WIN32
    return url.toLocalFile().toStdString();
#else
    // A file URL carries a name's bytes percent-encoded, also those that are no UTF-8, which
    // decoding it into a string would change.
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
#endif
}

} // namespace

// What only the window's own events tell: its close box, and drops.
class WindowEvents final : public QObject {
public:
    WindowEvents(FormEvents& events, QWidget& window) : QObject(&window), events_(events) {
        window.installEventFilter(this);
    }
    // The form closes its window itself: nothing to ask it.
    bool Closing = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Close:
            if (!Closing && !events_.QueryClose()) {
                event->ignore();
                return true;
            }
            return false;
        case QEvent::DragEnter: {
            auto* enter = static_cast<QDragEnterEvent*>(event);
            if (DraggedPath(enter->mimeData())) {
                enter->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (const std::optional<std::string> path = DraggedPath(drop->mimeData())) {
                drop->acceptProposedAction();
                events_.DragDrop(*path);
            }
            return true;
        }
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    FormEvents& events_;
};

namespace {

QWidget* CreateWindow(QtFormHost* owner, bool hasMenus) {
    if (hasMenus) {
        return new QMainWindow();
    }
    if (owner != nullptr) {
        return new QDialog(&owner->Window());
    }
    auto* window = new QWidget();
    SetAccessibleRole(*window, QAccessible::Window);
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    return window;
}

// The widget the controls lie on. A main window's lies under its menu bar; the others' scrolls
// inside its window, which a small screen may leave smaller than it (WorkAreaFit).
QWidget& CreateClient(QWidget& window) {
    if (auto* main = qobject_cast<QMainWindow*>(&window)) {
        main->setCentralWidget(new QWidget(main));
        return *main->centralWidget();
    }
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(&window);
    scroll->setFrameShape(QFrame::NoFrame);
    // Tab goes from control to control, never to the area around them.
    scroll->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(scroll);
    auto* client = new QWidget();
    scroll->setWidget(client);
    return *client;
}

} // namespace

QtFormHost::QtFormHost(const form::Form& description, FormEvents& events, QtFormHost* owner)
    : description_(description), events_(events),
      window_(CreateWindow(owner, !description.Menus.empty())), client_(&CreateClient(*window_)) {
    controls_ = DrawForm(description, *window_, *client_);
    if (auto* main = qobject_cast<QMainWindow*>(window_)) {
        CreateMenus(*main);
        // The window is its client area under the menu bar, which fits any screen.
        main->layout()->setSizeConstraint(QLayout::SetFixedSize);
    } else {
        window_->setFixedSize(client_->size());
        new WorkAreaFit(*window_, *client_);
    }
    ConnectControls();
    windowEvents_ = new WindowEvents(events_, *window_);
}

QtFormHost::~QtFormHost() {
    delete window_;
}

void QtFormHost::CreateMenus(QMainWindow& window) {
    for (const form::Menu& menu : description_.Menus) {
        QMenu* bar = window.menuBar()->addMenu(QString::fromLatin1(menu.Caption));
        bar->setObjectName(QString::fromLatin1(menu.Name));
        for (const form::MenuItem& item : menu.Items) {
            if (item.Caption == "-") {
                bar->addSeparator()->setObjectName(QString::fromLatin1(item.Name));
                continue;
            }
            QAction* action = bar->addAction(QString::fromLatin1(item.Caption));
            action->setObjectName(QString::fromLatin1(item.Name));
            if (item.CtrlKey != 0) {
                action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(item.CtrlKey)));
            }
            QObject::connect(action, &QAction::triggered, &window,
                             [this, id = item.Id] { events_.Choose(id); });
            items_[item.Id] = action;
        }
    }
}

void QtFormHost::ConnectControls() {
    for (const form::Control& control : description_.Controls) {
        const ControlId id = control.Id;
        if (control.Kind == ControlKind::PushButton) {
            QObject::connect(static_cast<QAbstractButton*>(controls_.at(id)),
                             &QAbstractButton::clicked, window_, [this, id] { events_.Click(id); });
        } else if (control.Kind == ControlKind::OptionButton) {
            // Arrow keys, Space and the mouse all choose an option; only the one newly chosen
            // reports.
            QObject::connect(static_cast<QAbstractButton*>(controls_.at(id)),
                             &QAbstractButton::toggled, window_, [this, id](bool chosen) {
                                 if (chosen) {
                                     events_.Click(id);
                                 }
                             });
        }
    }
}

void QtFormHost::SetCaption(ControlId control, const std::string& caption) {
    QWidget* widget = controls_.at(control);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(Shown(caption));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(Shown(caption));
    }
}

void QtFormHost::Announce(ControlId control, const std::string& caption) {
    SetCaption(control, caption);
    controls_.at(control)
        ->findChild<Announcement*>(QString(), Qt::FindDirectChildrenOnly)
        ->Say(Shown(caption));
}

std::string QtFormHost::Caption(ControlId control) const {
    const QWidget* widget = controls_.at(control);
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text().toStdString();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text().toStdString();
    }
    return {};
}

void QtFormHost::SetText(ControlId control, const std::string& text) {
    QWidget* widget = controls_.at(control);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        // A path is shown as the file dialogs give it.
        line->setText(form::ControlOf(description_, control).HoldsPath
                          ? QFile::decodeName(text.c_str())
                          : Shown(text));
    } else if (auto* page = qobject_cast<QPlainTextEdit*>(widget)) {
        page->setPlainText(Shown(text));
    }
}

std::string QtFormHost::Text(ControlId control) const {
    const QWidget* widget = controls_.at(control);
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return form::ControlOf(description_, control).HoldsPath
                   ? QFile::encodeName(line->text()).toStdString()
                   : line->text().toStdString();
    }
    if (const auto* page = qobject_cast<const QPlainTextEdit*>(widget)) {
        return page->toPlainText().toStdString();
    }
    return {};
}

void QtFormHost::SetEnabled(ControlId control, bool enabled) {
    controls_.at(control)->setEnabled(enabled);
}

void QtFormHost::SetEnabled(form::MenuId item, bool enabled) {
    items_.at(item)->setEnabled(enabled);
}

void QtFormHost::SetVisible(ControlId control, bool visible) {
    controls_.at(control)->setVisible(visible);
}

void QtFormHost::SetFocus(ControlId control) {
    controls_.at(control)->setFocus();
}

void QtFormHost::SetPicture(ControlId control, form::Picture picture) {
    ShowPicture(*static_cast<QLabel*>(controls_.at(control)), picture);
}

void QtFormHost::SetDrawing(ControlId control, const form::Drawing& drawing) {
    static_cast<DrawingView*>(controls_.at(control))->SetDrawing(drawing);
}

void QtFormHost::SetTitleName(const std::string& name) {
    const QString caption = QString::fromLatin1(description_.Caption);
    window_->setWindowTitle(name.empty() ? caption
                                         : caption + QString::fromUtf8(" \u2013 ") +
                                               QFile::decodeName(name.c_str()));
}

void QtFormHost::SetPathTip(ControlId control, const std::string& path) {
    controls_.at(control)->setToolTip(QFile::decodeName(path.c_str()));
}

void QtFormHost::TakeDrops(bool take) {
    window_->setAcceptDrops(take);
}

void QtFormHost::Show() {
    if (window_->isMinimized()) {
        window_->showNormal();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtFormHost::ShowModal() {
    qobject_cast<QDialog*>(window_)->exec();
}

void QtFormHost::Close() {
    windowEvents_->Closing = true;
    window_->close();
    windowEvents_->Closing = false;
}

bool QtFormHost::IsOpen() const {
    return window_ != nullptr && window_->isVisible();
}

} // namespace kelbrin
