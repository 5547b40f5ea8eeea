// Typed INI entries through the program's own read and write operations, and the status
// bits that carry the five options.

#include "store/IniAccess.h"
#include "store/StatusBits.h"
#include "support/ProgramFixture.h"

#include <QLocale>

#include <cerrno>

namespace {

class StoreTest : public ProgramFixture {
protected:
    QString file() const { return installation.path(u"test.ini"_s); }
    QString text(const char* key, bool reportMissing = false) const {
        return LoadIniString(u"S"_s, QString::fromLatin1(key), file(), reportMissing).value;
    }
    qint16 integer(const char* key) const {
        return LoadIniInteger(u"S"_s, QString::fromLatin1(key), file(), false).value;
    }
};

TEST_F(StoreTest, TextIsConvertedAndReportedMissingOnlyWhenAsked) {
    installation.write(u"test.ini"_s, "[S]\r\nempty=\r\nword=Gr\xfc\xdf"
                                      "e\r\n");
    EXPECT_EQ(text("word"), u"Grüße"_s);
    EXPECT_EQ(text("absent"), QString());
    EXPECT_EQ(integer("absent"), -1);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(text("empty", true), QString());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              u"File '"_s + file() + u"' or Section [S] or Entry 'empty' not found"_s);
}

// Sixteen bits; outside them an overflow that, resumed, reads 0. A failed read resumed
// gives empty text or 0.
TEST_F(StoreTest, IntegersAreSixteenBitsAndFailedReadsResumeWithZero) {
    const std::pair<const char*, qint16> cases[] = {
        {"32767", 32767}, {"-32768", -32768}, {"32768", 0}, {"-32769", 0}, {"19abc", 19}};
    for (const auto& [stored, read] : cases) {
        installation.write(u"test.ini"_s, QByteArray("[S]\r\nk=") + stored);
        EXPECT_EQ(integer("k"), read) << stored;
    }
    EXPECT_EQ(platform.boxes.size(), 2u);
    EXPECT_TRUE(errorLogEntries().value(0).endsWith("/ LoadIniInteger (Nr. 6) :Overflow"));
    platform.failNext(u"getPrivateProfileString"_s, EIO);
    EXPECT_EQ(text("k"), QString());
    // Another file: an unreadable file is told once a run.
    platform.failNext(u"getPrivateProfileInt"_s, EIO);
    EXPECT_EQ(LoadIniInteger(u"S"_s, u"k"_s, installation.path(u"other.ini"_s), false).value, 0);
    EXPECT_EQ(platform.boxes.size(), 4u);
}

TEST_F(StoreTest, SaveIniWritesTheFormOfTheValuesKind) {
    QLocale::setDefault(QLocale(QLocale::German)); // a decimal comma must never reach the file
    const std::pair<QVariant, const char*> cases[] = {{QVariant::fromValue<uchar>(255), "k=255"},
                                                      {QVariant(true), "k=true"},
                                                      {QVariant(u" a b "_s), "k= a b "},
                                                      {QVariant(2.5), "k=2.5"},
                                                      {QVariant(0.1f), "k=0.1"},
                                                      {QVariant(), nullptr}}; // wrong kind
    for (const auto& [value, line] : cases) {
        installation.write(u"test.ini"_s, "[S]\r\nk=old\r\n");
        static_cast<void>(SaveIni(value, u"S"_s, u"k"_s, file()));
        EXPECT_EQ(installation.read(u"test.ini"_s),
                  line ? "[S]\r\n" + QByteArray(line) + "\r\n" : QByteArray("[S]\r\n"));
    }
    QLocale::setDefault(QLocale::c());
    ASSERT_EQ(platform.boxes.size(), 1u); // the wrong kind removes the key and is reported
    EXPECT_EQ(platform.boxes[0].text, u"Ini Save:  wrong data type"_s);
    EXPECT_EQ(SaveIni(19, u"S"_s, u"k"_s, installation.path(u"missing/test.ini"_s)).value, 0);
}

TEST_F(ProgramFixture, StatusBitsReadAndWriteOneBit) {
    const qint16 reads[][3] = {{5, 0, 1},      {5, 1, 0},   {-32768, 15, 1},
                               {-32768, 0, 0}, {-1, 15, 1}, {16384, 14, 1}};
    for (const auto& [value, bit, expected] : reads)
        EXPECT_EQ(ReadBit(value, bit), expected) << value << " bit " << bit;
    // Only a bit value of exactly 1 sets the bit.
    const qint16 writes[][4] = {{5, 1, 1, 7},      {7, 1, 0, 5},    {5, 0, 1, 5},
                                {5, 0, 2, 4},      {5, 0, -1, 4},   {0, 14, 1, 16384},
                                {16384, 14, 0, 0}, {-1, 15, 1, -1}, {0, 15, 0, 0}};
    for (const auto& [value, bit, bitValue, expected] : writes)
        EXPECT_EQ(WriteBit(value, bit, bitValue), expected) << value << " bit " << bit;
    EXPECT_TRUE(platform.boxes.empty());
    // Bit 15 set on a positive value leaves the range: an overflow, resumed with the value kept.
    EXPECT_EQ(WriteBit(0, 15, 1), 0);
    EXPECT_EQ(WriteBit(-32768, 15, 0), -32768);
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_TRUE(errorLogEntries().value(0).endsWith("/ WriteBit (Nr. 6) :Overflow"));
}

} // namespace
