#include "DocumentFiles.h"

#include "platform/Document.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace {

QByteArray rtfText(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            out += '\\';
        if (c.unicode() < 0x80)
            out += static_cast<char>(c.unicode());
        else
            out += "\\'" + platform::toCp1252(QString(c)).toHex();
    }
    return out;
}

QByteArray rtfParagraph(const Paragraph& paragraph, bool inTable = false)
{
    QByteArray out = inTable ? "\\pard\\intbl\\plain\\f0\\fs22 " : "\\pard\\plain\\f0\\fs22 ";
    for (const Piece& p : paragraph) {
        switch (p.kind) {
        case Piece::Text:
            out += rtfText(p.value);
            break;
        case Piece::Bold:
            out += "{\\b " + rtfText(p.value) + "}";
            break;
        case Piece::Start:
            out += "{\\*\\bkmkstart " + rtfText(p.value) + "}";
            break;
        case Piece::End:
            out += "{\\*\\bkmkend " + rtfText(p.value) + "}";
            break;
        }
    }
    return out;
}

QByteArray xmlText(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray docxParagraph(const Paragraph& paragraph, std::map<QString, int>& ids)
{
    QByteArray out = "<w:p><w:pPr><w:spacing w:after=\"120\"/><w:rPr><w:sz w:val=\"22\"/></w:rPr></w:pPr>";
    for (const Piece& p : paragraph) {
        switch (p.kind) {
        case Piece::Text:
            out += "<w:r><w:rPr><w:sz w:val=\"22\"/></w:rPr><w:t xml:space=\"preserve\">" + xmlText(p.value)
                   + "</w:t></w:r>";
            break;
        case Piece::Bold:
            out += "<w:r><w:rPr><w:b/><w:sz w:val=\"22\"/></w:rPr><w:t xml:space=\"preserve\">" + xmlText(p.value)
                   + "</w:t></w:r>";
            break;
        case Piece::Start: {
            const int id = static_cast<int>(ids.size());
            ids[p.value] = id;
            out += "<w:bookmarkStart w:id=\"" + QByteArray::number(id) + "\" w:name=\"" + xmlText(p.value) + "\"/>";
            break;
        }
        case Piece::End:
            out += "<w:bookmarkEnd w:id=\"" + QByteArray::number(ids.at(p.value)) + "\"/>";
            break;
        }
    }
    return out + "</w:p>";
}

const char* const kNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

// An archive written into memory, its bytes given back when closed.
struct MemoryZip {
    zip_source_t* buffer = nullptr;
    zip_t* archive = nullptr;

    MemoryZip()
    {
        zip_error_t error;
        zip_error_init(&error);
        buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
        zip_source_keep(buffer);
        archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    }

    QByteArray close()
    {
        if (zip_close(archive) != 0)
            throw std::runtime_error("zip");
        zip_stat_t stat;
        zip_source_stat(buffer, &stat);
        QByteArray out(static_cast<qsizetype>(stat.size), '\0');
        zip_source_open(buffer);
        zip_source_read(buffer, out.data(), stat.size);
        zip_source_close(buffer);
        zip_source_free(buffer);
        return out;
    }
};

QByteArray zipOf(const std::vector<std::pair<const char*, QByteArray>>& entries)
{
    MemoryZip zip;
    for (const auto& [name, content] : entries) {
        const auto size = static_cast<zip_uint64_t>(content.size());
        zip_source_t* source = zip_source_buffer(zip.archive, content.constData(), size, 0);
        zip_file_add(zip.archive, name, source, ZIP_FL_ENC_UTF_8);
    }
    return zip.close();
}

QByteArray package(const QByteArray& document, const QByteArray& header, const QByteArray& footer)
{
    QByteArray types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>";
    QByteArray rels = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    std::vector<std::pair<const char*, QByteArray>> entries;
    if (!header.isEmpty()) {
        types += "<Override PartName=\"/word/header1.xml\" "
                 "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>";
        rels += "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                "header\" Target=\"header1.xml\"/>";
        entries.emplace_back("word/header1.xml", header);
    }
    if (!footer.isEmpty()) {
        types += "<Override PartName=\"/word/footer1.xml\" "
                 "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/>";
        rels += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                "footer\" Target=\"footer1.xml\"/>";
        entries.emplace_back("word/footer1.xml", footer);
    }
    entries.emplace_back("[Content_Types].xml", types + "</Types>");
    entries.emplace_back("_rels/.rels",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                         "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    entries.emplace_back("word/_rels/document.xml.rels", rels + "</Relationships>");
    entries.emplace_back("word/document.xml", document);
    return zipOf(entries);
}

} // namespace

QByteArray toRtf(const SampleDocument& d)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\n"
                     "{\\colortbl;\\red0\\green0\\blue0;}\n\\paperw11906\\paperh16838\\margl1701\\margr1701\n";
    if (!d.header.empty()) {
        out += "{\\header ";
        for (const auto& p : d.header)
            out += rtfParagraph(p) + "\\par\n";
        out += "}\n";
    }
    if (!d.footer.empty()) {
        out += "{\\footer ";
        for (const auto& p : d.footer)
            out += rtfParagraph(p) + "\\par\n";
        out += "}\n";
    }
    for (std::size_t i = 0; i < d.body.size(); ++i) {
        out += rtfParagraph(d.body[i]) + "\\par\n";
        if (d.pageBreaks && i % 10 == 9)
            out += "\\page\n";
    }
    if (!d.cells.empty()) {
        out += "\\trowd";
        for (std::size_t i = 0; i < d.cells.size(); ++i)
            out += "\\cellx" + QByteArray::number(3000 * static_cast<int>(i + 1));
        out += "\n";
        for (const auto& cell : d.cells)
            out += rtfParagraph(cell, true) + "\\cell\n";
        out += "\\row\n\\pard\\par\n";
    }
    return out + "}";
}

