#include "readoutaccessible.h"

#include <QAccessibleWidget>
#include <QLCDNumber>
#include <climits>

namespace {
class ReadoutAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ReadoutAccessible(QLCDNumber *readout)
        : QAccessibleWidget(readout, QAccessible::StaticText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The name is the widget's accessible name, or its caption's text, the
    // caption being the label whose buddy the readout is.
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? currentValue().toString() : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }

    QVariant currentValue() const override
    {
        const QVariant given = object()->property(readoutValueProperty);
        return given.isValid() ? given : QVariant(static_cast<QLCDNumber *>(object())->intValue());
    }
    void setCurrentValue(const QVariant &) override { } // shown, not set
    QVariant maximumValue() const override { return INT_MAX; }
    QVariant minimumValue() const override { return INT_MIN; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface *readoutFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLCDNumber") && object && object->isWidgetType())
        return new ReadoutAccessible(static_cast<QLCDNumber *>(object));
    return nullptr;
}
} // namespace

void installReadoutAccessibility()
{
    static const bool installed = (QAccessible::installFactory(readoutFactory), true);
    Q_UNUSED(installed);
}
