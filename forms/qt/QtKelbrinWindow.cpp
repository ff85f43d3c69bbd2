#include "frmKelbrin.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "DisplayText.h"
#include "Expand.h"
#include "Palette.h"
#include "TwipLayout.h"
#include "frmHowTo.h"

namespace kelbrin {

namespace {

// Script text is 8-bit; a person reads it as UTF-8 or Windows-1252, with plain line breaks.
QString Shown(const std::string& text) {
    // Status texts are plain ASCII and are set once per directive line: take the short way.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= ' ' && static_cast<unsigned char>(c) < 0x80;
    });
    if (plain) {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
    QString shown = QString::fromUtf8(DisplayText(text));
    shown.replace("\r\n", "\n");
    return shown;
}

QFont NamedFont(const char* family, double points, bool bold = false) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& at, const QFont& font,
                  const QColor& textColour, const QColor* background) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(at);
    // A fixed size also spares the parent a layout request whenever the caption changes.
    label->setFixedSize(at.size());
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    SetColour(label, QPalette::WindowText, textColour);
    if (background != nullptr) {
        label->setAutoFillBackground(true);
        SetColour(label, QPalette::Window, *background);
    }
    return label;
}

// Breaks `text` into lines no wider than `width`, only at blanks (never after a "/" as
// Unicode line breaking would); the blanks at a break are dropped, the others kept.
QString WrapAtBlanks(const QString& text, const QFontMetrics& metrics, int width) {
    QString wrapped;
    QString line;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype wordStart = at;
        while (wordStart < text.size() && text[wordStart] == ' ') {
            ++wordStart;
        }
        qsizetype wordEnd = wordStart;
        while (wordEnd < text.size() && text[wordEnd] != ' ') {
            ++wordEnd;
        }
        const QString blanks = text.mid(at, wordStart - at);
        const QString word = text.mid(wordStart, wordEnd - wordStart);
        if (line.isEmpty() || metrics.horizontalAdvance(line + blanks + word) <= width) {
            line += blanks + word;
        } else {
            wrapped += line + "\n";
            line = word;
        }
        at = wordEnd;
    }
    return wrapped + line;
}

// A push button whose caption wraps at blanks when it is wider than the button, as the
// long expand captions must; the face takes the button's own colour.
QPushButton* MakeExpandButton(QWidget* parent, const QString& caption, const QRect& at,
                              const QColor& face) {
    auto* button = new QPushButton(parent);
    button->setGeometry(at);
    button->setAutoDefault(false);
    SetColour(button, QPalette::Button, face);
    // Styles shade a button's face (Fusion draws a gradient); a style sheet keeps it flat in
    // the button's own colour, with a raised border that sinks while pressed.
    button->setStyleSheet(QString("QPushButton { background-color: %1; border: 2px outset %2; }"
                                  "QPushButton:pressed { border-style: inset; }"
                                  "QPushButton:focus { border-color: %3; }")
                              .arg(face.name(), face.darker(140).name(), face.darker(300).name()));
    constexpr int kMargin = 6;
    auto* text =
        new QLabel(WrapAtBlanks(caption, button->fontMetrics(), at.width() - 2 * kMargin), button);
    text->setTextFormat(Qt::PlainText);
    text->setAlignment(Qt::AlignCenter);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QHBoxLayout(button);
    layout->setContentsMargins(kMargin, 2, kMargin, 2);
    layout->addWidget(text);
    button->setAccessibleName(caption);
    return button;
}

} // namespace

frmKelbrin::frmKelbrin(std::string programDirectory)
    : programDirectory_(std::move(programDirectory)) {
    EndProgram = [] { std::exit(EXIT_SUCCESS); };
    setWindowTitle("Kelbrin");
    CreateControls();
    CreateMenus();
    // A fixed client area under the menu bar: nothing re-lays out the controls.
    centralWidget()->setFixedSize(Twips(4680), Twips(3450));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    cmdExpand[0]->setFocus();
}

frmKelbrin::~frmKelbrin() {
    if (howTo_) {
        howTo_->close();
    }
}

