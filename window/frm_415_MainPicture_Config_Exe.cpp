#include "window/frm_415_MainPicture_Config_Exe.h"

#include "model/WindowDesign.h"
#include "window/AccessibleWindow.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace {

// A check box whose caption wraps onto further lines when it is wider than the box, and
// which takes a click anywhere on it, not only on its indicator and text.
class WrappingCheckBox : public QCheckBox {
public:
    WrappingCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }

    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QRect indicator =
            style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
        const QRect contents = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
        QStyleOptionButton box = option;
        box.rect = indicator;
        painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

        const int flags =
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
        style()->drawItemText(&painter, contents, flags, palette(), isEnabled(), text(),
                              QPalette::WindowText);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = painter.boundingRect(contents, flags, text()).adjusted(-1, 0, 1, 0) &
                         contents.adjusted(-1, 0, 1, 0);
            focus.backgroundColor = palette().color(QPalette::Window);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
};

// Tool tips as the system shows them: the text as written, never read as markup (no links,
// no pictures loaded from it), and none over a control that has none of its own, where the
// toolkit would show its container's.
class PlainToolTips : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* control = static_cast<QWidget*>(watched);
        const QString text = control->toolTip();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                               Qt::convertFromPlainText(text, Qt::WhiteSpacePre), control);
        return true;
    }
};

bool hasOwnFont(const design::Font& font) {
    return *font.face != '\0';
}

QFont designFont(const design::Font& font) {
    // The face falls back to what the machine has; weight and size are kept.
    QFont result(QString::fromLatin1(font.face));
    result.setStyleHint(QFont::SansSerif);
    result.setWeight(static_cast<QFont::Weight>(font.weight));
    result.setPointSizeF(font.points);
    return result;
}

QWidget* createControl(const design::Control& entry, QWidget* container) {
    const QString caption = QString::fromLatin1(entry.caption);
    switch (entry.kind) {
    case design::Kind::CommandButton: {
        auto* button = new PictureButton(pictures::forDesign(entry.picture),
                                         pictures::spokenName(entry.picture), container);
        button->setText(caption);
        return button;
    }
    case design::Kind::Frame: {
        auto* frame = new QFrame(container);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    case design::Kind::CheckBox:
        return new WrappingCheckBox(caption, container);
    case design::Kind::Label: {
        auto* label = new QLabel(container);
        label->setTextFormat(Qt::PlainText); // a caption is shown as written, never as markup
        label->setText(caption);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    }
    return nullptr;
}

QColor colourOf(design::Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

// A check box's value in the model (0 unchecked, 1 checked, 2 grayed) and on the screen.
Qt::CheckState checkStateOf(qint16 value) {
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}
qint16 valueOf(int checkState) {
    return checkState == Qt::Checked ? 1 : checkState == Qt::PartiallyChecked ? 2 : 0;
}

} // namespace

frm_415_MainPicture_Config_Exe::frm_415_MainPicture_Config_Exe(QWidget* parent) : QWidget(parent) {
    // Before the first change an accessibility client may hear of (the title is one).
    installAccessibleWindow();
    setObjectName(QString::fromLatin1(design::WindowName));
    // A complete light palette from the design's grey: the window's colours are fixed, so its
    // texts must not take a desktop scheme's light text colours (unreadable on light grey).
    setPalette(QPalette(colourOf(design::LightGrey)));
    setAutoFillBackground(true);
    resize(design::toPixels(design::ClientWidth), design::toPixels(design::ClientHeight));

    buildControls();
    CommandQuest = findChild<PictureButton*>(QStringLiteral("CommandQuest"));
    CommandCancel = findChild<PictureButton*>(QStringLiteral("CommandCancel"));
    CommandOK = findChild<PictureButton*>(QStringLiteral("CommandOK"));
    MainFrame = findChild<QFrame*>(QStringLiteral("MainFrame"));
    FrameBobinenBock = findChild<QFrame*>(QStringLiteral("FrameBobinenBock"));
    CheckFaden = findChild<QCheckBox*>(QStringLiteral("CheckFaden"));
    CheckBobRechtsFadenAnMasch =
        findChild<QCheckBox*>(QStringLiteral("CheckBobRechtsFadenAnMasch"));
    CheckOhneBobinen = findChild<QCheckBox*>(QStringLiteral("CheckOhneBobinen"));
    CheckBobbineLinks = findChild<QCheckBox*>(QStringLiteral("CheckBobbineLinks"));
    CheckEtikette = findChild<QCheckBox*>(QStringLiteral("CheckEtikette"));
    Header = findChild<QLabel*>(QStringLiteral("Header"));

    orderTabs();
    dialog_.model.setView(this);
    titleChanged();
    for (int i = 0; i < dialog_.model.count(); ++i)
        controlChanged(i);
    connectControls();
}

frm_415_MainPicture_Config_Exe::~frm_415_MainPicture_Config_Exe() {
    dialog_.model.setView(nullptr);
}

void frm_415_MainPicture_Config_Exe::buildControls() {
    auto* toolTips = new PlainToolTips(this);
    for (const design::Control& entry : design::controls()) {
        QWidget* container = entry.container == nullptr
                                 ? this
                                 : findChild<QWidget*>(QString::fromLatin1(entry.container));
        QWidget* control = createControl(entry, container);
        control->setObjectName(QString::fromLatin1(entry.name));
        control->setGeometry(design::toPixels(entry.left), design::toPixels(entry.top),
                             design::toPixels(entry.width), design::toPixels(entry.height));
        if (hasOwnFont(entry.font))
            control->setFont(designFont(entry.font));
        control->setAutoFillBackground(true);
        control->installEventFilter(toolTips);
        widgets_.push_back(control);
    }
}

void frm_415_MainPicture_Config_Exe::orderTabs() {
    // Frames and the label take no focus; the rest follow one another by tab index.
    std::vector<const design::Control*> byTabIndex;
    for (const design::Control& entry : design::controls())
        byTabIndex.push_back(&entry);
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    QWidget* previous = nullptr;
    for (const design::Control* entry : byTabIndex) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(entry->name));
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous != nullptr)
            setTabOrder(previous, control);
        previous = control;
    }
}

