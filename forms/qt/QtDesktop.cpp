#include "QtDesktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QSettings>
#include <cstdlib>

#include "QtControls.h"
#include "QtFormHost.h"

namespace kelbrin {

namespace {

// Every window of this desktop is one of its hosts.
QWidget& WindowOf(FormPort& port) {
    return static_cast<QtFormHost&>(port).Window();
}

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

// The folder dialog lists the files too, so that a person sees the Kelbrin.txt that makes a
// folder the right one; choosing a file (the script) chooses the folder that holds it. Qt's
// own dialog, as the system's folder dialogs list folders only.
class FolderDialog final : public QFileDialog {
public:
    FolderDialog(QWidget* owner, const QString& start)
        : QFileDialog(owner, "Choose the folder that holds Kelbrin.txt", start) {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::DontUseNativeDialog);
    }

    // The folder chosen, as the system names it.
    QString Folder() const {
        const QFileInfo chosen(selectedFiles().value(0));
        return chosen.isDir() ? chosen.absoluteFilePath() : chosen.absolutePath();
    }

protected:
    // A file chosen (double-clicked, or Enter on it) is accepted as its folder, where a folder
    // dialog would refuse it.
    void accept() override {
        const QStringList chosen = selectedFiles();
        if (chosen.size() == 1 && QFileInfo(chosen.front()).isFile()) {
            QDialog::accept(); // NOLINT(bugprone-parent-virtual-call): past the refusal
        } else {
            QFileDialog::accept();
        }
    }
};

} // namespace

std::unique_ptr<FormPort> QtDesktop::OpenForm(const form::Form& description, FormEvents& events,
                                              FormPort* owner) {
    return std::make_unique<QtFormHost>(description, events, static_cast<QtFormHost*>(owner));
}

std::optional<std::string> QtDesktop::ChooseFolder(FormPort& owner, const std::string& start) {
    std::optional<SettingsNowhere> nowhere;
    if (keepNoSettings_) {
        nowhere.emplace();
    }
    FolderDialog dialog(&WindowOf(owner), QFile::decodeName(start.c_str()));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.Folder()).toStdString();
}

std::optional<std::string> QtDesktop::ChooseFile(FormPort& owner, const std::string& title,
                                                 const std::string& start) {
    std::optional<SettingsNowhere> nowhere;
    if (keepNoSettings_) {
        nowhere.emplace();
    }
    const QString chosen = QFileDialog::getOpenFileName(&WindowOf(owner), Shown(title),
                                                        QFile::decodeName(start.c_str()));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(chosen).toStdString();
}

void QtDesktop::ShowMessageBox(FormPort& owner, const std::string& message,
                               const std::string& title, MessageBoxIcon icon) {
    QMessageBox box(icon == MessageBoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    Shown(title), ShownStart(message), QMessageBox::Ok, &WindowOf(owner));
    box.setTextFormat(Qt::PlainText);
    // Our message boxes show no icon on OK, which some styles would put there.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

bool QtDesktop::AskYesNo(FormPort& owner, const std::string& question, const std::string& title) {
    QMessageBox box(QMessageBox::Question, Shown(title), ShownStart(question),
                    QMessageBox::Yes | QMessageBox::No, &WindowOf(owner));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtDesktop::CopyToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(Shown(text));
}

std::optional<std::string> QtDesktop::RememberedFolder() {
    const QByteArray folder = UserSettings().value("folder").toByteArray();
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder.toStdString();
}

void QtDesktop::RememberFolder(const std::string& folder) {
    UserSettings().setValue("folder", QByteArray::fromStdString(folder));
}

void QtDesktop::LetEventsRun() {
    QCoreApplication::processEvents();
}

void QtDesktop::EndProcess() {
    std::exit(EXIT_SUCCESS);
}

} // namespace kelbrin
