#include "AccessibleRoles.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>

namespace kelbrin {

namespace {

constexpr const char* kRoleProperty = "kelbrinAccessibleRole";

class RoleInterface final : public QAccessibleWidget {
public:
    RoleInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

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
                             static_cast<QAccessible::Role>(role.toInt()));
}

void InstallRoleFactory() {
    // Asked before Qt's own factories, which were installed first.
    static const bool installed = (QAccessible::installFactory(RoleFactory), true);
    (void)installed;
}

} // namespace

void SetAccessibleRole(QWidget& widget, QAccessible::Role role) {
    InstallRoleFactory();
    widget.setProperty(kRoleProperty, static_cast<int>(role));
    // Under a screen reader the widget's constructor may already have made Qt's interface
    // (a label announces its first text), which Qt keeps: that one goes.
    QAccessibleInterface* kept = QAccessible::queryAccessibleInterface(&widget);
    if (kept != nullptr && dynamic_cast<RoleInterface*>(kept) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(kept));
    }
}

} // namespace kelbrin
