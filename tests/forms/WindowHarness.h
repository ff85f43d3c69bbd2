#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "RunFolder.h"
#include "frmHowTo.h"
#include "frmKelbrin.h"

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

// Closes every modal box as soon as it is up and notes what it said, so that no test waits
// for a person. It has to poll: the box's exec() holds the test until the box is closed.
class BoxCloser {
public:
    BoxCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { CloseModal(); });
        timer_.start(5);
    }
    std::vector<SeenBox> Boxes;

private:
    void CloseModal() {
        QWidget* modal = QApplication::activeModalWidget();
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
    std::unique_ptr<frmKelbrin> Window = std::make_unique<frmKelbrin>(Folder.Path());

    MainWindowOn() {
        Window->EndProgram = [this] { ++EndCalls; };
        Window->show();
    }
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
    frmHowTo& OpenHelp() {
        Window->mnuHelp_HowTo->trigger();
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

// The caption a person sees; a button may draw its caption with a label of its own.
inline QString ShownCaption(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (button == nullptr) {
        return {};
    }
    auto* inner = button->findChild<QLabel*>();
    return button->text().isEmpty() && inner != nullptr ? inner->text() : button->text();
}

// `shown` is `caption` with some of its runs of blanks turned into line breaks.
inline bool IsWrappingOf(const QString& shown, const QString& caption) {
    QString pattern = QRegularExpression::escape(caption);
    pattern.replace(QRegularExpression("((?:\\\\ )+)"), "(?:\\1|\n)");
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(shown).hasMatch();
}

} // namespace kelbrin::test