void frmKelbrin::CreateControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->setAutoFillBackground(true);
    SetColour(client, QPalette::Window, Qt::black);

    fraDownloader = new QGroupBox(client);
    fraDownloader->setGeometry(TwipsRect(120, 720, 4455, 2055));
    fraDownloader->setAutoFillBackground(true);
    SetColour(fraDownloader, QPalette::Window, QColor(0, 255, 0));
    SetColour(fraDownloader, QPalette::WindowText, Qt::white);

    txtMD5 = new QLineEdit(fraDownloader);
    txtMD5->setGeometry(TwipsRect(720, 1680, 3615, 285));
    txtMD5->setReadOnly(true);
    txtMD5->setFont(NamedFont("Courier New", 8.25));
    SetColour(txtMD5, QPalette::Base, QColor(192, 255, 192));
    txtMD5->hide();

    cmdExpand[1] = MakeExpandButton(fraDownloader, "Expand and Ignore/Remove Header",
                                    TwipsRect(2280, 240, 2055, 855), QColor(208, 208, 208));
    cmdExpand[0] = MakeExpandButton(fraDownloader, "Expand and   Add/Replace Header",
                                    TwipsRect(120, 240, 2055, 855), QColor(255, 255, 255));

    lblMD5 = MakeLabel(fraDownloader, "MD5:", TwipsRect(120, 1700, 615, 255),
                       NamedFont("Courier New", 9.75, true), Qt::black, nullptr);
    lblMD5->hide();

    const QColor statusGreen(128, 255, 128);
    lblStatus = MakeLabel(fraDownloader, "", TwipsRect(120, 1200, 4215, 375),
                          NamedFont("MS Sans Serif", 9.75, true), Qt::black, &statusGreen);

    const QColor black(Qt::black);
    lblTitle[1] = MakeLabel(client, "Ver. 11.11.29", TwipsRect(120, 2760, 4455, 375),
                            NamedFont("Comic Sans MS", 12), QColor(128, 128, 255), &black);
    lblTitle[2] = MakeLabel(client, "by Halvek", TwipsRect(120, 3120, 4455, 375),
                            NamedFont("Comic Sans MS", 12), QColor(0, 0, 255), &black);
    lblTitle[0] = MakeLabel(client, "Kelbrin", TwipsRect(120, 0, 4455, 735),
                            NamedFont("Comic Sans MS", 21.75), QColor(255, 0, 0), &black);

    for (QWidget* passive :
         {static_cast<QWidget*>(fraDownloader), static_cast<QWidget*>(lblMD5),
          static_cast<QWidget*>(lblStatus), static_cast<QWidget*>(lblTitle[0]),
          static_cast<QWidget*>(lblTitle[1]), static_cast<QWidget*>(lblTitle[2])}) {
        passive->setFocusPolicy(Qt::NoFocus);
    }
    setTabOrder(cmdExpand[0], cmdExpand[1]);
    setTabOrder(cmdExpand[1], txtMD5);

    for (std::int16_t i = 0; i < 2; ++i) {
        connect(cmdExpand[i], &QPushButton::clicked, this, [this, i] { cmdExpand_Click(i); });
    }
}

void frmKelbrin::CreateMenus() {
    mnuFile = menuBar()->addMenu("&File");
    mnuFile_Expand[0] = mnuFile->addAction("Expand and &Add Header");
    mnuFile_Expand[1] = mnuFile->addAction("Expand and &Remove Header");
    mnuFile->addSeparator();
    mnuFile_Exit = mnuFile->addAction("E&xit");
    mnuFile_Exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuHelp = menuBar()->addMenu("&Help");
    mnuHelp_HowTo = mnuHelp->addAction("&How to Use Kelbrin...");
    mnuHelp->addSeparator();
    mnuHelp_About = mnuHelp->addAction("&About Kelbrin...");

    for (std::int16_t i = 0; i < 2; ++i) {
        connect(mnuFile_Expand[i], &QAction::triggered, this,
                [this, i] { mnuFile_Expand_Click(i); });
    }
    connect(mnuFile_Exit, &QAction::triggered, this, [this] { mnuFile_Exit_Click(); });
    connect(mnuHelp_HowTo, &QAction::triggered, this, [this] { mnuHelp_HowTo_Click(); });
    connect(mnuHelp_About, &QAction::triggered, this, [this] { mnuHelp_About_Click(); });
}

