#include "i18n/ControlTexts.h"

#include "core/Failure.h"
#include "core/Text.h"
#include "i18n/InfoText.h"
#include "i18n/Language.h"
#include "model/DialogModel.h"
#include "store/IniAccess.h"

#include <exception>

namespace {

const QString NoText = QStringLiteral("0");
const QString NoToolTipMarker = QStringLiteral("NOTTT");

// "" and "0" both mean the language has no text for an entry.
bool isText(const QString& value) {
    return !value.isEmpty() && value != NoText;
}

bool hasCaption(const Control& control) {
    const QString kind = core::upperCase(control.kindName());
    return kind == QLatin1String("LABEL") || kind == QLatin1String("COMMANDBUTTON") ||
           kind == QLatin1String("CHECKBOX");
}

class ControlTexts {
public:
    ControlTexts(DialogModel& dialog, const QString& language, const QString& file)
        : dialog_(dialog), language_(language), file_(file) {}

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
        if (!core::upperCase(control.Tag()).contains(NoToolTipMarker))
            loadToolTip(control, QStringLiteral("TTT_") + keyTail);
    }

private:
    // An entry that could not be read is not missing: the file keeps what it holds.
    void loadCaption(Control control, const QString& key) const {
        const Read<QString> text = LoadIniString(language_, key, file_, false);
        if (isText(text.value))
            control.setCaption(text.value);
        else if (text.unread)
            return;
        else if (language_ != DesignLanguage)
            static_cast<void>(SaveIni(NoText, language_, key, file_));
        else // the design language fills itself with the designed captions
            static_cast<void>(SaveIni(control.Caption(), language_, key, file_));
    }

    void loadHelpText(Control control, qint32 helpNumber) const {
        QString& slot = dialog_.HelpTexts[helpNumber];
        const QString key = QStringLiteral("Help") + QString::number(helpNumber);
        const Read<QString> text = LoadIniString(language_, key, file_, false);
        slot = text.value;
        if (isText(slot)) // what the info box shows, for screen readers
            control.setDescription(withLineBreaks(slot));
        else if (!text.unread)
            static_cast<void>(SaveIni(NoText, language_, key, file_));
    }

    void loadToolTip(Control control, const QString& key) const {
        const Read<QString> text = LoadIniString(language_, key, file_, false);
        if (isText(text.value))
            control.setToolTipText(text.value);
        else if (!text.unread)
            static_cast<void>(SaveIni(NoText, language_, key, file_));
    }

    DialogModel& dialog_;
    QString language_;
    QString file_;
};

} // namespace

void LoadToolTipTexts(DialogModel& dialog) {
    // The entries a run adds are wishes: a write that fails is not told (their results are
    // dropped), and nothing depends on them.
    const QString language = GetLanguage().value;
    const ControlTexts texts(dialog, language, languageFilePath());
    const int count = dialog.count();
    for (int i = 0; i < count; ++i) {
        const bool arrayMember = dialog.isArrayMember(i);
        // A control whose texts cannot be handled keeps what it already has; the others are
        // not held up by it.
        try {
            texts.load(dialog.control(i), arrayMember);
        } catch (const Failure&) {
        } catch (const std::exception&) {
        }
    }
}
