#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "AllForms.h"
#include "CheckForm.h"
#include "FaceButton.h"
#include "HowToForm.h"
#include "InfoForm.h"
#include "KelbrinForm.h"
#include "MakeScriptForm.h"
#include "QtDesktop.h"
#include "QtFormHost.h"
#include "RecordedEvents.h"
#include "RunFolder.h"

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace kelbrin::test {

struct SeenBox {
    QString Title;
    // A folder dialog's: the folder it opened at.
    QString Text;
    QMessageBox::Icon Icon;
    // The window it was shown over.
    QWidget* Owner;
    // Without access keys, " with an icon" after one that shows one; the one Enter presses.
    std::vector<std::string> Buttons{};
    std::string Default{};
};

// The widget or menu item that a window's form calls `name`.
template <typename Widget = QWidget> Widget& Find(const QObject& window, std::string_view name) {
    Widget* found = window.findChild<Widget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (found == nullptr) {
        throw std::runtime_error("the window has no " + std::string(name));
    }
    return *found;
}

// Closes every modal box as soon as it is up and notes what it said, so that no test waits
// for a person. It has to poll: the box's exec() holds the test until the box is closed.
class BoxCloser {
public:
    BoxCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { CloseModal(); });
        timer_.start(5);
    }
    std::vector<SeenBox> Boxes;
    // What the next folder or file dialog chooses; nothing: it is cancelled.
    std::optional<QString> FolderToChoose;
    // The button a question is answered with; nothing: it is closed as Escape closes it.
    std::optional<QMessageBox::StandardButton> Answer;
    // Instead, what a person does in the next folder dialog, asked again until it says that it
    // is done (the dialog lists a folder's files while it is open), for ten seconds at most (a
    // loaded machine): then the dialog is cancelled.
    std::function<bool(QFileDialog&)> InFolderDialog;

private:
    void CloseModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (dialog != seenDialog_) {
                seenDialog_ = dialog;
                polls_ = 0;
                Boxes.push_back({dialog->windowTitle(),
                                 dialog->directory().absolutePath(),
                                 {},
                                 dialog->parentWidget()});
            }
            if (InFolderDialog) {
                if (InFolderDialog(*dialog) || ++polls_ == 2000) {
                    InFolderDialog = nullptr;
                }
                return;
            }
            if (FolderToChoose) {
                dialog->selectFile(*FolderToChoose);
                // The file dialog's own accept, which checks the choice.
                static_cast<QDialog*>(dialog)->accept();
            } else {
                dialog->reject();
            }
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            if (modal != nullptr) {
                Boxes.push_back(
                    {modal->windowTitle(), "<not a message box>", {}, modal->parentWidget()});
                modal->close();
            }
            return;
        }
        const auto caption = [](const QAbstractButton* button) {
            return button == nullptr ? std::string()
                                     : QString(button->text()).remove('&').toStdString();
        };
        std::vector<std::string> buttons;
        for (const QAbstractButton* button : box->buttons()) {
            buttons.push_back(caption(button) + (button->icon().isNull() ? "" : " with an icon"));
        }
        Boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->parentWidget(), buttons,
                         caption(box->defaultButton())});
        if (QAbstractButton* answer = box->button(Answer.value_or(QMessageBox::Ok))) {
            answer->click();
        } else if (QAbstractButton* escape = box->escapeButton()) {
            escape->click();
        } else {
            box->done(0);
        }
    }
    QTimer timer_;
    QPointer<QFileDialog> seenDialog_;
    int polls_ = 0;
};

// A form drawn by the Qt host, shown, its events written down.
struct FormOn {
    QtDesktop Desktop;
    RecordedEvents Events;
    BoxCloser Closer;
    std::unique_ptr<FormPort> Port;

    explicit FormOn(const form::Form& form, FormPort* owner = nullptr)
        : Port((Events.Form = &form, Desktop.OpenForm(form, Events, owner))) {
        Port->Show();
    }
    QWidget& Window() const { return static_cast<QtFormHost&>(*Port).Window(); }
    QWidget& Client() const { return static_cast<QtFormHost&>(*Port).Client(); }
    template <typename Widget = QWidget> Widget& Control(form::ControlId id) const {
        return Find<Widget>(Window(), form::ControlOf(*Events.Form, id).Name);
    }
    QAction& Item(form::MenuId id) const {
        return Find<QAction>(Window(), form::MenuItemOf(*Events.Form, id).Name);
    }
};

// A drag from a file manager, entering `window` and dropped on it, as the window system delivers
// it; whether the window took it.
bool DropOn(QWidget& window, const QMimeData& data);

// The caption a person sees.
inline QString ShownCaption(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = dynamic_cast<const FaceButton*>(widget)) {
        return button->WrappedCaption();
    }
    auto* button = qobject_cast<const QAbstractButton*>(widget);
    return button == nullptr ? QString() : button->text();
}

} // namespace kelbrin::test
