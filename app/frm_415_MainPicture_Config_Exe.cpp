#include "app/frm_415_MainPicture_Config_Exe.h"

#include "app/AccessibleWindow.h"
#include "app/WindowDesign.h"
#include "diag/Procedure.h"
#include "i18n/InfoText.h"
#include "platform/ControlWalk.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QShowEvent>
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

void handCheckBoxClick(const char* procedureName, QCheckBox* checkBox) {
    Procedure procedure(procedureName);
    procedure.step([&] { CheckInfoClick(checkBox); });
}

} // namespace

frm_415_MainPicture_Config_Exe::frm_415_MainPicture_Config_Exe(QWidget* parent) : QWidget(parent) {
    // Before the first change an accessibility client may hear of (the title is one).
    installAccessibleWindow();
    setObjectName(QString::fromLatin1(design::WindowName));
    setWindowTitle(QString::fromLatin1(design::WindowCaption));
    // A complete light palette from the design's grey: the window's colours are fixed, so its
    // texts must not take a desktop scheme's light text colours (unreadable on light grey).
    setPalette(QPalette(design::LightGrey));
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
    connectCheckBoxClicks();
    connectButtonClicks();
    registerProgramWindow(this);
}

frm_415_MainPicture_Config_Exe::~frm_415_MainPicture_Config_Exe() {
    unregisterProgramWindow(this);
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
        control->setProperty(control_property::Tag, QString::fromLatin1(entry.tag));
        control->setProperty(control_property::WhatsThisHelpID, entry.helpNumber);
        if (hasOwnFont(entry.font))
            control->setFont(designFont(entry.font));
        control->setAutoFillBackground(true);
        control->setEnabled(entry.createdEnabled);
        control->installEventFilter(toolTips);
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

void frm_415_MainPicture_Config_Exe::connectCheckBoxClicks() {
    // stateChanged comes for every change of the value, from a click as from the program,
    // synchronously and before the change returns - the click notification the help mode
    // relies on to undo a click.
    using Window = frm_415_MainPicture_Config_Exe;
    connect(CheckFaden, &QCheckBox::stateChanged, this, &Window::CheckFaden_Click);
    connect(CheckBobRechtsFadenAnMasch, &QCheckBox::stateChanged, this,
            &Window::CheckBobRechtsFadenAnMasch_Click);
    connect(CheckOhneBobinen, &QCheckBox::stateChanged, this, &Window::CheckOhneBobinen_Click);
    connect(CheckBobbineLinks, &QCheckBox::stateChanged, this, &Window::CheckBobbineLinks_Click);
    connect(CheckEtikette, &QCheckBox::stateChanged, this, &Window::CheckEtikette_Click);
}

void frm_415_MainPicture_Config_Exe::Form_Activate() {
    Procedure procedure("Form_Activate");
    procedure.step([&] { CommandOK->setEnabled(true); });
}

void frm_415_MainPicture_Config_Exe::Form_Resize() {
    Procedure procedure("Form_Resize");
    // Nothing to do: the controls keep their designed places and sizes.
}

void frm_415_MainPicture_Config_Exe::CheckFaden_Click() {
    handCheckBoxClick("CheckFaden_Click", CheckFaden);
}

void frm_415_MainPicture_Config_Exe::CheckBobRechtsFadenAnMasch_Click() {
    handCheckBoxClick("CheckBobRechtsFadenAnMasch_Click", CheckBobRechtsFadenAnMasch);
}

void frm_415_MainPicture_Config_Exe::CheckOhneBobinen_Click() {
    handCheckBoxClick("CheckOhneBobinen_Click", CheckOhneBobinen);
}

void frm_415_MainPicture_Config_Exe::CheckBobbineLinks_Click() {
    handCheckBoxClick("CheckBobbineLinks_Click", CheckBobbineLinks);
}

void frm_415_MainPicture_Config_Exe::CheckEtikette_Click() {
    handCheckBoxClick("CheckEtikette_Click", CheckEtikette);
}

void frm_415_MainPicture_Config_Exe::changeEvent(QEvent* event) {
    // Activation is the first time the window becomes active after it was shown: the modal
    // boxes of the program are no windows of its own, so returning from one is none.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activatedSinceShown_) {
        activatedSinceShown_ = true;
        Form_Activate();
    }
    QWidget::changeEvent(event);
}

void frm_415_MainPicture_Config_Exe::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        activatedSinceShown_ = false;
    QWidget::showEvent(event);
}

void frm_415_MainPicture_Config_Exe::resizeEvent(QResizeEvent* event) {
    Form_Resize();
    QWidget::resizeEvent(event);
}
