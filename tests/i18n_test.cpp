// The language file: the language id, the entries a run adds in window order, the rules by
// which its texts replace the built-in ones, and the help mode's info texts.

#include "i18n/ControlTexts.h"
#include "i18n/InfoText.h"
#include "support/ProgramFixture.h"
#include "window/frm_415_MainPicture_Config_Exe.h"

#include <QCheckBox>
#include <QLabel>

#include <memory>

namespace {

const QString LanguageFile = TempInstallation::LanguageFile;

class I18nTest : public ProgramFixture {
protected:
    static QByteArray golden(const char* name) {
        return TempInstallation::readFile(QStringLiteral(MAINPICTURE_TEST_DATA "/i18n/") +
                                          QString::fromLatin1(name));
    }
    // A fresh window loads its texts; the language file as it leaves it.
    QByteArray loadIntoNewWindow() {
        window = std::make_unique<frm_415_MainPicture_Config_Exe>();
        LoadToolTipTexts(window->dialog().model);
        return installation.read(LanguageFile);
    }

    std::unique_ptr<frm_415_MainPicture_Config_Exe> window;
};

TEST_F(I18nTest, AFirstRunWritesTheLanguageAndAllDesignedTextsInWindowOrder) {
    EXPECT_EQ(loadIntoNewWindow(), golden("first_run_1031.ini"));
    EXPECT_EQ(window->CheckFaden->toolTip(), QString());
    EXPECT_EQ(window->dialog().model.HelpTexts[16], QString());
    // A second run finds every entry and changes no byte; the placeholders now fill HelpTexts.
    EXPECT_EQ(loadIntoNewWindow(), golden("first_run_1031.ini"));
    EXPECT_EQ(window->dialog().model.HelpTexts[16], u"0"_s);
    EXPECT_EQ(window->dialog().model.HelpTexts[11], QString())
        << "a frame's help number is not read";
    // Only an empty language id is replaced, in its place.
    installation.write(LanguageFile, "[Language]\r\nLanguage=\r\n");
    EXPECT_EQ(loadIntoNewWindow(), golden("first_run_1031.ini"));
    // In another language the placeholders are "0", and the German built-in texts are shown.
    installation.write(LanguageFile, "[Language]\r\nLanguage=1033\r\n");
    EXPECT_EQ(loadIntoNewWindow(), golden("first_run_other_language.ini"));
    EXPECT_EQ(window->CheckFaden->text(), u"ohne Faden"_s);
    EXPECT_EQ(window->Header->text(), u"415_MainPicture - Konfiguration Hauptbild 415"_s);
    EXPECT_EQ(window->CommandOK->text(), QString());
    EXPECT_EQ(loadIntoNewWindow(), golden("first_run_other_language.ini"));
}

// What a stored caption does to the check box "ohne Faden" and to its own entry.
TEST_F(I18nTest, ACaptionReplacesTheBuiltInOneOnlyWhenItIsNeitherEmptyNorZero) {
    const char* const cases[][4] = {
        // language, stored caption, caption shown, caption stored afterwards
        {"1033", "without thread", "without thread", "without thread"},
        {"1031", "kein Faden", "kein Faden", "kein Faden"},
        {"1031", "0", "ohne Faden", "ohne Faden"},
        {"1033", "0", "ohne Faden", "0"},
        {"1031", "", "ohne Faden", "ohne Faden"},
        {"1033", "", "ohne Faden", "0"},
        {"1033", "ohne<CRLF>Faden", "ohne<CRLF>Faden", "ohne<CRLF>Faden"}};
    for (const auto& [language, value, shown, storedAfter] : cases) {
        SCOPED_TRACE(std::string(language) + " " + value);
        installation.write(LanguageFile, QByteArray("[Language]\r\nLanguage=") + language +
                                             "\r\n[" + language +
                                             "]\r\nCaption_CheckFaden_=" + value + "\r\n");
        const QByteArray after = loadIntoNewWindow();
        EXPECT_EQ(window->CheckFaden->text(), QString::fromLatin1(shown));
        EXPECT_EQ(ini::findValue(after, language, "Caption_CheckFaden_"), storedAfter);
        EXPECT_EQ(window->CheckOhneBobinen->text(), u"ohne Bobinen"_s);
    }
    // A long caption is shown cut to 254 characters and stays in the file as it was.
    const QByteArray long300 = QByteArray(254, 'y') + QByteArray(46, 'z');
    installation.write(LanguageFile,
                       "[Language]\r\nLanguage=1033\r\n[1033]\r\nCaption_CheckFaden_=" + long300);
    EXPECT_TRUE(loadIntoNewWindow().contains(long300));
    EXPECT_EQ(window->CheckFaden->text(), QString(254, QLatin1Char('y')));
    // Tool tips, help texts and button captions are taken as well and not rewritten.
    const QByteArray file = "[Language]\r\nLanguage=1033\r\n[1033]\r\n"
                            "TTT_CheckEtikette_Paper=labelling unit fitted\r\n"
                            "Help12=Tick when a labelling unit<CRLF>is fitted\r\n"
                            "Caption_CommandOK_=OK\r\nTTT_MainFrame_=options\r\n";
    installation.write(LanguageFile, file);
    EXPECT_TRUE(loadIntoNewWindow().startsWith(file));
    EXPECT_EQ(window->CheckEtikette->toolTip(), u"labelling unit fitted"_s);
    EXPECT_EQ(window->CommandOK->text(), u"OK"_s);
    EXPECT_EQ(window->MainFrame->toolTip(), u"options"_s);
    EXPECT_EQ(window->dialog().model.HelpTexts[12], u"Tick when a labelling unit<CRLF>is fitted"_s);
    EXPECT_EQ(window->CheckEtikette->accessibleDescription(),
              u"Tick when a labelling unit\r\nis fitted"_s);
    EXPECT_EQ(window->CheckFaden->accessibleDescription(), QString()); // "0" is no text
}

// Only in help mode; markers in any letter case, every other character kept as it is; a help
// number outside 1..100 shows an empty box.
TEST_F(I18nTest, TheInfoBoxShowsTheHelpTextWithLineBreaksOnlyInHelpMode) {
    DialogModel dialog;
    const int ok = dialog.control("CommandOK").index(); // help number 1
    dialog.HelpTexts[1] = QString::fromLatin1("a<crlf>x<CRLF<CrLf>Fu\xdf<CR LF>");
    ShowInfoText(dialog, ok);
    dialog.HelpMode = true;
    ShowInfoText(dialog, ok);
    ShowInfoText(dialog, dialog.control("CommandQuest").index()); // help number 0
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].text, QString::fromLatin1("a\r\nx<CRLF\r\nFu\xdf<CR LF>"));
    EXPECT_EQ(platform.boxes[1].text, QString());
}

} // namespace