QByteArray richTextWithoutPlain(qint64 size, const QStringList& bookmarks)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang3082{\\fonttbl{\\f0\\fnil\\fcharset0 "
                     "Calibri;}}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
                     "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang10 ";
    const QByteArray clause = "El trabajador prestar\\'e1 sus servicios como \\i personal del grupo profesional\\i0  "
                              "indicado, con la jornada, horario y lugar de trabajo que se establecen en este "
                              "contrato y en el convenio colectivo de aplicaci\\'f3n.\\par\r\n";
    const qint64 paragraphs = std::max<qint64>(1, size / (clause.size() + 24));
    out.reserve(size + clause.size() * 2);
    qsizetype next = 0;
    for (qint64 p = 0; p < paragraphs || next < bookmarks.size(); ++p) {
        // Bookmark n after paragraph (2n + 1) * paragraphs / (2 * count).
        while (next < bookmarks.size() && p >= (2 * next + 1) * paragraphs / (2 * bookmarks.size())) {
            out += "\\b Dato " + QByteArray::number(next + 1) + ":\\b0";
            for (const QString& name : bookmarks.at(next++).split(u' '))
                out += "{\\*\\bkmkstart " + name.toLatin1() + "}{\\*\\bkmkend " + name.toLatin1() + "}";
            out += "\\par\r\n";
        }
        out += "\\b Cl\\'e1usula " + QByteArray::number(p + 1) + ".\\b0  " + clause;
    }
    return out + "}\r\n";
}

QByteArray toDocx(const SampleDocument& d)
{
    std::map<QString, int> ids;
    QByteArray body;
    for (std::size_t i = 0; i < d.body.size(); ++i) {
        body += docxParagraph(d.body[i], ids);
        if (d.pageBreaks && i % 10 == 9)
            body += "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>";
    }
    if (!d.cells.empty()) {
        body += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tr>";
        for (const auto& cell : d.cells)
            body += "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>" + docxParagraph(cell, ids)
                    + "</w:tc>";
        body += "</w:tr></w:tbl><w:p/>";
    }
    QByteArray section = "<w:sectPr>";
    if (!d.header.empty())
        section += "<w:headerReference w:type=\"default\" r:id=\"rId1\"/>";
    if (!d.footer.empty())
        section += "<w:footerReference w:type=\"default\" r:id=\"rId2\"/>";
    section += "<w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr>";

    auto story = [&](const char* root, const std::vector<Paragraph>& paragraphs) {
        if (paragraphs.empty())
            return QByteArray();
        QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:" + QByteArray(root) + " "
                         + kNamespaces + ">";
        for (const auto& p : paragraphs)
            out += docxParagraph(p, ids);
        return out + "</w:" + root + ">";
    };
    const QByteArray header = story("hdr", d.header);
    const QByteArray footer = story("ftr", d.footer);
    return package("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document "
                       + QByteArray(kNamespaces) + "><w:body>" + body + section + "</w:body></w:document>",
                   header, footer);
}

QByteArray docxPackage(const QByteArray& documentXml)
{
    return package(documentXml, {}, {});
}

QByteArray docxOfBlanks(qsizetype blanks, int headers)
{
    QByteArray part = QByteArray("<w:document ") + kNamespaces + "><w:body>";
    part.append(blanks, ' ').append("</w:body></w:document>");
    MemoryZip single;
    const zip_int64_t added = zip_file_add(
        single.archive, "word/document.xml",
        zip_source_buffer(single.archive, part.constData(), static_cast<zip_uint64_t>(part.size()), 0), 0);
    zip_set_file_compression(single.archive, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 1);
    const QByteArray one = single.close();

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(one.constData(), static_cast<zip_uint64_t>(one.size()), 0, &error);
    zip_t* from = zip_open_from_source(source, ZIP_RDONLY, &error);
    MemoryZip zip;
    for (int h = 0; h <= headers; ++h) {
        const QByteArray name = h ? "word/header" + QByteArray::number(h) + ".xml" : "word/document.xml";
        zip_file_add(zip.archive, name.constData(), zip_source_zip(zip.archive, from, 0, ZIP_FL_COMPRESSED, 0, -1),
                     ZIP_FL_ENC_UTF_8);
    }
    const QByteArray out = zip.close();
    zip_discard(from);
    return out;
}

QByteArray withDeclaredSize(QByteArray docx, const char* name, quint64 size)
{
    const auto number = [&docx](qsizetype at, int bytes) {
        quint64 n = 0;
        for (int i = bytes - 1; i >= 0; --i)
            n = n << 8 | static_cast<uchar>(docx.at(at + i));
        return static_cast<qsizetype>(n);
    };
    const auto put = [&docx](qsizetype at, int bytes, quint64 n) {
        for (int i = 0; i < bytes; ++i)
            docx[at + i] = static_cast<char>(n >> (8 * i));
    };
    qsizetype end = docx.lastIndexOf("PK\x05\x06");
    for (qsizetype at = number(end + 16, 4); docx.mid(at, 4) == "PK\x01\x02";
         at += 46 + number(at + 28, 2) + number(at + 30, 2) + number(at + 32, 2)) {
        if (docx.mid(at + 46, number(at + 28, 2)) != name)
            continue;
        if (size < 0xFFFFFFFF) {
            put(at + 24, 4, size);
            return docx;
        }
        // Too big for its field: given in a Zip64 field after its others.
        put(at + 24, 4, 0xFFFFFFFF);
        const qsizetype field = at + 46 + number(at + 28, 2) + number(at + 30, 2);
        docx.insert(field, QByteArray("\x01\x00\x08\x00", 4) + QByteArray(8, '\0'));
        put(field + 4, 8, size);
        put(at + 30, 2, static_cast<quint64>(number(at + 30, 2) + 12));
        end += 12;
        put(end + 12, 4, static_cast<quint64>(number(end + 12, 4) + 12));
        return docx;
    }
    throw std::runtime_error("no such entry");
}

RtfText rtfText(const QByteArray& rtf, bool everyGroup)
{
    struct State {
        bool bold = false;
        bool italic = false;
        bool skip = false;
    };
    static const QRegularExpression other(
        QStringLiteral("^\\\\(\\*\\\\(?!footnote|shpinst)|fonttbl|colortbl|stylesheet|info|shprslt|sp\\b)"));
    std::vector<State> stack{State{}};
    RtfText out;
    const auto add = [&out](const State& state, QChar c) {
        if (state.skip)
            return;
        out.text += c;
        out.formats << QString(state.bold ? "b" : "") + (state.italic ? "i" : "");
    };
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        State& state = stack.back();
        if (c == '{') {
            State inner = state;
            inner.skip = !everyGroup && (state.skip || other.match(QString::fromLatin1(rtf.mid(i + 1, 12))).hasMatch());
            stack.push_back(inner);
        } else if (c == '}') {
            if (stack.size() > 1)
                stack.pop_back();
        } else if (c == '\\' && i + 1 < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf.at(i + 1)))) {
            qsizetype j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf.at(j))))
                ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            const qsizetype digits = j;
            while (j < rtf.size() && (std::isdigit(static_cast<unsigned char>(rtf.at(j))) || rtf.at(j) == '-'))
                ++j;
            const int param = rtf.mid(digits, j - digits).toInt();
            if (word == "b" || word == "i")
                (word == "b" ? state.bold : state.italic) = j == digits || param != 0;
            else if (word == "plain")
                state.bold = state.italic = false;
            else if (word == "par" || word == "tab")
                add(state, word == "par" ? QChar(u'\n') : QChar(u'\t'));
            else if (word == "u")
                add(state, QChar(static_cast<char16_t>(param)));
            if (word == "u")
                j += rtf.at(j) == '\\' ? 4 : 1; // the character for readers without Unicode
            i = (j < rtf.size() && rtf.at(j) == ' ') ? j : j - 1;
        } else if (c == '\\' && rtf.mid(i + 1, 1) == "'") {
            add(state, platform::fromCp1252(QByteArray::fromHex(rtf.mid(i + 2, 2))).at(0));
            i += 3;
        } else if (c != '\r' && c != '\n') {
            if (c == '\\')
                ++i;
            add(state, QChar(static_cast<char16_t>(static_cast<unsigned char>(rtf.at(i)))));
        }
    }
    return out;
}

