#include "model/DialogModel.h"

#include "core/Failure.h"

#include <cstring>

namespace {

[[noreturn]] void notSupported() {
    raiseFailure(PropertyNotSupported);
}

bool hasCaption(design::Kind kind) {
    return kind != design::Kind::Frame;
}

constexpr const char* OptionBoxNames[DialogModel::OptionCount] = {
    "CheckEtikette", "CheckBobbineLinks", "CheckOhneBobinen", "CheckBobRechtsFadenAnMasch",
    "CheckFaden"};

} // namespace

const design::Control& Control::design() const {
    return model_->designOf(index_);
}

QString Control::kindName() const {
    switch (design().kind) {
    case design::Kind::CheckBox:
        return QStringLiteral("CheckBox");
    case design::Kind::CommandButton:
        return QStringLiteral("CommandButton");
    case design::Kind::Label:
        return QStringLiteral("Label");
    case design::Kind::Frame:
        return QStringLiteral("Frame");
    }
    return QString();
}

QString Control::Name() const {
    return QString::fromLatin1(design().name);
}

qint16 Control::Index() const {
    notSupported(); // no control of this window is a member of a control array
}

QString Control::Tag() const {
    return QString::fromLatin1(design().tag);
}

qint32 Control::WhatsThisHelpID() const {
    return design().helpNumber;
}

QString Control::Caption() const {
    if (!hasCaption(design().kind))
        notSupported();
    const QString& caption = model_->state(index_).caption;
    return caption.isNull() ? QStringLiteral("") : caption;
}

void Control::setCaption(const QString& caption) {
    if (!hasCaption(design().kind))
        notSupported();
    model_->stateOf(index_).caption = caption;
    model_->changed(index_);
}

QString Control::ToolTipText() const {
    return model_->state(index_).toolTip;
}

void Control::setToolTipText(const QString& text) {
    model_->stateOf(index_).toolTip = text;
    model_->changed(index_);
}

qint16 Control::Value() const {
    if (design().kind != design::Kind::CheckBox)
        notSupported();
    return model_->state(index_).value;
}

void Control::setValue(qint16 value) {
    if (design().kind != design::Kind::CheckBox)
        notSupported();
    if (value < 0 || value > 2)
        raiseFailure(InvalidPropertyValue);
    if (model_->state(index_).value == value)
        return;
    model_->stateOf(index_).value = value;
    model_->changed(index_);
    model_->clicked(index_);
}

bool Control::Enabled() const {
    return model_->state(index_).enabled;
}

void Control::setEnabled(bool enabled) {
    model_->stateOf(index_).enabled = enabled;
    model_->changed(index_);
}

void Control::setDescription(const QString& description) {
    model_->stateOf(index_).description = description;
    model_->changed(index_);
}

void Control::setBackColor(design::Rgb colour) {
    model_->stateOf(index_).backColor = colour;
    model_->changed(index_);
}

DialogModel::DialogModel() : title_(QString::fromLatin1(design::WindowCaption)) {
    for (const design::Control& entry : design::controls()) {
        ControlState state;
        state.caption = QString::fromLatin1(entry.caption);
        state.enabled = entry.createdEnabled;
        states_.push_back(state);
    }
}

Control DialogModel::control(const char* name) {
    for (int i = 0; i < count(); ++i)
        if (std::strcmp(designOf(i).name, name) == 0)
            return Control(*this, i);
    raiseFailure(InvalidArgument);
}

const design::Control& DialogModel::designOf(int index) const {
    return design::controls().at(size_t(index));
}

bool DialogModel::isArrayMember(int index) const {
    for (int j = 0; j < count(); ++j)
        if (j != index && std::strcmp(designOf(j).name, designOf(index).name) == 0)
            return true;
    return false;
}

Control DialogModel::optionBox(int bit) {
    return control(OptionBoxNames[bit]);
}

void DialogModel::setTitle(const QString& title) {
    title_ = title;
    if (view_ != nullptr)
        view_->titleChanged();
}

void DialogModel::setView(DialogView* view) {
    view_ = view;
}

void DialogModel::setClickNotification(std::function<void(int)> notification) {
    clickNotification_ = std::move(notification);
}

void DialogModel::changed(int index) {
    if (view_ != nullptr)
        view_->controlChanged(index);
}

void DialogModel::clicked(int index) {
    if (clickNotification_)
        clickNotification_(index);
}
