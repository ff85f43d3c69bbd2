// The conformance suite's driver for the Qt host: QTest's clicks and keys, and what the widgets
// show.

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>
#include <QUrl>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "Fonts.h"
#include "HostedForm.h"
#include "WindowHarness.h"

namespace kelbrin::test {

namespace {

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
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

// Captions in order, "-" for a separator, a shortcut after a tab.
std::vector<std::string> Items(const QWidget& menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu.actions()) {
        items.push_back(
            action->isSeparator()
                ? "-"
                : Utf8(action->text() +
                       (action->shortcut().isEmpty() ? "" : "\t" + action->shortcut().toString())));
    }
    return items;
}

// Accessibility events reach the handler only while the platform's accessibility is active, as
// it is under a screen reader.
class ScreenReaderListening {
public:
    ScreenReaderListening() {
        heard().clear();
        QAccessible::installUpdateHandler(
            [](QAccessibleEvent* event) { heard().emplace_back(event->object(), event->type()); });
        Platform()->setActive(true);
    }
    ~ScreenReaderListening() {
        Platform()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    ScreenReaderListening(const ScreenReaderListening&) = delete;
    ScreenReaderListening& operator=(const ScreenReaderListening&) = delete;

    static std::vector<std::pair<QObject*, QAccessible::Event>>& heard() {
        static std::vector<std::pair<QObject*, QAccessible::Event>> events;
        return events;
    }

private:
    static QPlatformAccessibility* Platform() {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }
};

class QtHostedForm final : public HostedForm {
public:
    explicit QtHostedForm(const form::Form& form) : form_(form), on_(form) {}
    const form::Form& Form() override { return form_; }
    RecordedEvents& Events() override { return on_.Events; }
    FormPort& Port() override { return *on_.Port; }
    kelbrin::Desktop& TheDesktop() override { return on_.Desktop; }

