// The language file: the language id, the entries a run adds in window order, the rules by
// which its texts replace the built-in ones, and the help mode's info texts.

#include "app/ControlWalk.h"
#include "app/frm_415_MainPicture_Config_Exe.h"
#include "i18n/InfoText.h"
#include "i18n/Language.h"
#include "i18n/ToolTipTexts.h"
#include "platform/Failure.h"
#include "platform/ProfileFile.h"
#include "support/ProgramFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace {

const char* const BuiltInCaptions[][2] = {
    {"CheckFaden", "ohne Faden"},
    {"CheckBobRechtsFadenAnMasch", "Bobinen rechts, Faden an der Maschine"},
    {"CheckOhneBobinen", "ohne Bobinen"},
    {"CheckBobbineLinks", "Bobinen links"},
    {"CheckEtikette", "mit Etikettenapparat"},
    {"Header", "415_MainPicture - Konfiguration Hauptbild 415"},
};

class I18nTest : public ProgramFixture {
protected:
    I18nTest() { resetTexts(); }
    ~I18nTest() override { resetTexts(); }
    static void resetTexts() {
        resetInfoTextState();
        HelpTexts.clear();
    }

    QString languageFile() const {
        return installation.programFolder() + QStringLiteral("/415_MainPicture_Config.ini");
    }
    void writeLanguageFile(const QByteArray& bytes) const {
        TempInstallation::writeFile(languageFile(), bytes);
    }
    QByteArray languageFileBytes() const { return TempInstallation::readFile(languageFile()); }
    static QByteArray golden(const char* name) {
        return TempInstallation::readFile(QStringLiteral(MAINPICTURE_TEST_DATA "/i18n/") +
                                          QString::fromLatin1(name));
    }
    // The stored value of an entry, nullopt when it is missing.
    std::optional<QByteArray> stored(const char* section, const char* key) const {
        return platform::profile::findValue(languageFileBytes(), section, key);
    }
    QString caption(const char* name) const {
        return Control(window->findChild<QWidget*>(QString::fromLatin1(name))).Caption();
    }
    void expectBuiltInCaptions() const {
        for (const auto& [name, text] : BuiltInCaptions)
            EXPECT_EQ(caption(name), QString::fromLatin1(text)) << name;
        for (const char* name : {"CommandQuest", "CommandOK", "CommandCancel"})
            EXPECT_EQ(caption(name), QString()) << name;
    }

    std::unique_ptr<frm_415_MainPicture_Config_Exe> window =
        std::make_unique<frm_415_MainPicture_Config_Exe>();
};

TEST_F(I18nTest, AFirstRunInGermanWritesTheLanguageAndAllDesignedTextsInWindowOrder) {
    LoadToolTipTexts();
    EXPECT_EQ(languageFileBytes(), golden("first_run_1031.ini"));
    expectBuiltInCaptions();
    EXPECT_EQ(window->CheckFaden->toolTip(), QString());
    EXPECT_EQ(HelpTexts[16], QString());

    // A second run finds every entry and changes no byte; the placeholders now fill HelpTexts.
    window = std::make_unique<frm_415_MainPicture_Config_Exe>();
    LoadToolTipTexts();
    EXPECT_EQ(languageFileBytes(), golden("first_run_1031.ini"));
    expectBuiltInCaptions();
    EXPECT_EQ(HelpTexts[16], QStringLiteral("0"));
    EXPECT_EQ(HelpTexts[11], QString()) << "a frame's help number is not read";
}

TEST_F(I18nTest, AFirstRunInAnotherLanguageWritesOnlyPlaceholders) {
    writeLanguageFile("[Language]\r\nLanguage=1033\r\n");
    LoadToolTipTexts();
    EXPECT_EQ(languageFileBytes(), golden("first_run_other_language.ini"));
    expectBuiltInCaptions();
    LoadToolTipTexts();
    EXPECT_EQ(languageFileBytes(), golden("first_run_other_language.ini"));
}

