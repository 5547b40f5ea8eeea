// The language file that the demo installation and the package carry: every entry of the
// dialog in German and in English, each a text a run takes as it is, so the file never
// changes under the program.

#include "core/Cp1252.h"
#include "i18n/ControlTexts.h"
#include "ini/IniEngine.h"
#include "model/DialogModel.h"
#include "support/ProgramFixture.h"

namespace {

const QString LanguageFile = TempInstallation::LanguageFile;
const QByteArray Template = TempInstallation::readFile(
    QStringLiteral(MAINPICTURE_SOURCE_DIR "/demo/415_MainPicture/415_MainPicture_Config.ini"));
// The controls that have a help text: OK, Cancel and the five check boxes.
const int HelpNumbers[] = {1, 2, 12, 13, 14, 15, 16};

// The value stored in the template, as the program's code page reads it, uncut.
QString storedValue(const QByteArray& language, const QByteArray& key) {
    return core::fromCp1252(ini::findValue(Template, language, key).value_or("<missing>"));
}

using LanguageTemplateTest = ProgramFixture;

// Every entry the dialog asks for is there in either language, or the run would add it and
// change the file.
TEST_F(LanguageTemplateTest, EitherLanguageShowsRealTextsAndLeavesTheFileAsItWas) {
    DialogModel designed;
    QString germanHelp[std::size(HelpNumbers)];
    for (const char* language : {"1031", "1033"}) {
        SCOPED_TRACE(language);
        // A fresh window loads its texts from the template with this language chosen.
        nextRun();
        const QByteArray fileBefore = QByteArray(Template).replace(
            "\r\nLanguage=1031\r\n", "\r\nLanguage=" + QByteArray(language) + "\r\n");
        installation.write(LanguageFile, fileBefore);
        DialogModel dialog;
        LoadToolTipTexts(dialog);
        EXPECT_EQ(installation.read(LanguageFile), fileBefore) << "the program rewrote entries";
        for (int i = 0; i < dialog.count(); ++i) {
            const Control control = dialog.control(i);
            SCOPED_TRACE(control.Name().toStdString());
            const QString key = control.Name() + QLatin1Char('_') + control.Tag();
            // Every control explains itself, with the whole text as it stands in the file.
            EXPECT_EQ(control.ToolTipText(), storedValue(language, ("TTT_" + key).toLatin1()));
            EXPECT_GE(control.ToolTipText().size(), 10);
            const QString kind = control.kindName();
            if (kind == u"Frame"_s)
                continue;
            // Pictures stay alone on the buttons; German is the design, English its
            // translation.
            const QString designedCaption = designed.control(i).Caption();
            if (kind == u"CommandButton"_s)
                EXPECT_EQ(control.Caption(), QString());
            else if (QByteArray(language) == "1031")
                EXPECT_EQ(control.Caption(), designedCaption);
            else
                EXPECT_NE(control.Caption(), designedCaption);
        }
        for (size_t n = 0; n < std::size(HelpNumbers); ++n) {
            const int number = HelpNumbers[n];
            const QString help = dialog.HelpTexts[number];
            SCOPED_TRACE(number);
            EXPECT_EQ(help, storedValue(language, "Help" + QByteArray::number(number)))
                << "cut at 254 characters";
            EXPECT_GE(help.size(), 60);
            // Saved as UTF-8 instead of the program's code page, umlauts would show as "Ã¼".
            EXPECT_FALSE(help.contains(QChar(0xC3)) || help.contains(QChar(0xFFFD)));
            EXPECT_NE(help, germanHelp[n]) << "the same text in both languages";
            if (QByteArray(language) == "1031")
                germanHelp[n] = help;
        }
    }
    EXPECT_TRUE(germanHelp[0].contains(u"grüne"_s)) << "umlauts read in the program's code page";
}

} // namespace
