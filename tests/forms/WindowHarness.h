#pragma once

// The conformance suite's driver for the Qt host, which the Qt-only tests use as well: QTest's
// clicks and keys, and what the widgets show.

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QtGui/private/qguiapplication_p.h>
#include <gtest/gtest.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "AllForms.h"
#include "CheckForm.h"
#include "FaceButton.h"
#include "Fonts.h"
#include "HostedForm.h"
#include "HowToForm.h"
#include "InfoForm.h"
#include "KelbrinForm.h"
#include "QtDesktop.h"
#include "QtFormHost.h"
#include "RunFolder.h"

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kelbrin::test {

inline std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// The widget or menu item that a window's form calls `name`.
template <typename Widget = QWidget> Widget& Find(const QObject& window, std::string_view name) {
    Widget* found = window.findChild<Widget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (found == nullptr) {
        throw std::runtime_error("the window has no " + std::string(name));
    }
    return *found;
}

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

// A drag from a file manager, entering `window` and dropped on it, as the window system delivers
// it; whether the window took it.
inline bool DropOn(QWidget& window, const QMimeData& data) {
    const QPoint at(100, 100);
    if (!window.acceptDrops()) {
        return false;
    }
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
}

// Fusion, but with the icons on the buttons of dialogs that some desktops' styles put there.
class IconsOnButtons final : public QProxyStyle {
public:
    IconsOnButtons() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
                   ? 1
                   : QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// A dark desktop theme: light text on dark surfaces, as a dark Qt palette gives every widget
// that has no colour of its own.
inline QPalette DarkPalette() {
    QPalette dark;
    const QColor light(230, 230, 230);
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(45, 45, 45)},
                                       {QPalette::WindowText, light},
                                       {QPalette::Base, QColor(30, 30, 30)},
                                       {QPalette::Text, light},
                                       {QPalette::Button, QColor(60, 60, 60)},
                                       {QPalette::ButtonText, light},
                                       {QPalette::Highlight, QColor(42, 130, 218)}}) {
        dark.setColor(role, colour);
    }
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, QColor(200, 200, 200));
    }
    return dark;
}

struct DarkTheme::Saved {
    QPalette Palette = QApplication::palette();
};

inline DarkTheme::DarkTheme() : saved_(std::make_unique<Saved>()) {
    QApplication::setPalette(DarkPalette());
}

inline DarkTheme::~DarkTheme() {
    QApplication::setPalette(saved_->Palette);
}

// Captions in order, "-" for a separator, a shortcut after a tab.
inline std::vector<std::string> Items(const QWidget& menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu.actions()) {
        const QKeySequence key = action->shortcut();
        items.push_back(action->isSeparator()
                            ? "-"
                            : Utf8(action->text() + (key.isEmpty() ? "" : "\t" + key.toString())));
    }
    return items;
}

