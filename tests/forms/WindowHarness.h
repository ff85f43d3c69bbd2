#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "FaceButton.h"
#include "FormDescription.h"
#include "QtHowToWindow.h"
#include "QtKelbrinWindow.h"
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
    QString Text;
    QMessageBox::Icon Icon;
    QMessageBox::StandardButtons Buttons;
};

// The widget or menu item that a window's form calls `name`.
template <typename Widget = QWidget> Widget& Find(const QObject& window, std::string_view name) {
    Widget* found = window.findChild<Widget*>(QString::fromLatin1(name.data(), name.size()));
    if (found == nullptr) {
        throw std::runtime_error("the window has no " + std::string(name));
    }
    return *found;
}

template <typename Widget = QWidget> Widget& Find(const QObject& window, form::ControlId id) {
    return Find<Widget>(window, form::ControlOf(id).Name);
}

inline QAction& Find(const QObject& window, form::MenuId id) {
    return Find<QAction>(window, form::MenuItemOf(id).Name);
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
    // What the next folder dialog chooses; nothing: it is cancelled.
    std::optional<QString> FolderToChoose;

private:
    void CloseModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            Boxes.push_back({dialog->windowTitle(), "<folder dialog>", {}, {}});
            if (FolderToChoose) {
                dialog->selectFile(*FolderToChoose);
                static_cast<QDialog*>(dialog)
                    ->accept(); // the file dialog's own, checking the choice
            } else {
                dialog->reject();
            }
            return;
        }
        // The box of the original's identity: its text is noted, copied, and the box closed.
        if (modal != nullptr && modal->objectName() == "frmInfo") {
            Boxes.push_back({modal->windowTitle(),
                             Find<QPlainTextEdit>(*modal, form::ControlId::txtInfo).toPlainText(),
                             {},
                             {}});
            Find<QPushButton>(*modal, form::ControlId::cmdCopy).click();
            Find<QPushButton>(*modal, form::ControlId::cmdClose).click();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            if (modal != nullptr) {
                Boxes.push_back({modal->windowTitle(), "<not a message box>", {}, {}});
                modal->close();
            }
            return;
        }
        Boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->done(0);
        }
    }
    QTimer timer_;
};

// A shown main window on its own program folder. Exit and closing during a run only count
// here; the real ones end the process.
struct MainWindowOn {
    TempFolder Folder;
    BoxCloser Closer;
    int EndCalls = 0;
    std::unique_ptr<QtKelbrinWindow> Window;

    // A portable copy: the program's folder holds its script (the standard one) from the start.
    MainWindowOn() : MainWindowOn(true) {}
    // `portable` false: the program's folder holds no script, and the window starts on the
    // folder `start` names, if any.
    explicit MainWindowOn(bool portable, std::optional<std::string> start = std::nullopt) {
        if (portable) {
            Script();
        }
        Window = std::make_unique<QtKelbrinWindow>(Folder.Path(), start);
        Window->EndProcess = [this] { ++EndCalls; };
        Window->show();
    }
    template <typename Widget = QWidget> Widget& Control(form::ControlId id) const {
        return Find<Widget>(*Window, id);
    }
    QAction& Item(form::MenuId id) const { return Find(*Window, id); }
    ~MainWindowOn() {
        Window.reset();
        // The help window goes by deleteLater(), and no event loop runs here.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A headered original, and a script that expands it to 8 bytes at line 4; `more` follows.
    void Script(const std::string& sizeLine = kSizeLine,
                const std::vector<std::string>& more = {}) {
        Folder.Write("orig.nes", ForeignHeader() + Image(0x40));
        std::vector<std::string> lines{kNameLine, sizeLine, kHeaderLine, kCopyLine};
        lines.insert(lines.end(), more.begin(), more.end());
        Folder.Write("Kelbrin.txt", Join(lines, "\r\n"));
    }
    QtHowToWindow& OpenHelp() {
        Item(form::MenuId::mnuHelp_HowTo).trigger();
        if (Window->HowToWindow() == nullptr) {
            throw std::runtime_error("How to Use opened no help window");
        }
        return *Window->HowToWindow();
    }
};

// Breaks the run at line 5, after it has let events through once.
inline const std::vector<std::string> kBrokenLine5{"FIL\t4\t0"};
inline const QString kBrokenLine5Box =
    "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line 5: \nFIL";

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

// `shown` is `caption` with some of its runs of blanks turned into line breaks.
inline bool IsWrappingOf(const QString& shown, const QString& caption) {
    QString pattern = QRegularExpression::escape(caption);
    pattern.replace(QRegularExpression("((?:\\\\ )+)"), "(?:\\1|\n)");
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(shown).hasMatch();
}

} // namespace kelbrin::test
