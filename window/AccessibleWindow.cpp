#include "window/AccessibleWindow.h"

#include "window/frm_415_MainPicture_Config_Exe.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeySequence>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

using Window = frm_415_MainPicture_Config_Exe;

Window* programWindowOf(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget == nullptr ? nullptr : qobject_cast<Window*>(widget->window());
}

// A modal box is open over the window: the mouse and the keyboard cannot reach the window.
bool boxOpenOver(const QWidget* control) {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != control->window();
}

// A caption as spoken: a single "&" marks the mnemonic and is dropped, "&&" is an "&".
QString withoutMnemonicMarks(QString caption) {
    for (qsizetype at = caption.indexOf(u'&'); at >= 0; at = caption.indexOf(u'&', at + 1))
        caption.remove(at, 1);
    return caption;
}

// The window and its frames: their controls in screen order.
class ScreenOrderedContainer : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return static_cast<int>(childrenOnScreen().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = childrenOnScreen();
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children.at(index))
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr)
            return -1;
        return static_cast<int>(
            childrenOnScreen().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> childrenOnScreen() const {
        QList<QWidget*> children;
        for (QObject* object : widget()->children())
            if (auto* child = qobject_cast<QWidget*>(object);
                child != nullptr && !child->isWindow())
                children.append(child);
        std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        return children;
    }
};

// OK, Cancel, the question-mark switch and the five check boxes.
class ProgramButton : public QAccessibleWidget {
public:
    explicit ProgramButton(QAbstractButton* button) : QAccessibleWidget(button) {}

    QAccessible::Role role() const override {
        return isToggle() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        if (isHelpSwitch()) {
            state.checkable = true;
            state.checked = programWindowOf(button())->dialog().model.HelpMode;
        } else if (auto* box = qobject_cast<QCheckBox*>(button())) {
            state.checkable = true;
            state.checked = box->checkState() == Qt::Checked;
            state.checkStateMixed = box->checkState() == Qt::PartiallyChecked;
        }
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            // The switch's tool tip explains the help mode at length; it is the description.
            if (isHelpSwitch())
                return static_cast<PictureButton*>(button())->spokenName();
            if (!button()->accessibleName().isEmpty())
                return button()->accessibleName();
            return withoutMnemonicMarks(button()->text());
        }
        if (kind == QAccessible::Accelerator)
            return QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled())
            names << (isToggle() ? toggleAction() : pressAction());
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (boxOpenOver(button()))
            return;
        if (name != pressAction() && name != toggleAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        // A click as the mouse gives it, so that the switch and the boxes run their click
        // handling; queued, because that handling may open a box and wait for its answer.
        QAbstractButton* target = button();
        QTimer::singleShot(0, target, [target] {
            if (!boxOpenOver(target))
                target->click();
        });
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    bool isHelpSwitch() const {
        const Window* window = programWindowOf(button());
        return window != nullptr && button() == window->CommandQuest;
    }

    bool isToggle() const {
        return isHelpSwitch() || qobject_cast<QCheckBox*>(button()) != nullptr;
    }
};

QAccessibleInterface* accessibleControl(const QString& /*className*/, QObject* object) {
    if (auto* window = qobject_cast<Window*>(object))
        return new ScreenOrderedContainer(window, QAccessible::Dialog);
    if (programWindowOf(object) == nullptr)
        return nullptr;
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return new ProgramButton(button);
    if (auto* frame = qobject_cast<QFrame*>(object);
        frame != nullptr && frame->metaObject() == &QFrame::staticMetaObject)
        return new ScreenOrderedContainer(frame, QAccessible::Border);
    return nullptr;
}

} // namespace

void installAccessibleWindow() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleControl);
        return true;
    }();
    (void)installed;
}

void announceHelpModeSwitched(QWidget* helpSwitch) {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(helpSwitch, changed);
    QAccessible::updateAccessibility(&event);
}