// A form drawn by the Qt host, shown, its events written down. Every modal box is closed as
// soon as it is up, so that no test waits for a person; that has to poll, as the box's exec()
// holds the test until the box is closed.
class FormOn final : public HostedForm {
public:
    explicit FormOn(const form::Form& form, FormPort* owner = nullptr) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { CloseModal(); });
        timer_.start(5);
        Events.Form = &form;
        Port = Desktop.OpenForm(form, Events, owner);
        Port->Show();
    }
    ~FormOn() override { Port.reset(); }
    FormOn(const FormOn&) = delete;
    FormOn& operator=(const FormOn&) = delete;

    QtDesktop Desktop;
    // What the next folder or file dialog chooses; nothing: it is cancelled.
    std::optional<QString> FolderToChoose;
    // Instead, what a person does in the next folder dialog, asked again until it says that it
    // is done (the dialog lists a folder's files while it is open), for ten seconds at most (a
    // loaded machine): then the dialog is cancelled.
    std::function<bool(QFileDialog&)> InFolderDialog;

    QWidget& Window() const { return static_cast<QtFormHost&>(*Port).Window(); }
    QWidget& Client() const { return static_cast<QtFormHost&>(*Port).Client(); }
    template <typename Widget = QWidget> Widget& Control(form::ControlId id) const {
        return Find<Widget>(Window(), form::ControlOf(Form(), id).Name);
    }

    kelbrin::Desktop& TheDesktop() override { return Desktop; }
    void Click(form::ControlId control) override {
        // Left, on an option button's circle.
        QWidget& widget = Control(control);
        QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(6, widget.height() / 2));
    }
    void Choose(form::MenuId item) override {
        Find<QAction>(Window(), form::MenuItemOf(Form(), item).Name).trigger();
    }
    void PressCtrl(char key) override { QTest::keyClick(Active(), key, Qt::ControlModifier); }
    void PressTab() override { QTest::keyClick(Active(), Qt::Key_Tab); }
    void PressDown() override { QTest::keyClick(Active(), Qt::Key_Down); }
    void FocusOn(form::ControlId control) override {
        Active();
        Control(control).setFocus(Qt::OtherFocusReason);
    }
    void CloseBox() override { Window().close(); }
    bool Drop(const std::string& path) override {
        QMimeData data;
        data.setUrls({QUrl::fromEncoded(
            "file://" + QUrl::toPercentEncoding(QByteArray::fromStdString(path), "/"))});
        return DropOn(Window(), data);
    }

    ControlState StateOf(form::ControlId control) override {
        const QWidget& widget = Control(control);
        const QFont font = widget.font();
        const QRect at = widget.geometry();
        ControlState state{Utf8(ShownCaption(&widget)),
                           widget.isVisible(),
                           widget.isEnabled(),
                           {at.x(), at.y(), at.width(), at.height()},
                           IdOf(widget.parentWidget()),
                           Utf8(font.family()),
                           font.pointSizeF() * widget.logicalDpiY() / 72,
                           font.bold(),
                           Utf8(QFontInfo(font).family())};
        if (const auto* line = qobject_cast<const QLineEdit*>(&widget)) {
            state.Text = Utf8(line->text());
        } else if (const auto* box = qobject_cast<const QPlainTextEdit*>(&widget)) {
            state.Text = Utf8(box->toPlainText());
        }
        if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
            const Qt::Alignment across = label->alignment() & Qt::AlignHorizontal_Mask;
            state.Align = across == Qt::AlignLeft    ? form::TextAlign::Left
                          : across == Qt::AlignRight ? form::TextAlign::Right
                                                     : form::TextAlign::Centre;
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
            state.Checked = button->isChecked();
        }
        state.Editable = !widget.property("readOnly").toBool();
        // "Label": the objects that label this one.
        QAccessibleInterface* named = QAccessible::queryAccessibleInterface(&Control(control));
        const auto labels = named == nullptr ? decltype(named->relations()){}
                                             : named->relations(QAccessible::Label);
        if (labels.size() == 1) {
            state.Label = IdOf(qobject_cast<QWidget*>(labels.front().first->object()));
        }
        state.Image = {at.width(), at.height()};
        return state;
    }
    WindowState State() override {
        WindowState state{Utf8(Window().windowTitle()),
                          {Client().width(), Client().height()},
                          Window().parentWidget() != nullptr,
                          IdOf(Active())};
        if (const auto* main = qobject_cast<QMainWindow*>(&Window())) {
            state.MenuBar = Items(*main->menuBar());
        }
        for (const form::Menu& menu : Form().Menus) {
            state.Menus.push_back(Items(Find<QMenu>(Window(), menu.Name)));
        }
        return state;
    }
    form::Font DefaultFont() override { return kFormsDefaultFont; }
    bool IsEnabled(form::MenuId item) override {
        return Find<QAction>(Window(), form::MenuItemOf(Form(), item).Name).isEnabled();
    }
    // A notification shown inside a status bar is said wherever the focus is (Orca).
    // Accessibility events reach the handler only while the platform's accessibility is active,
    // as it is under a screen reader.
    Heard HearDuring(form::ControlId control, const std::function<void()>& act) override {
        static std::vector<std::pair<QObject*, QAccessible::Event>> events;
        events.clear();
        QAccessible::installUpdateHandler(
            [](QAccessibleEvent* event) { events.emplace_back(event->object(), event->type()); });
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        platform->setActive(true);
        act();
        platform->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
        QWidget& widget = Control(control);
        Heard heard;
        for (const auto& [object, event] : events) {
            heard.NameChanged |= object == &widget && event == QAccessible::NameChanged;
            QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(object);
            if (event == QAccessible::ObjectShow && shown->role() == QAccessible::Notification &&
                shown->parent()->object() == &widget) {
                heard.Announced.push_back(Utf8(shown->text(QAccessible::Name)));
            }
        }
        heard.Name = Utf8(QAccessible::queryAccessibleInterface(&widget)->text(QAccessible::Name));
        return heard;
    }
    void AnswerQuestions(bool yes) override { answerYes_ = yes; }
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override {
        QApplication::setStyle(new IconsOnButtons);
        Desktop.ShowMessageBox(*Port, message, title, icon);
        QApplication::setStyle(QStyleFactory::create("Fusion"));
    }
    std::vector<SeenMessageBox> TakeBoxes() override { return std::exchange(boxes_, {}); }
    SeenModal ShowModal(FormPort& modal, const form::Form& form, form::ControlId button) override {
        SeenModal seen;
        QTimer::singleShot(0, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            if (shown == nullptr || shown->objectName() != QString::fromLatin1(form.Name)) {
                return;
            }
            seen = {true, shown->parentWidget() == &Window(), Blocked()};
            Find<QAbstractButton>(*shown, form::ControlOf(form, button).Name).click();
        });
        modal.ShowModal();
        seen.OwnerFreedAfter = !Blocked();
        return seen;
    }
    std::string Clipboard() override { return Utf8(QGuiApplication::clipboard()->text()); }
    std::string_view LineEnd() override { return "\n"; }

    void Shoot(const std::string& file) override {
        // As on a screen, the scroll bars settle once pending layout events have run.
        QCoreApplication::processEvents();
        shot_ = Window().grab().toImage();
        Save(shot_, file);
    }
    form::Colour ShotAt(Point at) override {
        return Colour(shot_.pixelColor(Client().mapTo(&Window(), QPoint(at.X, at.Y))));
    }
    std::vector<form::Colour> ShotInside(form::ControlId control) override {
        QWidget& widget = Control(control);
        const auto* area = qobject_cast<const QAbstractScrollArea*>(&widget);
        const QRect inside = (area != nullptr ? area->viewport()->geometry() : widget.rect())
                                 .adjusted(kMargin, kMargin, -kMargin, -kMargin);
        const QPoint corner = widget.mapTo(&Window(), inside.topLeft());
        std::vector<form::Colour> pixels;
        for (int y = 0; y < inside.height(); ++y) {
            for (int x = 0; x < inside.width(); ++x) {
                pixels.push_back(Colour(shot_.pixelColor(corner + QPoint(x, y))));
            }
        }
        return pixels;
    }
    std::optional<form::ControlId> TopAt(Point at) override {
        for (QWidget* top = Client().childAt(at.X, at.Y); top != nullptr;
             top = top->parentWidget()) {
            if (const std::optional<form::ControlId> id = IdOf(top)) {
                return id;
            }
        }
        return std::nullopt;
    }
    std::optional<Point> PointOnTop(form::ControlId control) override {
        QWidget& widget = Control(control);
        const auto* area = qobject_cast<const QAbstractScrollArea*>(&widget);
        const QRect inside = area != nullptr ? area->viewport()->geometry() : widget.rect();
        for (const int x : {inside.right() - 3, inside.left() + 3}) {
            const QPoint at = widget.mapTo(&Client(), QPoint(x, inside.center().y()));
            if (TopAt({at.x(), at.y()}) == control) {
                return Point{at.x(), at.y()};
            }
        }
        return std::nullopt;
    }
    form::Colour PictureAt(form::ControlId control, Point at) override {
        const auto& picture = Control<QLabel>(control);
        return Colour(
            picture.pixmap().toImage().pixelColor(picture.mapFrom(&Client(), QPoint(at.X, at.Y))));
    }

