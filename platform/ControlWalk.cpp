#include "platform/ControlWalk.h"

#include "platform/Failure.h"
#include "platform/Platform.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QWidget>

namespace {

constexpr qint32 PropertyNotSupported = 438;
constexpr qint32 InvalidPropertyValue = 380;

[[noreturn]] void raise(qint32 number, const char* description) {
    throw Failure{number, platform::current().executableName(), QString::fromLatin1(description)};
}

[[noreturn]] void notSupported() {
    raise(PropertyNotSupported, "Object doesn't support this property or method");
}

QAbstractButton* captionedButton(QWidget* widget) {
    return qobject_cast<QAbstractButton*>(widget);
}

QPointer<QWidget> registeredWindow;

} // namespace

QString Control::kindName() const {
    if (qobject_cast<QCheckBox*>(widget_))
        return QStringLiteral("CheckBox");
    if (qobject_cast<QAbstractButton*>(widget_))
        return QStringLiteral("CommandButton");
    // A label is a frame to Qt, so it is asked for first.
    if (qobject_cast<QLabel*>(widget_))
        return QStringLiteral("Label");
    if (qobject_cast<QFrame*>(widget_))
        return QStringLiteral("Frame");
    QString name = QString::fromLatin1(widget_->metaObject()->className());
    if (name.startsWith(QLatin1Char('Q')))
        name.remove(0, 1);
    return name;
}

QString Control::Name() const {
    return widget_->objectName();
}

qint16 Control::Index() const {
    const QVariant index = widget_->property(control_property::Index);
    if (!index.isValid())
        notSupported();
    return static_cast<qint16>(index.toInt());
}

QString Control::Tag() const {
    return widget_->property(control_property::Tag).toString();
}

qint32 Control::WhatsThisHelpID() const {
    return widget_->property(control_property::WhatsThisHelpID).toInt();
}

QString Control::Caption() const {
    QString caption;
    if (auto* label = qobject_cast<QLabel*>(widget_))
        caption = label->text();
    else if (auto* button = captionedButton(widget_))
        caption = button->text();
    else
        notSupported();
    return caption.isNull() ? QStringLiteral("") : caption;
}

void Control::setCaption(const QString& caption) {
    if (auto* label = qobject_cast<QLabel*>(widget_))
        label->setText(caption);
    else if (auto* button = captionedButton(widget_))
        button->setText(caption);
    else
        notSupported();
}

QString Control::ToolTipText() const {
    return widget_->toolTip();
}

void Control::setToolTipText(const QString& text) {
    widget_->setToolTip(text);
}

qint16 Control::Value() const {
    auto* box = qobject_cast<QCheckBox*>(widget_);
    if (box == nullptr)
        notSupported();
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

void Control::setValue(qint16 value) {
    auto* box = qobject_cast<QCheckBox*>(widget_);
    if (box == nullptr)
        notSupported();
    switch (value) {
    case 0:
        box->setCheckState(Qt::Unchecked);
        break;
    case 1:
        box->setCheckState(Qt::Checked);
        break;
    case 2:
        box->setCheckState(Qt::PartiallyChecked);
        break;
    default:
        raise(InvalidPropertyValue, "Invalid property value");
    }
}

ControlWalk::ControlWalk(QWidget* window) {
    // findChildren visits depth first, each container before its children, siblings in
    // creation order; widgets without a Tag are Qt's own parts, not controls.
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets)
        if (widget->property(control_property::Tag).isValid())
            controls_.push_back(widget);
}

bool ControlWalk::isArrayMember(int i) const {
    const QString name = at(i).Name();
    for (int j = 0; j < count(); ++j)
        if (j != i && at(j).Name() == name)
            return true;
    return false;
}

QWidget* programWindow() {
    if (registeredWindow.isNull())
        raiseFailure(InvalidArgument);
    return registeredWindow.data();
}

void registerProgramWindow(QWidget* window) {
    registeredWindow = window;
}

void unregisterProgramWindow(QWidget* window) {
    if (registeredWindow == window)
        registeredWindow = nullptr;
}