    void Click(form::ControlId control) override {
        // Left, on an option button's circle.
        QWidget& widget = on_.Control(control);
        QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(6, widget.height() / 2));
    }
    void Choose(form::MenuId item) override { on_.Item(item).trigger(); }
    void PressCtrl(char key) override {
        Activate();
        QTest::keyClick(&on_.Window(), key, Qt::ControlModifier);
    }
    void PressTab() override {
        Activate();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    void PressDown() override {
        Activate();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    }
    void FocusOn(form::ControlId control) override {
        Activate();
        on_.Control(control).setFocus(Qt::OtherFocusReason);
    }
    std::optional<form::ControlId> Focus() override {
        Activate();
        return IdOf(QApplication::focusWidget());
    }
    void CloseBox() override { on_.Window().close(); }
    bool Drop(const std::string& path) override {
        QMimeData data;
        data.setUrls({QUrl::fromEncoded(
            "file://" + QUrl::toPercentEncoding(QByteArray::fromStdString(path), "/"))});
        return DropOn(on_.Window(), data);
    }

    std::string Shown(form::ControlId control) override {
        const QWidget& widget = on_.Control(control);
        if (const auto* line = qobject_cast<const QLineEdit*>(&widget)) {
            return Utf8(line->text());
        }
        if (const auto* box = qobject_cast<const QPlainTextEdit*>(&widget)) {
            return Utf8(box->toPlainText());
        }
        return Utf8(ShownCaption(&widget));
    }
    bool IsVisible(form::ControlId control) override { return on_.Control(control).isVisible(); }
    bool IsEnabled(form::ControlId control) override { return on_.Control(control).isEnabled(); }
    bool IsEnabled(form::MenuId item) override { return on_.Item(item).isEnabled(); }
    std::string Title() override { return Utf8(on_.Window().windowTitle()); }
    std::pair<int, int> PictureSize(form::ControlId control) override {
        const QSize size = on_.Control(control).size();
        return {size.width(), size.height()};
    }
    std::pair<int, int> ClientSize() override {
        return {on_.Client().width(), on_.Client().height()};
    }
    bool HasOwner() override { return on_.Window().parentWidget() != nullptr; }
    PixelBox Place(form::ControlId control) override {
        const QRect at = on_.Control(control).geometry();
        return {at.x(), at.y(), at.width(), at.height()};
    }
    std::optional<form::ControlId> ParentOf(form::ControlId control) override {
        return IdOf(on_.Control(control).parentWidget());
    }
    ShownFont FontOf(form::ControlId control, int) override {
        const QFont font = on_.Control(control).font();
        return {Utf8(font.family()), font.pointSizeF(), font.bold(),
                Utf8(QFontInfo(font).family())};
    }
    form::Font DefaultFont() override { return kFormsDefaultFont; }
    form::TextAlign Alignment(form::ControlId label) override {
        const Qt::Alignment across =
            on_.Control<QLabel>(label).alignment() & Qt::AlignHorizontal_Mask;
        return across == Qt::AlignLeft    ? form::TextAlign::Left
               : across == Qt::AlignRight ? form::TextAlign::Right
                                          : form::TextAlign::Centre;
    }
    bool IsChecked(form::ControlId option) override {
        return on_.Control<QAbstractButton>(option).isChecked();
    }
    bool IsEditable(form::ControlId textBox) override {
        return !on_.Control(textBox).property("readOnly").toBool();
    }
    std::optional<form::ControlId> LabelOf(form::ControlId control) override {
        QAccessibleInterface* named = QAccessible::queryAccessibleInterface(&on_.Control(control));
        // "Label": the objects that label this one.
        const auto labels = named->relations(QAccessible::Label);
        return labels.size() == 1 ? IdOf(qobject_cast<QWidget*>(labels.front().first->object()))
                                  : std::nullopt;
    }
    // A notification shown inside a status bar is said wherever the focus is (Orca).
    Heard HearDuring(form::ControlId control, const std::function<void()>& act) override {
        QWidget& widget = on_.Control(control);
        Heard heard;
        {
            const ScreenReaderListening listening;
            act();
            for (const auto& [object, event] : ScreenReaderListening::heard()) {
                heard.NameChanged |= object == &widget && event == QAccessible::NameChanged;
                QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(object);
                if (event == QAccessible::ObjectShow &&
                    shown->role() == QAccessible::Notification &&
                    shown->parent()->object() == &widget) {
                    heard.Announced.push_back(Utf8(shown->text(QAccessible::Name)));
                }
            }
        }
        heard.Name = Utf8(QAccessible::queryAccessibleInterface(&widget)->text(QAccessible::Name));
        return heard;
    }
    std::vector<std::string> MenuBar() override {
        const auto* main = qobject_cast<QMainWindow*>(&on_.Window());
        return main == nullptr ? std::vector<std::string>() : Items(*main->menuBar());
    }
    std::vector<std::string> MenuItems(std::size_t menu) override {
        return Items(Find<QMenu>(on_.Window(), form_.Menus.at(menu).Name));
    }
    SeenMessageBox ShowMessageBox(const std::string& message, const std::string& title,
                                  MessageBoxIcon icon) override {
        // Under a style that puts icons on dialog buttons, which our boxes do not show.
        QApplication::setStyle(new IconsOnButtons);
        on_.Closer.Boxes.clear();
        on_.Desktop.ShowMessageBox(*on_.Port, message, title, icon);
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        return LastBox();
    }
    // No as Escape gives it.
    std::pair<bool, SeenMessageBox> Ask(const std::string& question, const std::string& title,
                                        bool yes) override {
        on_.Closer.Boxes.clear();
        on_.Closer.Answer = yes ? std::optional(QMessageBox::Yes) : std::nullopt;
        const bool answer = on_.Desktop.AskYesNo(*on_.Port, question, title);
        return {answer, LastBox()};
    }
    SeenModal ShowModal(FormPort& modal, const form::Form& form, form::ControlId button) override {
        SeenModal seen;
        QTimer::singleShot(0, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            if (shown == nullptr || shown->objectName() != QString::fromLatin1(form.Name)) {
                return;
            }
            seen = {true, shown->parentWidget() == &on_.Window(), Blocked()};
            Find<QAbstractButton>(*shown, form::ControlOf(form, button).Name).click();
        });
        modal.ShowModal();
        seen.OwnerFreedAfter = !Blocked();
        return seen;
    }
    std::string Clipboard() override { return Utf8(QGuiApplication::clipboard()->text()); }
    std::string_view LineEnd() override { return "\n"; }