private:
    static void Save(const QImage& shot, const std::string& file) {
        QDir().mkpath(KELBRIN_SCREENSHOT_DIR);
        EXPECT_TRUE(shot.save(QString(KELBRIN_SCREENSHOT_DIR "/") + QString::fromStdString(file)));
    }
    static form::Colour Colour(const QColor& c) {
        return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                static_cast<std::uint8_t>(c.blue())};
    }
    // The control that `widget` draws; nothing: none of the form's.
    std::optional<form::ControlId> IdOf(const QWidget* widget) const {
        for (const form::Control& c : Form().Controls) {
            if (widget == &Control(c.Id)) {
                return c.Id;
            }
        }
        return std::nullopt;
    }
    bool Blocked() const {
        return QGuiApplicationPrivate::instance()->isWindowBlocked(Window().windowHandle());
    }
    // The widget with the focus, once the window is the active one.
    QWidget* Active() {
        if (QApplication::activeWindow() != &Window()) {
            Window().activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
        }
        return QApplication::focusWidget();
    }
    void CloseModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (dialog != seenDialog_) {
                seenDialog_ = dialog;
                polls_ = 0;
                boxes_.push_back({Utf8(dialog->windowTitle()),
                                  Utf8(dialog->directory().absolutePath()),
                                  {},
                                  {},
                                  {},
                                  dialog->parentWidget() == &Window()});
            }
            if (InFolderDialog) {
                if (InFolderDialog(*dialog) || ++polls_ == 2000) {
                    InFolderDialog = nullptr;
                }
            } else if (FolderToChoose) {
                dialog->selectFile(*FolderToChoose);
                // The file dialog's own accept, which checks the choice.
                static_cast<QDialog*>(dialog)->accept();
            } else {
                dialog->reject();
            }
            return;
        }
        if (modal == nullptr) {
            return;
        }
        SeenMessageBox seen{Utf8(modal->windowTitle()),        "<not a message box>", {}, {}, {},
                            modal->parentWidget() == &Window()};
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            boxes_.push_back(seen);
            modal->close();
            return;
        }
        const auto caption = [](const QAbstractButton* button) {
            return button == nullptr ? std::string() : Utf8(QString(button->text()).remove('&'));
        };
        seen.Text = Utf8(box->text());
        seen.Icon = box->icon() == QMessageBox::Critical   ? "stop"
                    : box->icon() == QMessageBox::Question ? "question"
                                                           : "";
        for (const QAbstractButton* button : box->buttons()) {
            seen.Buttons.push_back(caption(button) +
                                   (button->icon().isNull() ? "" : " with an icon"));
        }
        seen.Default = caption(box->defaultButton());
        boxes_.push_back(seen);
        if (QAbstractButton* answer =
                box->button(answerYes_ ? QMessageBox::Yes : QMessageBox::Ok)) {
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
    bool answerYes_ = false;
    std::vector<SeenMessageBox> boxes_;
    QImage shot_;
};

inline std::unique_ptr<HostedForm> ShowForm(const form::Form& form) {
    return std::make_unique<FormOn>(form);
}

} // namespace kelbrin::test
