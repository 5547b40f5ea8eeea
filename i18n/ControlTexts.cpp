#include "i18n/ControlTexts.h"

#include "i18n/InfoText.h"
#include "i18n/Language.h"
#include "platform/ControlWalk.h"
#include "platform/Failure.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "run/RunState.h"
#include "store/IniAccess.h"
#include "store/StoreCheck.h"

#include <QWidget>

#include <exception>

HelpTextTable& HelpTexts = Run.helpTexts;

namespace {

const QString NoText = QStringLiteral("0");
const QString NoToolTipMarker = QStringLiteral("NOTTT");

// "" and "0" both mean the language has no text for an entry.
bool isText(const QString& value) {
    return !value.isEmpty() && value != NoText;
}

bool hasCaption(const Control& control) {
    const QString kind = platform::upperCase(control.kindName());
    return kind == QLatin1String("LABEL") || kind == QLatin1String("COMMANDBUTTON") ||
           kind == QLatin1String("CHECKBOX");
}

class ControlTexts {
public:
    ControlTexts(const QString& language, const QString& file) : language_(language), file_(file) {}

    // Caption, help text and tool tip of one control. Throws whatever fails.
    void load(Control control, bool arrayMember) const {
        // name [+ index] + "_" + tag, shared by the caption and the tool-tip key.
        QString keyTail = control.Name();
        if (arrayMember)
            keyTail += QString::number(control.Index());
        keyTail += QLatin1Char('_') + control.Tag();

        if (hasCaption(control)) {
            loadCaption(control, QStringLiteral("Caption_") + keyTail);
            const qint32 helpNumber = control.WhatsThisHelpID();
            if (helpNumber != 0)
                loadHelpText(control, helpNumber);
        }
        if (!platform::upperCase(control.Tag()).contains(NoToolTipMarker))
            loadToolTip(control, QStringLiteral("TTT_") + keyTail);
    }

private:
    // An entry that could not be read is not missing: the file keeps what it holds.
    void loadCaption(Control control, const QString& key) const {
        const QString text = LoadIniString(language_, key, file_, false);
        if (isText(text))
            control.setCaption(text);
        else if (lastReadFailed())
            return;
        else if (language_ != DesignLanguage)
            SaveIni(NoText, language_, key, file_);
        else // the design language fills itself with the designed captions
            SaveIni(control.Caption(), language_, key, file_);
    }

    void loadHelpText(Control control, qint32 helpNumber) const {
        QString& slot = HelpTexts[helpNumber];
        const QString key = QStringLiteral("Help") + QString::number(helpNumber);
        slot = LoadIniString(language_, key, file_, false);
        if (isText(slot)) // what the info box shows, for screen readers
            control.widget()->setAccessibleDescription(withLineBreaks(slot));
        else if (!lastReadFailed())
            SaveIni(NoText, language_, key, file_);
    }

    void loadToolTip(Control control, const QString& key) const {
        const QString text = LoadIniString(language_, key, file_, false);
        if (isText(text))
            control.setToolTipText(text);
        else if (!lastReadFailed())
            SaveIni(NoText, language_, key, file_);
    }

    QString language_;
    QString file_;
};

} // namespace

void LoadToolTipTexts() {
    const QString language = GetLanguage();
    const ControlTexts texts(language, languageFilePath());
    const ControlWalk controls(programWindow());
    const int count = controls.count();
    for (int i = 0; i < count; ++i) {
        const bool arrayMember = controls.isArrayMember(i);
        // A control whose texts cannot be handled keeps what it already has; the others are
        // not held up by it.
        try {
            texts.load(controls.at(i), arrayMember);
        } catch (const Failure&) {
        } catch (const std::exception&) {
        }
    }
}