    void Shoot(const std::string& file) override {
        QDir().mkpath(KELBRIN_SCREENSHOT_DIR);
        // As on a screen, the scroll bars settle once pending layout events have run.
        QCoreApplication::processEvents();
        shot_ = on_.Window().grab().toImage();
        EXPECT_TRUE(shot_.save(QString(KELBRIN_SCREENSHOT_DIR "/") + QString::fromStdString(file)));
    }
    form::Colour ShotAt(Point at) override {
        return Colour(shot_.pixelColor(on_.Client().mapTo(&on_.Window(), QPoint(at.X, at.Y))));
    }
    std::optional<form::ControlId> TopAt(Point at) override {
        for (QWidget* top = on_.Client().childAt(at.X, at.Y); top != nullptr;
             top = top->parentWidget()) {
            if (const std::optional<form::ControlId> id = IdOf(top)) {
                return id;
            }
        }
        return std::nullopt;
    }
    std::optional<Point> PointOnTop(form::ControlId control) override {
        QWidget& widget = on_.Control(control);
        const auto* area = qobject_cast<const QAbstractScrollArea*>(&widget);
        const QRect inside = area != nullptr ? area->viewport()->geometry() : widget.rect();
        for (const int x : {inside.right() - 3, inside.left() + 3}) {
            const QPoint at = widget.mapTo(&on_.Client(), QPoint(x, inside.center().y()));
            if (TopAt({at.x(), at.y()}) == control) {
                return Point{at.x(), at.y()};
            }
        }
        return std::nullopt;
    }
    form::Colour PictureAt(form::ControlId control, Point at) override {
        const auto& picture = on_.Control<QLabel>(control);
        return Colour(picture.pixmap().toImage().pixelColor(
            picture.mapFrom(&on_.Client(), QPoint(at.X, at.Y))));
    }

private:
    static form::Colour Colour(const QColor& c) {
        return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                static_cast<std::uint8_t>(c.blue())};
    }
    // The control that `widget` draws; nothing: none of the form's.
    std::optional<form::ControlId> IdOf(const QWidget* widget) const {
        for (const form::Control& c : form_.Controls) {
            if (widget == &on_.Control(c.Id)) {
                return c.Id;
            }
        }
        return std::nullopt;
    }
    // The one box shown since the closer's list was cleared.
    SeenMessageBox LastBox() const {
        if (on_.Closer.Boxes.size() != 1) {
            return {};
        }
        const SeenBox& box = on_.Closer.Boxes[0];
        return {Utf8(box.Title),
                Utf8(box.Text),
                box.Icon == QMessageBox::Critical   ? "stop"
                : box.Icon == QMessageBox::Question ? "question"
                                                    : "",
                box.Buttons,
                box.Default,
                box.Owner == &on_.Window()};
    }
    bool Blocked() const {
        return QGuiApplicationPrivate::instance()->isWindowBlocked(on_.Window().windowHandle());
    }
    void Activate() {
        if (QApplication::activeWindow() != &on_.Window()) {
            on_.Window().activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&on_.Window()));
        }
    }
    const form::Form& form_;
    FormOn on_;
    QImage shot_;
};

} // namespace

bool DropOn(QWidget& window, const QMimeData& data) {
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

std::unique_ptr<HostedForm> ShowForm(const form::Form& form) {
    return std::make_unique<QtHostedForm>(form);
}

} // namespace kelbrin::test
