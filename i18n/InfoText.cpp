#include "i18n/InfoText.h"

#include "core/Failure.h"
#include "model/DialogModel.h"
#include "platform/Platform.h"

#include <exception>
#include <functional>

namespace {

const QString LineBreakMarker = QStringLiteral("<CRLF>");

// The info box reports nothing: a step that fails is left out and the next one runs.
void skippingFailure(const std::function<void()>& step) {
    try {
        step();
    } catch (const Failure&) {
    } catch (const std::exception&) {
    }
}

} // namespace

QString withLineBreaks(const QString& helpText) {
    // The marker is searched without regard to case in the text itself, not in an upper-cased
    // copy: upper-casing may change a text's length ("ß" becomes "SS"), and the positions
    // found would then cut the text in the wrong places.
    QString rest = helpText;
    QString result;
    for (qsizetype at = rest.indexOf(LineBreakMarker, 0, Qt::CaseInsensitive); at >= 0;
         at = rest.indexOf(LineBreakMarker, 0, Qt::CaseInsensitive)) {
        result += rest.left(at) + QStringLiteral("\r\n");
        rest = rest.mid(at + LineBreakMarker.size());
    }
    return result + rest;
}

void ShowInfoText(DialogModel& dialog, int control) {
    if (!dialog.HelpMode)
        return;
    QString helpText;
    skippingFailure(
        [&] { helpText = dialog.HelpTexts[dialog.control(control).WhatsThisHelpID()]; });
    QString shown;
    skippingFailure([&] { shown = withLineBreaks(helpText); });
    skippingFailure([&] {
        platform::current().messageBox(shown, QStringLiteral("Info:"), platform::Icon::Information,
                                       platform::Buttons::Ok, platform::Answer::Ok);
    });
}

void CheckInfoClick(DialogModel& dialog, int checkBox) {
    if (!dialog.HelpMode)
        return;
    if (dialog.IgnoreNextClick) {
        dialog.IgnoreNextClick = false;
        return;
    }
    dialog.IgnoreNextClick = true;
    // The click has already changed the value; putting it back raises the box's click
    // notification again at once, which the flag turns away.
    Control box = dialog.control(checkBox);
    box.setValue(box.Value() != 0 ? 0 : 1);
    ShowInfoText(dialog, checkBox);
}