TEST_F(I18nTest, TheLanguageIdIsTakenAsItStandsAndOnlyAnEmptyOneIsReplaced) {
    const struct {
        const char* file; // nullptr: no language file
        const char* language;
        const char* fileAfter;
    } cases[] = {
        {nullptr, "1031", "[Language]\r\nLanguage=1031\r\n"},
        {"[Language]\r\nLanguage=\r\n", "1031", "[Language]\r\nLanguage=1031\r\n"},
        {"[language]\nLANGUAGE = 0\n", "0", "[language]\nLANGUAGE = 0\n"},
        {"[Language]\r\nLanguage=1033\r\n", "1033", "[Language]\r\nLanguage=1033\r\n"},
        {"; note\r\n[Other]\r\nx=1\r\n", "1031",
         "; note\r\n[Other]\r\nx=1\r\n[Language]\r\nLanguage=1031\r\n"},
    };
    for (const auto& c : cases) {
        QFile::remove(languageFile());
        if (c.file != nullptr)
            writeLanguageFile(c.file);
        EXPECT_EQ(GetLanguage(), QString::fromLatin1(c.language)) << c.language;
        EXPECT_EQ(languageFileBytes(), QByteArray(c.fileAfter));
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(I18nTest, AFailedReadOfTheLanguageIdResumesAsIfItWereMissing) {
    writeLanguageFile("[Language]\r\nLanguage=1033\r\n");
    platform.failNext(QStringLiteral("programFolder"), PathNotFound);
    EXPECT_EQ(GetLanguage(), QStringLiteral("1031"));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(errorLogEntries().join().contains("GetLanguage"));
    EXPECT_EQ(languageFileBytes(), QByteArray("[Language]\r\nLanguage=1031\r\n"));
}

// What a stored caption does to the check box "ohne Faden" and to its own entry.
TEST_F(I18nTest, ACaptionReplacesTheBuiltInOneOnlyWhenItIsNeitherEmptyNorZero) {
    const QByteArray long254(254, 'x');
    const QByteArray long300 = QByteArray(254, 'y') + QByteArray(46, 'z');
    const struct {
        const char* language;
        QByteArray value;
        QString shown;
        QByteArray storedAfter;
    } cases[] = {
        {"1033", "without thread", QStringLiteral("without thread"), "without thread"},
        {"1031", "kein Faden", QStringLiteral("kein Faden"), "kein Faden"},
        {"1031", "0", QStringLiteral("ohne Faden"), "ohne Faden"},
        {"1033", "0", QStringLiteral("ohne Faden"), "0"},
        {"1031", "", QStringLiteral("ohne Faden"), "ohne Faden"},
        {"1033", "", QStringLiteral("ohne Faden"), "0"},
        {"1033", long254, QString::fromLatin1(long254), long254},
        {"1033", long300, QString(254, QLatin1Char('y')), long300},
        {"1033", "ohne<CRLF>Faden", QStringLiteral("ohne<CRLF>Faden"), "ohne<CRLF>Faden"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language + (" " + c.value.left(20)).toStdString());
        window = std::make_unique<frm_415_MainPicture_Config_Exe>();
        writeLanguageFile(QByteArray("[Language]\r\nLanguage=") + c.language + "\r\n[" +
                          c.language + "]\r\nCaption_CheckFaden_=" + c.value + "\r\n");
        LoadToolTipTexts();
        EXPECT_EQ(window->CheckFaden->text(), c.shown);
        EXPECT_EQ(stored(c.language, "Caption_CheckFaden_"), c.storedAfter);
        EXPECT_EQ(caption("CheckOhneBobinen"), QStringLiteral("ohne Bobinen"));
    }
}

TEST_F(I18nTest, TranslatedToolTipsHelpTextsAndButtonCaptionsAreTakenAndKept) {
    const QByteArray file = "[Language]\r\nLanguage=1033\r\n[1033]\r\n"
                            "Caption_CheckEtikette_Paper=with labeller\r\n"
                            "TTT_CheckEtikette_Paper=labelling unit fitted\r\n"
                            "Help12=Tick when a labelling unit<CRLF>is fitted\r\n"
                            "Caption_CommandOK_=OK\r\n"
                            "TTT_MainFrame_=options\r\n";
    writeLanguageFile(file);
    LoadToolTipTexts();
    EXPECT_EQ(window->CheckEtikette->text(), QStringLiteral("with labeller"));
    EXPECT_EQ(window->CheckEtikette->toolTip(), QStringLiteral("labelling unit fitted"));
    EXPECT_EQ(window->CommandOK->text(), QStringLiteral("OK"));
    EXPECT_EQ(window->MainFrame->toolTip(), QStringLiteral("options"));
    EXPECT_EQ(HelpTexts[12], QStringLiteral("Tick when a labelling unit<CRLF>is fitted"));
    EXPECT_TRUE(languageFileBytes().startsWith(file)) << "translated entries are not rewritten";
    EXPECT_EQ(stored("1033", "TTT_CommandOK_"), QByteArray("0"));
}

// A window of unusual controls: a control array, a control that only looks like one, a help
// number out of range, the tool-tip marker in mixed case, a frame with a help number and a
// control of no known kind.
TEST_F(I18nTest, ArrayMembersTheMarkerAndABadHelpNumberShapeTheEntries) {
    window.reset();
    QWidget unusual;
    const auto add = [&](QWidget* widget, const char* name, const char* tag, int help,
                         int index = -1) {
        widget->setObjectName(QString::fromLatin1(name));
        widget->setProperty(control_property::Tag, QString::fromLatin1(tag));
        widget->setProperty(control_property::WhatsThisHelpID, help);
        if (index >= 0)
            widget->setProperty(control_property::Index, index);
    };
    add(new QCheckBox(QStringLiteral("three"), &unusual), "Opt", "", 20, 3);
    add(new QCheckBox(QStringLiteral("four"), &unusual), "Opt", "", 21, 4);
    add(new QLabel(QStringLiteral("single"), &unusual), "Single", "", 0, 7);
    auto* big = new QCheckBox(QStringLiteral("big"), &unusual);
    add(big, "Big", "", 101);
    add(new QLabel(QStringLiteral("quiet"), &unusual), "Quiet", "xNoTtTy", 0);
    add(new QFrame(&unusual), "Box", "", 5);
    add(new QWidget(&unusual), "Plain", "", 0);
    add(new QPushButton(QStringLiteral("last"), &unusual), "Last", "", 0);
    registerProgramWindow(&unusual);
    writeLanguageFile("[Language]\r\nLanguage=1033\r\n[1033]\r\nCaption_Big_=large\r\n"
                      "TTT_Big_=never read\r\n");

    LoadToolTipTexts();
    EXPECT_EQ(languageFileBytes(), QByteArray("[Language]\r\nLanguage=1033\r\n[1033]\r\n"
                                              "Caption_Big_=large\r\n"
                                              "TTT_Big_=never read\r\n"
                                              "Caption_Opt3_=0\r\nHelp20=0\r\nTTT_Opt3_=0\r\n"
                                              "Caption_Opt4_=0\r\nHelp21=0\r\nTTT_Opt4_=0\r\n"
                                              "Caption_Single_=0\r\nTTT_Single_=0\r\n"
                                              "Caption_Quiet_xNoTtTy=0\r\n"
                                              "TTT_Box_=0\r\n"
                                              "TTT_Plain_=0\r\n"
                                              "Caption_Last_=0\r\nTTT_Last_=0\r\n"));
    EXPECT_EQ(big->text(), QStringLiteral("large"));
    EXPECT_EQ(big->toolTip(), QString());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_THROW(HelpTexts[101], Failure);
    EXPECT_THROW(HelpTexts[0], Failure);
}

TEST_F(I18nTest, ABadLanguageFileStillLeavesTheBuiltInGermanTexts) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919) % 256));
    QByteArray huge;
    for (int i = 0; i < 20000; ++i)
        huge += "[S" + QByteArray::number(i) + "]\r\nCaption_CheckFaden_=x\r\n";
    huge += QByteArray(100000, 'q') + "\r\n";
    const struct {
        const char* description;
        QByteArray bytes;
        bool readOnly;
    } cases[] = {
        {"garbage", garbage, false},
        {"read-only garbage", garbage, true},
        {"read-only, other language", "[Language]\r\nLanguage=1033\r\n", true},
        {"huge, without our sections", huge, false},
        {"no line ends, no ]", QByteArray("[Language\0Language=1033[1031", 28), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        window = std::make_unique<frm_415_MainPicture_Config_Exe>();
        QFile::remove(languageFile());
        writeLanguageFile(c.bytes);
        if (c.readOnly)
            QFile::setPermissions(languageFile(), QFile::ReadOwner | QFile::ReadGroup);
        LoadToolTipTexts();
        expectBuiltInCaptions();
        if (c.readOnly) {
            EXPECT_EQ(languageFileBytes(), c.bytes);
        }
        QFile::setPermissions(languageFile(), QFile::ReadOwner | QFile::WriteOwner);
    }
    // A folder in the file's place, and a program folder that is gone.
    window = std::make_unique<frm_415_MainPicture_Config_Exe>();
    QFile::remove(languageFile());
    QDir().mkpath(languageFile());
    LoadToolTipTexts();
    expectBuiltInCaptions();
    platform.folder = installation.path(QStringLiteral("missing/folder"));
    LoadToolTipTexts();
    expectBuiltInCaptions();
    EXPECT_FALSE(QFile::exists(platform.folder));
}

