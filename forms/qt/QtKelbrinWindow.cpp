#include "QtKelbrinWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <cstdlib>
#include <utility>

#include "QtControls.h"
#include "QtHowToWindow.h"
#include "QtInfoWindow.h"

namespace kelbrin {

using form::ControlId;

namespace {

// The user's settings: ~/.config/Kelbrin/Kelbrin.conf on Linux.
QSettings UserSettings() {
    return QSettings("Kelbrin", "Kelbrin");
}

// Qt's file dialog writes its history into the user's QtProject.conf when it closes, cancelled
// or not, whatever it is asked. For a copy that must write nothing, the user's settings lie,
// while this lives, under a device, where no folder can ever be made, not even by root. (On
// Windows they are the registry, which no path moves; Windows users get the Win32 window.)
class SettingsNowhere {
public:
    SettingsNowhere()
        : userFolder_(
              QFileInfo(
                  QSettings(QSettings::NativeFormat, QSettings::UserScope, "QtProject").fileName())
                  .absolutePath()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, "/dev/null");
    }
    ~SettingsNowhere() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userFolder_);
    }
    SettingsNowhere(const SettingsNowhere&) = delete;
    SettingsNowhere& operator=(const SettingsNowhere&) = delete;

private:
    QString userFolder_;
};

// The local file a drag carries, as the system names it; nothing for anything else.
std::optional<std::string> DraggedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty() ||
        !data->urls().front().isLocalFile()) {
        return std::nullopt;
    }
    return QFile::encodeName(data->urls().front().toLocalFile()).toStdString();
}

} // namespace

QtKelbrinWindow::QtKelbrinWindow(std::string programDirectory, std::optional<std::string> startPath)
    : form_(*this, std::move(programDirectory), std::move(startPath)) {
    EndProcess = [] { std::exit(EXIT_SUCCESS); };
    auto* client = new QWidget(this);
    setCentralWidget(client);
    controls_ = DrawForm(form::KelbrinForm(), *this, *client);
    for (std::int16_t i = 0; i < 2; ++i) {
        connect(Control<QPushButton>(form::ExpandButton(i)), &QPushButton::clicked, this,
                [this, i] { form_.cmdExpand_Click(i); });
    }
    CreateMenus();
    // The window is its client area under the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true);
    form_.Form_Load();
}

QtKelbrinWindow::~QtKelbrinWindow() {
    if (howTo_) {
        howTo_->close();
    }
}

void QtKelbrinWindow::CreateMenus() {
    for (const form::Menu& menu : form::KelbrinForm().Menus) {
        QMenu* bar = menuBar()->addMenu(QString::fromLatin1(menu.Caption));
        bar->setObjectName(QString::fromLatin1(menu.Name));
        for (const form::MenuItem& item : menu.Items) {
            QAction* action = item.Caption == "-"
                                  ? bar->addSeparator()
                                  : bar->addAction(QString::fromLatin1(item.Caption));
            action->setObjectName(QString::fromLatin1(item.Name));
            if (item.CtrlKey != 0) {
                action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(item.CtrlKey)));
            }
            items_[item.Id] = action;
        }
    }
    using form::MenuId;
    const std::pair<MenuId, std::function<void()>> handlers[] = {
        {MenuId::mnuFile_Expand0, [this] { form_.mnuFile_Expand_Click(0); }},
        {MenuId::mnuFile_Expand1, [this] { form_.mnuFile_Expand_Click(1); }},
        {MenuId::mnuFile_Folder, [this] { form_.mnuFile_Folder_Click(); }},
        {MenuId::mnuFile_Info, [this] { form_.mnuFile_Info_Click(); }},
        {MenuId::mnuFile_Exit, [this] { form_.mnuFile_Exit_Click(); }},
        {MenuId::mnuHelp_HowTo, [this] { form_.mnuHelp_HowTo_Click(); }},
        {MenuId::mnuHelp_About, [this] { form_.mnuHelp_About_Click(); }},
    };
    for (const auto& [id, handler] : handlers) {
        connect(items_.at(id), &QAction::triggered, this, handler);
    }
}

template <typename Widget> Widget* QtKelbrinWindow::Control(ControlId id) const {
    return static_cast<Widget*>(controls_.at(id));
}

QtHowToWindow* QtKelbrinWindow::HowToWindow() const {
    return howTo_;
}