RunResult frmKelbrin::Expand(std::int16_t Index) {
    return kelbrin::Expand(Index, programDirectory_, *this);
}

void frmKelbrin::cmdExpand_Click(std::int16_t Index) {
    // The controls are disabled, but a click queued before that could still arrive.
    if (running_) {
        return;
    }
    running_ = true;
    EnableExpandControls(false);
    lastRun_ = Expand(Index);
    lblStatus->setUpdatesEnabled(true);
    EnableExpandControls(true);
    running_ = false;
}

void frmKelbrin::mnuFile_Expand_Click(std::int16_t Index) {
    cmdExpand_Click(Index);
}

void frmKelbrin::EnableExpandControls(bool Enable) {
    for (std::size_t i = 0; i < 2; ++i) {
        mnuFile_Expand[i]->setEnabled(Enable);
        cmdExpand[i]->setEnabled(Enable);
    }
}

void frmKelbrin::mnuFile_Exit_Click() {
    if (running_) {
        // The run is abandoned where it stands. It lets events through only between
        // directive lines, when every byte it wrote has reached the file.
        EndProgram();
        return;
    }
    close();
    QApplication::quit();
}

void frmKelbrin::mnuHelp_HowTo_Click() {
    if (howTo_) {
        howTo_->show();
        howTo_->raise();
        howTo_->activateWindow();
        return;
    }
    howTo_ = new frmHowTo();
    howTo_->show();
}

frmHowTo* frmKelbrin::HowToWindow() const {
    return howTo_;
}

QString frmKelbrin::AboutText() const {
    return lblTitle[0]->text() + "\r\n" + lblTitle[1]->text() + "\r\n" +
           "A handy utility for custom expanding any ROM file\r\n" +
           "before using an IPS (or any other type of) patch.";
}

void frmKelbrin::mnuHelp_About_Click() {
    QMessageBox box(QMessageBox::NoIcon, "About Kelbrin",
                    QString(AboutText()).replace("\r\n", "\n"), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmKelbrin::closeEvent(QCloseEvent* event) {
    if (running_) {
        EndProgram();
    }
    event->accept();
}

void frmKelbrin::SetStatus(const std::string& text) {
    lblStatus->setText(Shown(text));
}

void frmKelbrin::ShowMD5(const std::string& digest) {
    txtMD5->setText(Shown(digest));
    txtMD5->show();
    lblMD5->show();
}

void frmKelbrin::HideMD5() {
    lblMD5->hide();
    txtMD5->hide();
}

void frmKelbrin::LetEventsRun() {
    // Painting the status line once per directive line would cost ten times the run itself.
    // Its caption is always current; it is painted at most once per screen refresh.
    constexpr qint64 kRefreshMilliseconds = 16;
    const bool paint =
        !statusPainted_.isValid() || statusPainted_.elapsed() >= kRefreshMilliseconds;
    if (paint) {
        statusPainted_.restart();
    }
    lblStatus->setUpdatesEnabled(paint);
    QCoreApplication::processEvents();
}

void frmKelbrin::ShowMessageBox(const std::string& message, const std::string& title,
                                MessageBoxIcon icon) {
    lblStatus->setUpdatesEnabled(true);
    // A message quotes script text, which may be megabytes long; a box that size could not
    // be laid out or read. The command line still prints it whole.
    // Only the start of such a text is converted for the box.
    constexpr qsizetype kLongestShown = 2000;
    constexpr std::size_t kBytesKept = 4 * kLongestShown + 4;
    std::string start;
    PutDisplayText(message, [&start](std::string_view piece) {
        if (start.size() < kBytesKept) {
            start.append(piece.substr(0, kBytesKept - start.size()));
        }
    });
    QString text = QString::fromUtf8(start).replace("\r\n", "\n");
    if (text.size() > kLongestShown || start.size() < message.size()) {
        text = text.left(kLongestShown) + QString::fromUtf8(" \u2026");
    }
    QMessageBox box(icon == MessageBoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    Shown(title), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace kelbrin
