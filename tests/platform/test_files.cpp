#include "TervaloTest.h"

#include "platform/Database.h"
#include "platform/Document.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/WorkingCopies.h"

#include <QDir>
#include <QScopeGuard>

#include <functional>

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

// Messages name a file by its Windows path, whatever folder stands for its drive.
TEST_F(FilesTest, HostPathsAreNamedBackByTheirWindowsPaths)
{
    for (const char* windows :
         {"C:\\Quelvan\\Dorvane\\RegSubcontratas.rtf", "C:\\Borrador.doc", "C:\\", "D:\\Plantillas\\Ordinario.rtf"})
        EXPECT_EQ(windowsPath(hostPath(QString::fromLatin1(windows))), QString::fromLatin1(windows));
    EXPECT_EQ(windowsPath(driveC.filePath(QStringLiteral("Temp/Contrato1.tmp"))),
              QStringLiteral("C:\\Temp\\Contrato1.tmp"));
    EXPECT_EQ(windowsPath(driveC.path() + QStringLiteral("/Quelvan/../Borrador.doc")),
              QStringLiteral("C:\\Borrador.doc"));
    // A folder whose name only begins as drive C:'s does is no part of it.
    EXPECT_EQ(windowsPath(driveC.path() + QStringLiteral("x/a.doc")), driveC.path() + QStringLiteral("x/a.doc"));
    // A path given relative to the current folder, as on a command line.
    for (const char* given : {"out/Ordinario.docx", "../Plantillas/Ordinario.rtf"})
        EXPECT_EQ(windowsPath(QString::fromLatin1(given)), QString::fromLatin1(given));
}

// What the user is told of a file names it as the program knows it, not by
// the host folder that stands for its drive.
TEST_F(FilesTest, MessagesNameTheirFilesByTheirWindowsPaths)
{
    writeFile("C:\\Quelvan\\Dorvane\\Ordinario.rtf", "no es un documento");
    writeFile("C:\\Quelvan\\Dorvane\\PMod.rtf", "{\\rtf1 Contrato.}");
    writeFile("C:\\Quelvan\\Dorvane\\Contratos", "un fichero donde se espera una carpeta");
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\0001200001"));
    const struct {
        const char* descripcion;
        std::function<void()> accion;
        const char* mensaje;
    } casos[] = {
        {"missing document", [] { Document::open(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\PObra.rtf"))); },
         "No se encuentra el documento C:\\Quelvan\\Dorvane\\PObra.rtf."},
        {"damaged document", [] { Document::open(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\Ordinario.rtf"))); },
         "No se puede abrir el documento C:\\Quelvan\\Dorvane\\Ordinario.rtf: está dañado o no es un documento de "
         "texto que el programa sepa leer."},
        {"document saved where it cannot be",
         [] {
             Document::open(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\PMod.rtf")))
                 .saveAs(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc")));
         },
         "No se puede guardar el documento C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc."},
        {"file unreadable",
         [] { readWholeFile(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\ContratosTemp\\0001200001"))); },
         "No se puede leer el fichero C:\\Quelvan\\Dorvane\\ContratosTemp\\0001200001."},
        {"file unwritable",
         [] { replaceFile(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\Contratos\\config")), "x"); },
         "No se puede escribir el fichero C:\\Quelvan\\Dorvane\\Contratos\\config."},
        {"no working copy",
         [this] {
             // The temporary folder under a plain file.
             writeFile("C:\\Temp\\archivo", "x");
             const QByteArray temporal = qgetenv("TMPDIR");
             qputenv("TMPDIR", host("C:\\Temp\\archivo").toUtf8());
             const auto devolver = qScopeGuard([&] { qputenv("TMPDIR", temporal); });
             createWorkingCopy(QStringLiteral("Contrato"), QStringLiteral(".tmp"));
         },
         "No se puede crear un fichero temporal en C:\\Temp\\archivo."},
        {"missing database", [] { Database::open(hostPath(QStringLiteral("C:\\Quelvan\\Dorvane\\Tervalo.mdb"))); },
         "No se encuentra la base de datos C:\\Quelvan\\Dorvane\\Tervalo.mdb."},
    };
    for (const auto& caso : casos) {
        try {
            caso.accion();
            ADD_FAILURE() << caso.descripcion << ": no error";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QString::fromUtf8(caso.mensaje)) << caso.descripcion;
        }
    }
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
