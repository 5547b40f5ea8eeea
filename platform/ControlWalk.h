#pragma once
// The window's controls as the language walk and the info text see them: a thin view over the
// Qt widgets, no copy of them.
//
// A control is a widget below the window that carries the dynamic property "Tag" (every
// control the window builds has one, possibly empty). Its attributes come from the widget:
//   Name             the object name
//   Index            the dynamic property "Index"; only members of a control array have one
//   Tag              the dynamic property "Tag"
//   WhatsThisHelpID  the dynamic property "WhatsThisHelpID"; 0 when it has none
//   Caption          the text of a label, push button or check box
//   ToolTipText      the tool tip
//   Value            a check box's state: 0 unchecked, 1 checked, 2 grayed
// Reading an attribute the control's kind does not have raises the failure "Object doesn't
// support this property or method" (438), as does an array index on a control without one.

#include <QString>

#include <vector>

class QWidget;

// Property names under which the window keeps the attributes Qt has no place for.
namespace control_property {
constexpr const char* Tag = "Tag";
constexpr const char* Index = "Index";
constexpr const char* WhatsThisHelpID = "WhatsThisHelpID";
} // namespace control_property

class Control {
public:
    explicit Control(QWidget* widget) : widget_(widget) {}

    QWidget* widget() const { return widget_; }

    // The kind as the toolkit names it: "Label", "CommandButton", "CheckBox", "Frame"; any
    // other widget gives its class name without Qt's leading "Q".
    QString kindName() const;

    QString Name() const;
    qint16 Index() const;
    QString Tag() const;
    qint32 WhatsThisHelpID() const;

    // Never a null text: a control without caption gives "", so that it can be written as an
    // empty value.
    QString Caption() const;
    void setCaption(const QString& caption);

    QString ToolTipText() const;
    void setToolTipText(const QString& text);

    // Setting the value of a check box raises its click notification at once, before the
    // change returns, whenever the value differs. Values other than 0, 1 and 2 raise "Invalid
    // property value" (380).
    qint16 Value() const;
    void setValue(qint16 value);

private:
    QWidget* widget_;
};

// All controls of a window in its fixed control order: depth first, a container before what
// it holds, siblings in the order they were created. Controls inside frames are included.
class ControlWalk {
public:
    explicit ControlWalk(QWidget* window);

    int count() const { return static_cast<int>(controls_.size()); }
    // Control i, 0 <= i < count().
    Control at(int i) const { return Control(controls_.at(static_cast<size_t>(i))); }

    // Another control of the window has the same name: control i belongs to a control array.
    bool isArrayMember(int i) const;

private:
    std::vector<QWidget*> controls_;
};

// The program's dialog window, the first (and only) window it has open: the window that
// registered itself and still exists. Raises "Invalid procedure call or argument" (5) when
// there is none.
QWidget* programWindow();
void registerProgramWindow(QWidget* window);
void unregisterProgramWindow(QWidget* window);
