// Typed INI entries through the program's own read and write operations, and the status
// bits that carry the five options.

#include "env/StartMode.h"
#include "store/IniAccess.h"
#include "store/StatusBits.h"
#include "support/ProgramFixture.h"

#include <QDate>
#include <QLocale>

namespace {

class StoreTest : public ProgramFixture {
protected:
    QString file() const { return installation.path(QStringLiteral("test.ini")); }
    void writeIni(const QByteArray& bytes) const {
        installation.write(QStringLiteral("test.ini"), bytes);
    }
    QString missingText(const QString& section, const QString& key) const {
        return QStringLiteral("File '") + file() + QStringLiteral("' or Section [") + section +
               QStringLiteral("] or Entry '") + key + QStringLiteral("' not found");
    }
};

TEST_F(StoreTest, MissingEntriesReadEmptyOrMinusOneAndAreReportedOnlyWhenAsked) {
    writeIni("[S]\r\nk=1\r\nempty=\r\n");
    const struct {
        const char* section;
        const char* key;
    } missing[] = {{"S", "absent"}, {"Absent", "k"}, {"S", "empty"}};
    for (const auto& m : missing) {
        const QString section = QString::fromLatin1(m.section);
        const QString key = QString::fromLatin1(m.key);
        EXPECT_EQ(LoadIniString(section, key, file(), false), QString());
        EXPECT_TRUE(platform.boxes.empty());
        EXPECT_EQ(LoadIniString(section, key, file(), true), QString());
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, missingText(section, key));
        platform.boxes.clear();
    }
    EXPECT_EQ(LoadIniString(QStringLiteral("S"), QStringLiteral("k"),
                            installation.path(QStringLiteral("none.ini")), false),
              QString());
    EXPECT_EQ(LoadIniInteger(QStringLiteral("S"), QStringLiteral("absent"), file(), false), -1);
}

TEST_F(StoreTest, AStoredMinusOneIsReportedAsMissing) {
    writeIni("[S]\r\nk=-1\r\n");
    EXPECT_EQ(LoadIniInteger(QStringLiteral("S"), QStringLiteral("k"), file(), true), -1);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, missingText(QStringLiteral("S"), QStringLiteral("k")));
}

TEST_F(StoreTest, TextIsCutTo254CharactersAndConvertedFromTheCodePage) {
    writeIni("[S]\r\nlong=" + QByteArray(300, 'x') +
             "\r\nword=Gr\xfc\xdf"
             "e\r\n");
    EXPECT_EQ(LoadIniString(QStringLiteral("S"), QStringLiteral("long"), file(), false),
              QString(254, QLatin1Char('x')));
    EXPECT_EQ(LoadIniString(QStringLiteral("S"), QStringLiteral("word"), file(), false),
              QStringLiteral("Grüße"));
}

struct IntegerCase {
    const char* stored;
    qint16 read;
    bool overflow;
};

class IntegerReadTest : public StoreTest, public testing::WithParamInterface<IntegerCase> {};

