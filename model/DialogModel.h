#pragma once
// The dialog's state apart from its widgets: every control of the window in its fixed order,
// with the attributes the program reads and sets; the five options with what start-up showed
// of them; the help mode and the help texts; the title. The dialog's operations work on it
// (dialog/Dialog.h); the window shows it and edits it (window/); a silent run uses it whole,
// without any widget.

#include "model/HelpTextTable.h"
#include "model/WindowDesign.h"
#include "store/MachineList.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

class DialogModel;

// What shows the model: it hears of every change the model makes.
class DialogView {
public:
    virtual ~DialogView() = default;
    virtual void controlChanged(int index) = 0;
    virtual void titleChanged() = 0;
};

// One control's attributes as the language walk, the info text and the option editing see
// them:
//   Name             the design's name
//   Index            only members of a control array have one (none of this window's)
//   Tag, WhatsThisHelpID (0 for none)
//   Caption          labels, command buttons and check boxes
//   ToolTipText
//   Value            check boxes: 0 unchecked, 1 checked, 2 grayed
// Reading an attribute the control's kind does not have raises "Object doesn't support this
// property or method" (438); a value other than 0, 1 and 2 raises "Invalid property value"
// (380). Setting a check box's value raises its click notification at once, before the change
// returns, whenever the value differs.
class Control {
public:
    Control(DialogModel& model, int index) : model_(&model), index_(index) {}

    int index() const { return index_; }
    // The kind as the toolkit names it: "Label", "CommandButton", "CheckBox", "Frame".
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
    qint16 Value() const;
    void setValue(qint16 value);
    bool Enabled() const;
    void setEnabled(bool enabled);

    // What a screen reader says of the control besides its name: its help text as the info
    // box shows it.
    void setDescription(const QString& description);
    // The background colour a graphical push button is drawn on.
    void setBackColor(design::Rgb colour);

private:
    const design::Control& design() const;
    DialogModel* model_;
    int index_;
};

// What the model holds of each control besides its design.
struct ControlState {
    QString caption;
    QString toolTip;
    QString description;
    qint16 value = 0;
    bool enabled = true;
    design::Rgb backColor = design::LightGrey;
};

class DialogModel {
public:
    // The controls of the design, in the window's control order, as created: built-in
    // captions, no tool tips, CommandOK disabled, every box unchecked.
    DialogModel();

    int count() const { return static_cast<int>(states_.size()); }
    Control control(int index) { return Control(*this, index); }
    // The control of that name; the window has one of each.
    Control control(const char* name);
    const ControlState& state(int index) const { return states_.at(size_t(index)); }
    const design::Control& designOf(int index) const;
    // Another control of the window has the same name: control i belongs to a control array.
    bool isArrayMember(int index) const;

    // The check box of each option bit, bit 0 first.
    Control optionBox(int bit);
    static constexpr int OptionCount = 5;

    const QString& title() const { return title_; }
    void setTitle(const QString& title);

    // Shows the model from now on; nullptr for none (a silent run).
    void setView(DialogView* view);
    // What a check box's click notification runs: the dialog's click handler of that box.
    void setClickNotification(std::function<void(int index)> notification);

    // Help mode is on. False at start; only the question-mark button switches it.
    bool HelpMode = false;
    // The next click notification of a check box is the one CheckInfoClick raised itself by
    // putting the box back. False at start; only CheckInfoClick uses it.
    bool IgnoreNextClick = false;
    // The help texts by help number, filled by LoadToolTipTexts.
    HelpTextTable HelpTexts;

    // The path of jx5configuration.ini found during start-up, or empty text.
    QString ConfigurationIniFile;
    // The machine list that start-up read.
    MachineList machines;
    // What start-up showed in each option's box, bit 0 first, and whether that bit was read
    // from the file: a box whose bit could not be read is stored only as the user set it.
    std::array<qint16, OptionCount> optionShown{};
    std::array<bool, OptionCount> optionRead{};

private:
    friend class Control;
    ControlState& stateOf(int index) { return states_.at(size_t(index)); }
    void changed(int index);
    void clicked(int index);

    std::vector<ControlState> states_;
    QString title_;
    DialogView* view_ = nullptr;
    std::function<void(int)> clickNotification_;
};
