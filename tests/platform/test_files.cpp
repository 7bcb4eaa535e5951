#include "TervaloTest.h"

#include "platform/Files.h"
#include "platform/Paths.h"

using namespace platform;

class FilesTest : public testing_support::TervaloTest {};

TEST_F(FilesTest, WindowsPathsMapOntoTheHostFolderOfDriveC)
{
    const QString c = driveC.path();
    EXPECT_EQ(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\config")), c + QStringLiteral("/Quelvan/Dorvane/config"));
    EXPECT_EQ(hostPath(QStringLiteral("c:\\Quelvan\\Dorvane\\LogoAcerca.bmp")),
              c + QStringLiteral("/Quelvan/Dorvane/LogoAcerca.bmp"));
    EXPECT_EQ(hostPath(QStringLiteral("C:\\Borrador.doc")), c + QStringLiteral("/Borrador.doc"));
    EXPECT_EQ(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\Contratos\\")), c + QStringLiteral("/Quelvan/Dorvane/Contratos"));
    EXPECT_EQ(programFolder(), c + QStringLiteral("/Quelvan/Dorvane"));
    EXPECT_EQ(hostPath(QStringLiteral("/tmp/x")), QStringLiteral("/tmp/x"));
}

// A name typed or read from a record never reaches outside its folder.
TEST_F(FilesTest, OnlyAPlainNameNamesAFileOfAFolder)
{
    EXPECT_TRUE(isPlainFileName(QStringLiteral("0012300045CB.doc")));
    EXPECT_TRUE(isPlainFileName(QStringLiteral("..doc")));
    for (const char* nombre : {"", "  ", ".", "..", "../config", "a/b", "a\\b", "C:x", "a*", "a?", "a\"b", "a<b", "a|b",
                               "a\tb", "a\x7f", "a\u0081"})
        EXPECT_FALSE(isPlainFileName(QString::fromUtf8(nombre))) << nombre;
    // A dot in front hides a file from the folder listings.
    EXPECT_FALSE(isVisibleFileName(QStringLiteral(".oculto")));
    EXPECT_TRUE(isVisibleFileName(QStringLiteral("1234.00045")));
}

TEST_F(FilesTest, TextIsSingleByteWindows1252BothWays)
{
    const QString text = QStringLiteral("Ñandú 5€ “ok”");
    const QByteArray bytes = toCp1252(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[7]), 0x80);
    EXPECT_EQ(fromCp1252(bytes), text);

    // Every byte survives a round trip, the unused ones of the code page too.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    EXPECT_EQ(toCp1252(QStringLiteral("漢")), QByteArray("?"));
}

// One byte a character: composed first, and a character the code page
// lacks is one '?'; a field is cut between characters.
TEST_F(FilesTest, FixedFieldsArePaddedAndCutByBytesBetweenCharacters)
{
    EXPECT_EQ(fixedField(QStringLiteral("año"), 5), QByteArray("a\xF1o  "));
    EXPECT_EQ(fixedField(QStringLiteral("192.168.100.200X"), 15), QByteArray("192.168.100.200"));
    EXPECT_EQ(toCp1252(u("ab😀e\u0301q\u0303\r\n")), QByteArray("ab?\xE9?\r\n"));
    EXPECT_EQ(fixedField(u("ab😀x"), 4), QByteArray("ab?x"));
    EXPECT_EQ(fixedField(u("abcde\u0301"), 5), QByteArray("abcd\xE9"));
    EXPECT_EQ(fixedField(u("abca\r\n"), 5), QByteArray("abca "));
}

TEST_F(FilesTest, RecordsReadBlanksPastTheEndAndWriteInPlace)
{
    const QString path = host("C:\\datos");
    EXPECT_EQ(readRecord(path, 1, 4), QByteArray("    "));
    EXPECT_TRUE(QFile::exists(path)) << "reading creates the file, as opening it for records does";

    writeRecord(path, 2, 4, QByteArray("ab"));
    EXPECT_EQ(readWholeFile(path), QByteArray("    ab  "));
    writeRecord(path, 1, 4, QByteArray("123456"));
    EXPECT_EQ(readWholeFile(path), QByteArray("1234ab  "));
    EXPECT_EQ(readRecord(path, 2, 4), QByteArray("ab  "));
    EXPECT_EQ(readRecord(path, 3, 4), QByteArray("    "));
}

TEST_F(FilesTest, ReplacingIntoAMissingFolderIsReported)
{
    EXPECT_THROW(replaceFile(host("C:\\no\\existe\\f"), "x"), FileError);
}

TEST_F(FilesTest, AReplacementThatCannotBeWrittenWholeKeepsTheOldFile)
{
    const QString path = host("C:\\config");
    replaceFile(path, QByteArray(100, 'a'));
    {
        testing_support::FileSizeLimit full(150);
        EXPECT_THROW(replaceFile(path, QByteArray(200, 'b')), FileError);
    }
    EXPECT_EQ(readWholeFile(path), QByteArray(100, 'a'));
}