TEST_P(IntegerReadTest, ReadsSixteenBitsOrFailsWithOverflow) {
    writeIni(QByteArray("[S]\r\nk=") + GetParam().stored + "\r\n");
    EXPECT_EQ(LoadIniInteger(QStringLiteral("S"), QStringLiteral("k"), file(), false),
              GetParam().read);
    ASSERT_EQ(platform.boxes.size(), GetParam().overflow ? 1u : 0u);
    if (GetParam().overflow) {
        EXPECT_TRUE(errorLogEntries().value(0).endsWith("/ LoadIniInteger (Nr. 6) :Overflow"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Integers, IntegerReadTest,
    testing::Values(IntegerCase{"19", 19, false}, IntegerCase{"19abc", 19, false},
                    IntegerCase{"abc", 0, false}, IntegerCase{"32767", 32767, false},
                    IntegerCase{"-32768", -32768, false}, IntegerCase{"32768", 0, true},
                    IntegerCase{"-32769", 0, true}, IntegerCase{"4294967297", 1, false}));

struct SaveCase {
    const char* name;
    QVariant value;
    const char* line; // nullptr: the key is not in the file afterwards
};

class SaveIniTest : public StoreTest, public testing::WithParamInterface<SaveCase> {};

TEST_P(SaveIniTest, WritesTheFormOfTheValuesKind) {
    // A comma as decimal point must never reach the file.
    QLocale::setDefault(QLocale(QLocale::German));
    writeIni("[S]\r\nk=old\r\n");
    SaveIni(GetParam().value, QStringLiteral("S"), QStringLiteral("k"), file());
    QLocale::setDefault(QLocale::c());
    const QByteArray expected =
        GetParam().line ? "[S]\r\n" + QByteArray(GetParam().line) + "\r\n" : QByteArray("[S]\r\n");
    EXPECT_EQ(installation.read(QStringLiteral("test.ini")), expected);
    EXPECT_EQ(platform.boxes.size(), GetParam().line ? 0u : 1u);
    if (!GetParam().line) {
        EXPECT_EQ(platform.boxes[0].text, QStringLiteral("Ini Save:  wrong data type"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SaveIniTest,
    testing::Values(SaveCase{"Int", QVariant(19), "k=19"},
                    SaveCase{"Short", QVariant::fromValue<qint16>(-3), "k=-3"},
                    SaveCase{"Byte", QVariant::fromValue<uchar>(255), "k=255"},
                    SaveCase{"True", QVariant(true), "k=true"},
                    SaveCase{"False", QVariant(false), "k=false"},
                    SaveCase{"Text", QVariant(QStringLiteral(" a b ")), "k= a b "},
                    SaveCase{"EmptyText", QVariant(QString()), "k="},
                    SaveCase{"Double", QVariant(2.5), "k=2.5"},
                    SaveCase{"Float", QVariant(0.1f), "k=0.1"},
                    SaveCase{"Null", QVariant(), nullptr},
                    SaveCase{"Date", QVariant(QDate(2026, 1, 1)), nullptr},
                    SaveCase{"List", QVariant(QStringList{QStringLiteral("a")}), nullptr}),
    [](const testing::TestParamInfo<SaveCase>& info) { return info.param.name; });

TEST_F(StoreTest, SaveIniCreatesAMissingFileAndReportsARefusedWriteAsZero) {
    EXPECT_NE(SaveIni(19, QStringLiteral("Machine1"), QStringLiteral("MainPictureStatus"), file()),
              0);
    EXPECT_EQ(installation.read(QStringLiteral("test.ini")),
              "[Machine1]\r\nMainPictureStatus=19\r\n");
    EXPECT_EQ(SaveIni(19, QStringLiteral("S"), QStringLiteral("k"),
                      installation.path(QStringLiteral("missing/test.ini"))),
              0);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(StoreTest, SilentRunLogsTheWrongKindInsteadOfShowingIt) {
    StartModeSilent = true;
    SaveIni(QVariant(), QStringLiteral("S"), QStringLiteral("k"), file());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(serviceLogBytes(), "! Fault 415_MainPicture_Config: Ini Save:  wrong data type\r\n");
}

TEST_F(StoreTest, AReadThatFailsAndIsResumedGivesEmptyTextOrZero) {
    writeIni("[S]\r\nk=7\r\n");
    platform.failNext(QStringLiteral("getPrivateProfileString"), 75);
    EXPECT_EQ(LoadIniString(QStringLiteral("S"), QStringLiteral("k"), file(), false), QString());
    platform.failNext(QStringLiteral("getPrivateProfileInt"), 75);
    EXPECT_EQ(LoadIniInteger(QStringLiteral("S"), QStringLiteral("k"), file(), false), 0);
    EXPECT_EQ(platform.boxes.size(), 2u);
}

struct BitCase {
    qint16 value;
    qint16 bit;
    qint16 bitValue; // for WriteBit
    qint16 expected; // ReadBit result, or WriteBit result
};

class ReadBitTest : public ProgramFixture, public testing::WithParamInterface<BitCase> {};
TEST_P(ReadBitTest, ReadsOneBit) {
    EXPECT_EQ(ReadBit(GetParam().value, GetParam().bit), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Bits, ReadBitTest,
                         testing::Values(BitCase{5, 0, 0, 1}, BitCase{5, 1, 0, 0},
                                         BitCase{5, 2, 0, 1}, BitCase{-32768, 15, 0, 1},
                                         BitCase{-32768, 0, 0, 0}, BitCase{-1, 15, 0, 1},
                                         BitCase{16384, 14, 0, 1}));

class WriteBitTest : public ProgramFixture, public testing::WithParamInterface<BitCase> {};
TEST_P(WriteBitTest, ChangesOnlyThatBit) {
    EXPECT_EQ(WriteBit(GetParam().value, GetParam().bit, GetParam().bitValue), GetParam().expected);
    EXPECT_TRUE(platform.boxes.empty());
}
INSTANTIATE_TEST_SUITE_P(Bits, WriteBitTest,
                         testing::Values(BitCase{5, 1, 1, 7}, BitCase{7, 1, 0, 5},
                                         BitCase{5, 0, 1, 5}, BitCase{5, 1, 0, 5},
                                         BitCase{5, 0, 2, 4}, BitCase{5, 0, -1, 4},
                                         BitCase{0, 14, 1, 16384}, BitCase{16384, 14, 0, 0},
                                         BitCase{-1, 15, 1, -1}, BitCase{0, 15, 0, 0}));

TEST_F(ProgramFixture, WritingBit15LeavesTheRangeAndResumesUnchanged) {
    EXPECT_EQ(WriteBit(0, 15, 1), 0);
    EXPECT_EQ(WriteBit(-32768, 15, 0), -32768);
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_TRUE(errorLogEntries().value(0).endsWith("/ WriteBit (Nr. 6) :Overflow"));
}

} // namespace