void QtKelbrinWindow::SetEnabled(ControlId control, bool enabled) {
    controls_.at(control)->setEnabled(enabled);
}

void QtKelbrinWindow::SetEnabled(form::MenuId item, bool enabled) {
    items_.at(item)->setEnabled(enabled);
}

void QtKelbrinWindow::GiveFocus(ControlId control) {
    controls_.at(control)->setFocus();
}

std::string QtKelbrinWindow::Caption(ControlId control) const {
    return Control<QLabel>(control)->text().toStdString();
}

void QtKelbrinWindow::ShowAboutBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(form::kAboutTitle), Shown(text),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtKelbrinWindow::ShowHowToWindow() {
    if (howTo_) {
        howTo_->show();
        howTo_->raise();
        howTo_->activateWindow();
        return;
    }
    howTo_ = new QtHowToWindow();
    howTo_->show();
}

void QtKelbrinWindow::Quit() {
    close();
    QApplication::quit();
}

void QtKelbrinWindow::EndProgram() {
    EndProcess();
}

void QtKelbrinWindow::closeEvent(QCloseEvent* event) {
    if (form_.QueryClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

std::optional<std::string> QtKelbrinWindow::ChooseFolder(const std::string& start) {
    std::optional<SettingsNowhere> nowhere;
    if (keepNoSettings_) {
        nowhere.emplace();
    }
    const QString chosen = QFileDialog::getExistingDirectory(
        this, "Choose the folder that holds Kelbrin.txt", QFile::decodeName(start.c_str()));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(chosen).toStdString();
}

void QtKelbrinWindow::ShowFolder(const std::string& path, const std::string& name) {
    const QString title = QString::fromLatin1(form::KelbrinForm().Caption);
    setWindowTitle(name.empty()
                       ? title
                       : title + QString::fromUtf8(" \u2013 ") + QFile::decodeName(name.c_str()));
    controls_.at(ControlId::lblStatus)->setToolTip(QFile::decodeName(path.c_str()));
}

void QtKelbrinWindow::ShowInfoWindow(const std::string& report) {
    QtInfoWindow(report, this).exec();
}

std::optional<std::string> QtKelbrinWindow::RememberedFolder() {
    const QByteArray folder = UserSettings().value("folder").toByteArray();
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder.toStdString();
}

void QtKelbrinWindow::RememberFolder(const std::string& folder) {
    UserSettings().setValue("folder", QByteArray::fromStdString(folder));
}

void QtKelbrinWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (DraggedFile(event->mimeData()) && !form_.IsRunning()) {
        event->acceptProposedAction();
    }
}

void QtKelbrinWindow::dropEvent(QDropEvent* event) {
    if (const std::optional<std::string> file = DraggedFile(event->mimeData())) {
        event->acceptProposedAction();
        form_.Form_DragDrop(*file);
    }
}

void QtKelbrinWindow::SetStatus(const std::string& text) {
    Control<QLabel>(ControlId::lblStatus)->setText(Shown(text));
}

void QtKelbrinWindow::ShowMD5(const std::string& digest) {
    Control<QLineEdit>(ControlId::txtMD5)->setText(Shown(digest));
    controls_.at(ControlId::txtMD5)->show();
    controls_.at(ControlId::lblMD5)->show();
}

void QtKelbrinWindow::HideMD5() {
    controls_.at(ControlId::lblMD5)->hide();
    controls_.at(ControlId::txtMD5)->hide();
}

void QtKelbrinWindow::LetEventsRun() {
    // Painting the status line once per directive line would cost ten times the run itself.
    // Its caption is always current; it is painted at most once per screen refresh.
    constexpr qint64 kRefreshMilliseconds = 16;
    const bool paint =
        !statusPainted_.isValid() || statusPainted_.elapsed() >= kRefreshMilliseconds;
    if (paint) {
        statusPainted_.restart();
    }
    controls_.at(ControlId::lblStatus)->setUpdatesEnabled(paint);
    QCoreApplication::processEvents();
}

void QtKelbrinWindow::RunEnded() {
    controls_.at(ControlId::lblStatus)->setUpdatesEnabled(true);
}

void QtKelbrinWindow::ShowMessageBox(const std::string& message, const std::string& title,
                                     MessageBoxIcon icon) {
    controls_.at(ControlId::lblStatus)->setUpdatesEnabled(true);
    QMessageBox box(icon == MessageBoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    Shown(title), ShownStart(message), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace kelbrin