TEST(InfoTextTest, TheLineBreakMarkerIsFoundInAnyCaseAndTheTextKeepsItsLetters) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"eins<crlf>zwei<CrLf>", "eins\r\nzwei\r\n"},
        {"a<CRLF>b", "a\r\nb"},
        {"<CRLF><CRLF>", "\r\n\r\n"},
        {"x<CRLF<CRLF>", "x<CRLF\r\n"},
        {"Ma\xdf<CRLF>Fu\xdf und Stra\xdf"
         "e<crlf>",
         "Ma\xdf\r\nFu\xdf und Stra\xdf"
         "e\r\n"},
        {"<CR LF>", "<CR LF>"},
        {"0", "0"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withLineBreaks(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown))
            << c.text;
}

TEST_F(I18nTest, TheInfoBoxShowsTheControlsHelpTextOnlyInHelpMode) {
    const struct {
        int helpNumber;
        const char* helpText; // stored in slot helpNumber when in range
        const char* shown;
    } cases[] = {
        {1, "OK<CRLF>speichert", "OK\r\nspeichert"},
        {2, "0", "0"},
        {13, "", ""},
        {101, nullptr, ""},
        {0, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helpNumber);
        QLabel control;
        control.setProperty(control_property::WhatsThisHelpID, c.helpNumber);
        if (c.helpText != nullptr)
            HelpTexts[c.helpNumber] = QString::fromLatin1(c.helpText);
        platform.boxes.clear();
        HelpMode = false;
        ShowInfoText(&control);
        EXPECT_TRUE(platform.boxes.empty());
        HelpMode = true;
        ShowInfoText(&control);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, QString::fromLatin1(c.shown));
        EXPECT_EQ(platform.boxes[0].title, QStringLiteral("Info:"));
        EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Information);
        EXPECT_EQ(platform.boxes[0].buttons, platform::Buttons::Ok);
    }
}

} // namespace
