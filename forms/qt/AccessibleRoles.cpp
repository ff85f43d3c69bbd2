#include "AccessibleRoles.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>

namespace kelbrin {

namespace {

constexpr const char* kRoleProperty = "kelbrinAccessibleRole";
constexpr const char* kHiddenProperty = "kelbrinHiddenFromScreenReaders";

class RoleInterface final : public QAccessibleWidget {
public:
    RoleInterface(QWidget* widget, QAccessible::Role role, bool hidden)
        : QAccessibleWidget(widget, role), hidden_(hidden) {}

    QString text(QAccessible::Text t) const override {
        // A label without a name of its own is named by its text, also as that changes, as
        // Qt's own interface for labels names it.
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto* label = qobject_cast<const QLabel*>(widget())) {
                return label->text();
            }
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (hidden_) {
            s.invisible = true;
            s.focusable = false;
        }
        return s;
    }

private:
    const bool hidden_;
};

QAccessibleInterface* RoleFactory(const QString& /*className*/, QObject* object) {
    if (!object->isWidgetType()) {
        return nullptr;
    }
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid()) {
        return nullptr;
    }
    return new RoleInterface(static_cast<QWidget*>(object),
                             static_cast<QAccessible::Role>(role.toInt()),
                             object->property(kHiddenProperty).toBool());
}

void InstallRoleFactory() {
    // Asked before Qt's own factories, which were installed first.
    static const bool installed = (QAccessible::installFactory(RoleFactory), true);
    (void)installed;
}

void GiveRole(QWidget& widget, QAccessible::Role role, bool hidden) {
    InstallRoleFactory();
    widget.setProperty(kRoleProperty, static_cast<int>(role));
    widget.setProperty(kHiddenProperty, hidden);
    // Under a screen reader the widget's constructor may already have made Qt's interface
    // (a label announces its first text), which Qt keeps: that one goes.
    QAccessibleInterface* kept = QAccessible::queryAccessibleInterface(&widget);
    if (kept != nullptr && dynamic_cast<RoleInterface*>(kept) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(kept));
    }
}

} // namespace

void SetAccessibleRole(QWidget& widget, QAccessible::Role role) {
    GiveRole(widget, role, false);
}

void HideFromScreenReaders(QWidget& widget) {
    GiveRole(widget, QAccessible::Whitespace, true);
}

} // namespace kelbrin