void frm_415_MainPicture_Config_Exe::connectControls() {
    for (int i = 0; i < int(widgets_.size()); ++i) {
        // stateChanged comes for every change of the box, from a click as from the keyboard:
        // the model takes the new value and raises the box's click notification.
        if (auto* box = qobject_cast<QCheckBox*>(widgets_[size_t(i)]))
            connect(box, &QCheckBox::stateChanged, this,
                    [this, i](int state) { dialog_.model.control(i).setValue(valueOf(state)); });
    }
    connect(CommandOK, &QPushButton::clicked, this, [this] { dialog_.CommandOK_Click(); });
    connect(CommandCancel, &QPushButton::clicked, this, [this] { dialog_.CommandCancel_Click(); });
    connect(CommandQuest, &QPushButton::clicked, this,
            &frm_415_MainPicture_Config_Exe::CommandQuest_Click);
}

void frm_415_MainPicture_Config_Exe::CommandQuest_Click() {
    dialog_.CommandQuest_Click();
    announceHelpModeSwitched(CommandQuest);
}

void frm_415_MainPicture_Config_Exe::controlChanged(int index) {
    // Only what differs is set: each setter relays out, repaints or tells screen readers.
    const ControlState& state = dialog_.model.state(index);
    QWidget* widget = widgets_.at(size_t(index));
    if (auto* label = qobject_cast<QLabel*>(widget);
        label != nullptr && label->text() != state.caption)
        label->setText(state.caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget);
             button != nullptr && button->text() != state.caption)
        button->setText(state.caption);
    if (widget->toolTip() != state.toolTip)
        widget->setToolTip(state.toolTip);
    if (widget->accessibleDescription() != state.description)
        widget->setAccessibleDescription(state.description);
    if (widget->isEnabled() != state.enabled)
        widget->setEnabled(state.enabled);
    // The model already holds the value: the box shows it without raising its notification.
    if (auto* box = qobject_cast<QCheckBox*>(widget);
        box != nullptr && box->checkState() != checkStateOf(state.value)) {
        const QSignalBlocker quiet(box);
        box->setCheckState(checkStateOf(state.value));
    }
    if (auto* button = qobject_cast<PictureButton*>(widget);
        button != nullptr && button->backColor() != colourOf(state.backColor))
        button->setBackColor(colourOf(state.backColor));
}

void frm_415_MainPicture_Config_Exe::titleChanged() {
    setWindowTitle(dialog_.model.title());
}

void frm_415_MainPicture_Config_Exe::changeEvent(QEvent* event) {
    // Activation is the first time the window becomes active after it was shown: the modal
    // boxes of the program are no windows of its own, so returning from one is none.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activatedSinceShown_) {
        activatedSinceShown_ = true;
        dialog_.Form_Activate();
    }
    QWidget::changeEvent(event);
}

void frm_415_MainPicture_Config_Exe::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        activatedSinceShown_ = false;
    QWidget::showEvent(event);
}

void frm_415_MainPicture_Config_Exe::resizeEvent(QResizeEvent* event) {
    dialog_.Form_Resize();
    QWidget::resizeEvent(event);
}

void frm_415_MainPicture_Config_Exe::closeEvent(QCloseEvent* event) {
    // Every close the window frame asks for (close button, system menu, Alt+F4, the session
    // ending) comes here; ending at once never does.
    bool cancel = false;
    dialog_.Form_QueryUnload(cancel, 0);
    if (cancel)
        event->ignore();
    else
        event->accept();
}