QString everyText(const QByteArray& file)
{
    QString out;
    if (file.startsWith("{\\rtf")) {
        out = rtfText(file, true).text;
    } else {
        for (const DocxEntry& entry : docxEntries(file))
            out += QString::fromUtf8(entry.content).remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    }
    return out.remove(QRegularExpression(QStringLiteral("\\s")));
}

QByteArray rewrittenXml(const QByteArray& xml)
{
    pugi::xml_document doc;
    doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()),
                    pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration);
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return QByteArray::fromStdString(out.str());
}

QByteArray readAll(const QString& hostPath)
{
    QFile f(hostPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<DocxEntry> docxEntries(const QByteArray& docx)
{
    zip_source_t* source =
        zip_source_buffer_create(docx.constData(), static_cast<zip_uint64_t>(docx.size()), 0, nullptr);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, nullptr);
    if (!archive)
        throw std::runtime_error("not a zip");
    std::vector<DocxEntry> entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        QByteArray content(static_cast<qsizetype>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        entries.push_back({stat.name, stat.comp_method, stat.crc, content});
    }
    zip_discard(archive);
    return entries;
}

QByteArray deflatedAgain(const QByteArray& docx, const std::set<std::string>& parts)
{
    zip_source_t* source =
        zip_source_buffer_create(docx.constData(), static_cast<zip_uint64_t>(docx.size()), 0, nullptr);
    zip_t* from = zip_open_from_source(source, ZIP_RDONLY, nullptr);
    if (!from)
        throw std::runtime_error("not a zip");
    MemoryZip zip;
    std::vector<std::string> read; // kept until the archive is written
    read.reserve(parts.size());
    for (zip_int64_t i = 0; i < zip_get_num_entries(from, 0); ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* name = zip_get_name(from, index, 0);
        if (!parts.count(name)) {
            zip_file_add(zip.archive, name, zip_source_zip(zip.archive, from, index, ZIP_FL_COMPRESSED, 0, -1),
                         ZIP_FL_ENC_UTF_8);
            continue;
        }
        zip_stat_t stat;
        zip_stat_index(from, index, 0, &stat);
        std::string& part = read.emplace_back(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(from, index, 0);
        zip_fread(file, part.data(), stat.size);
        zip_fclose(file);
        const zip_int64_t added = zip_file_add(
            zip.archive, name, zip_source_buffer(zip.archive, part.data(), part.size(), 0), ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(zip.archive, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 6);
    }
    const QByteArray out = zip.close();
    zip_discard(from);
    return out;
}

QByteArray docxPart(const QByteArray& docx, const char* name)
{
    for (const DocxEntry& entry : docxEntries(docx)) {
        if (entry.name == name)
            return entry.content;
    }
    return {};
}

QByteArray withDocxPart(const QByteArray& docx, const QByteArray& content, const char* name)
{
    const auto entries = docxEntries(docx);
    std::vector<std::pair<const char*, QByteArray>> out;
    for (const DocxEntry& entry : entries)
        out.emplace_back(entry.name.c_str(), entry.name == name ? content : entry.content);
    return zipOf(out);
}

QByteArray withEntryAgain(const QByteArray& docx, const char* name, const char* as)
{
    // Added under a name of its own, then renamed in the local header and in
    // the directory.
    const QByteArray stand(qstrlen(as), '#');
    const auto entries = docxEntries(docx);
    std::vector<std::pair<const char*, QByteArray>> out;
    for (const DocxEntry& entry : entries)
        out.emplace_back(entry.name.c_str(), entry.content);
    out.emplace_back(stand.constData(), docxPart(docx, name));
    return zipOf(out).replace(stand, as);
}

void contratoRelleno(const QString& hostPath, bool docx)
{
    const auto marca = [](const char* rotulo, const char* m, const char* b = nullptr) {
        Paragraph p{text(QString::fromUtf8(rotulo)), start(QString::fromLatin1(m)), end(QString::fromLatin1(m))};
        if (b)
            p.insert(p.end(), {start(QString::fromLatin1(b)), end(QString::fromLatin1(b))});
        return p;
    };
    SampleDocument d;
    d.body = {marca("NIF: ", "M0115", "B0115"), marca("Nacido el ", "M0116", "B0116"),
              marca("País: ", "M0462", "B0462"), marca("De nuevo el NIF ", "M2115"), marca("Empresa: ", "M0001"),
              marca("Otros datos: ", "B0111", "B0136"), marca("", "B0380", "B0105"), marca("", "B0106"),
              marca("", "BPIE11"), marca("", "BPIE22"), marca("", "Basica")};
    QDir().mkpath(QFileInfo(hostPath).absolutePath());
    QFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the sample contract");
    file.write(docx ? toDocx(d) : toRtf(d));
    file.close();
    platform::Document contrato = platform::Document::open(hostPath);
    const std::pair<const char*, const char*> valores[] = {
        {"M0115", "12345678Z"}, {"M2115", "12345678Z"}, {"M0116", "01/02/1980"}, {"M0462", "Perú"},
        {"M0001", "Talleres Ruiz"}};
    for (const auto& [m, valor] : valores)
        contrato.insertAfter(QString::fromLatin1(m), QString::fromUtf8(valor));
    contrato.save();
}

} // namespace testing_support
