// The .docx package read within its limits and written again, its XML parts written back at the cost of what changed.
#include "platform/DocxPackage.h"

#include "platform/Deflate.h"
#include "platform/DocxElements.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <map>

namespace platform::detail::docx {

namespace {

// No part of a contract comes anywhere near these: a package that holds more
// is refused before it fills the memory, whatever its directory says.
constexpr zip_uint64_t kPartLimit = zip_uint64_t(64) << 20;
constexpr zip_uint64_t kPackageLimit = zip_uint64_t(256) << 20;

struct ByteWriter final : pugi::xml_writer {
    QByteArray out;
    void write(const void* data, size_t size) override
    {
        out.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

// Whether two entries of the directory bear one name, as stored, but for
// the case of its ASCII letters, as the part names of a package compare:
// which of them is the part is unsure, and they cannot both be written back.
bool namesAnEntryTwice(zip_t* archive)
{
    const auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c); };
    const auto before = [&folded](std::string_view a, std::string_view b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&folded](char x, char y) { return folded(x) < folded(y); });
    };
    std::vector<std::string_view> names;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    names.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!name)
            return true;
        names.emplace_back(name);
    }
    std::sort(names.begin(), names.end(), before);
    return std::adjacent_find(names.begin(), names.end(),
                              [&before](std::string_view a, std::string_view b) { return !before(a, b); })
        != names.end();
}

} // namespace

bool Part::read(QByteArray content)
{
    source_ = std::move(content);
    constexpr unsigned options = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration;
    if (!xml.load_buffer(source_.constData(), static_cast<size_t>(source_.size()), options, pugi::encoding_utf8))
        return false;
    // One element, as XML has: the part is written back as that element
    // between what stands before it and after its end tag, so another
    // element after it, or text (which pugixml passes over in silence),
    // would be lost, or a comment holding the end tag taken for it. Blanks,
    // comments and instructions may follow it.
    const pugi::xml_node root = xml.document_element();
    for (pugi::xml_node n = root.next_sibling(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element)
            return false;
    }
    const qsizetype close = rootClose();
    if (close < 0)
        return true; // an empty element, written whole
    const QByteArrayView source(source_);
    const qsizetype after = source_.indexOf('>', close) + 1;
    if (after == 0)
        return false;
    for (qsizetype at = after; at < source.size();) {
        qsizetype end = -1;
        if (const char c = source[at]; c == ' ' || c == '\t' || c == '\r' || c == '\n')
            end = at + 1;
        else if (source.sliced(at).startsWith("<!--"))
            end = source_.indexOf("-->", at + 4) + 3;
        else if (source.sliced(at).startsWith("<?"))
            end = source_.indexOf("?>", at + 2) + 2;
        if (end <= at)
            return false;
        at = end;
    }
    return true;
}

qsizetype Part::rootClose() const
{
    const qsizetype close = source_.lastIndexOf("</" + QByteArray(xml.document_element().name()));
    return close > startOf(xml.document_element()) ? close : -1;
}

void Part::touch(const pugi::xml_node& node)
{
    if (!node || layouts_.count(node.internal_object()))
        return;
    touch(node.parent());
    Layout& layout = layouts_[node.internal_object()];
    const pugi::xml_node parent = node.parent();
    if (!parent) { // the document: where its element begins and ends
        const qsizetype start = startOf(xml.document_element());
        const qsizetype close = rootClose();
        if (start >= 0 && close > start)
            layout = {start, close + source_.mid(close).indexOf('>') + 1};
        return;
    }
    // Its children lie between the end of the tag that opens it and the
    // last '<' before the next node of its parent, its end tag.
    const qsizetype start = startOf(node);
    const qsizetype end = endIn(layouts_.at(parent.internal_object()), start);
    if (start < 0 || end < 0 || !node.first_child())
        return;
    const qsizetype close = source_.lastIndexOf('<', end - 1);
    if (close <= start || source_.at(close + 1) != '/')
        return;
    std::size_t children = 1;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        ++children;
    layout.reserve(children);
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        const qsizetype at = startOf(child);
        if (at < 0 || at >= close || (!layout.empty() && at <= layout.back())) {
            layout.clear();
            return;
        }
        layout.push_back(at);
    }
    layout.push_back(close);
}

// Where a part is written: what is made gathered and handed on a stretch at
// a time, a long stretch of the part as read handed on as it stands.
class Part::Output {
public:
    explicit Output(const std::function<bool(std::string_view)>& take) : take_(take) {}

    // What is made goes at its end; given on by made().
    std::string& text() { return text_; }
    void made()
    {
        if (text_.size() >= kStretch)
            flush();
    }
    // Bytes of the part as read.
    void read(std::string_view bytes)
    {
        if (bytes.size() < kStretch) {
            text_.append(bytes);
            made();
            return;
        }
        flush();
        ok_ = ok_ && take_(bytes);
    }
    bool finish()
    {
        flush();
        return ok_;
    }

private:
    static constexpr std::size_t kStretch = std::size_t(1) << 20;

    void flush()
    {
        if (!text_.empty())
            ok_ = ok_ && take_(text_);
        text_.clear();
    }

    const std::function<bool(std::string_view)>& take_;
    std::string text_;
    bool ok_ = true;
};

bool Part::write(const std::function<bool(std::string_view)>& take) const
{
    Output out(take);
    if (!touched()) {
        std::vector<const std::pair<qsizetype, std::string>*> order;
        for (const auto& splice : splices_)
            order.push_back(&splice);
        std::stable_sort(order.begin(), order.end(), [](auto a, auto b) { return a->first < b->first; });
        qsizetype from = 0;
        for (const auto* splice : order) {
            out.read({source_.constData() + from, static_cast<size_t>(splice->first - from)});
            out.text().append(splice->second);
            out.made();
            from = splice->first;
        }
        out.read({source_.constData() + from, static_cast<size_t>(source_.size() - from)});
        return out.finish();
    }
    const auto document = layouts_.find(xml.internal_object());
    if (document == layouts_.end() || document->second.size() != 2) {
        struct Writer final : pugi::xml_writer {
            Output& out;
            explicit Writer(Output& out) : out(out) {}
            void write(const void* data, size_t size) override { out.read({static_cast<const char*>(data), size}); }
        } writer(out);
        xml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
        return out.finish();
    }
    out.read({source_.constData(), static_cast<size_t>(document->second.front())});
    write(xml.document_element(), document->second, out);
    out.read(
        {source_.constData() + document->second.back(), static_cast<size_t>(source_.size() - document->second.back())});
    return out.finish();
}

qsizetype Part::startOf(const pugi::xml_node& node)
{
    const ptrdiff_t offset = node.offset_debug();
    if (offset < 0)
        return -1;
    switch (node.type()) {
    case pugi::node_element:
        return offset - 1; // the name follows '<'
    case pugi::node_pcdata:
        return offset;
    case pugi::node_cdata:
        return offset - 9; // "<![CDATA["
    default:
        return -1;
    }
}

void Part::printFormat(const pugi::xml_node& format, std::string& out) const
{
    const qsizetype start = startOf(format);
    const qsizetype end = touched() ? -1 : startOf(format.next_sibling());
    if (start >= 0 && end > start && named(format, "w:rPr") && std::none_of(format.begin(), format.end(), isRevision)
        && !format.find_node(isBookmark)) {
        out.append(source_.constData() + start, static_cast<size_t>(end - start));
        return;
    }
    pugi::xml_document copy;
    copyFormat(copy, format);
    print(copy.first_child(), out);
}

void Part::escape(const char* text, const char* special, std::string& out)
{
    for (;;) {
        const size_t plain = std::strcspn(text, special);
        out.append(text, plain);
        text += plain;
        if (!*text)
            return;
        out.append("&#").append(std::to_string(static_cast<unsigned char>(*text))) += ';';
        ++text;
    }
}

void Part::escape(QStringView text, bool attribute, std::string& out)
{
    const std::size_t at = out.size();
    out.resize(at + static_cast<size_t>(text.size()));
    char* next = out.data() + at;
    for (const QChar c : text) { // most is plain ASCII, copied as it stands
        const char16_t u = c.unicode();
        if (u < 0x20 || u >= 0x80 || u == '&' || u == '<' || u == '>' || (attribute && u == '"')) {
            out.resize(at);
            escape(text.toUtf8().constData(), attribute ? kAttributeSpecial : kTextSpecial, out);
            return;
        }
        *next++ = static_cast<char>(u);
    }
}

qsizetype Part::endIn(const Layout& layout, qsizetype start)
{
    if (start < 0 || layout.size() < 2)
        return -1;
    const auto found = std::lower_bound(layout.begin(), layout.end() - 1, start);
    return found != layout.end() - 1 && *found == start ? *(found + 1) : -1;
}

qsizetype Part::tagEnd(qsizetype start) const
{
    char quote = 0;
    for (qsizetype i = start + 1; i < source_.size(); ++i) {
        const char c = source_.at(i);
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return -1;
}

void Part::write(const pugi::xml_node& node, const Layout& parent, Output& out) const
{
    const qsizetype start = startOf(node);
    const auto layout = layouts_.find(node.internal_object());
    if (layout == layouts_.end()) {
        const qsizetype end = endIn(parent, start);
        if (end >= 0)
            out.read({source_.constData() + start, static_cast<size_t>(end - start)});
        else
            print(node, out.text());
        out.made();
        return;
    }
    const qsizetype open = start >= 0 && node.type() == pugi::node_element ? tagEnd(start) : -1;
    if (open < 0) {
        print(node, out.text());
        out.made();
        return;
    }
    // The start tag as read, opened if it closed itself.
    const bool empty = source_.at(open - 2) == '/';
    out.text().append(source_.constData() + start, static_cast<size_t>(open - start - (empty ? 2 : 0)));
    if (empty)
        out.text() += '>';
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        write(child, layout->second, out);
    out.text().append("</").append(node.name()) += '>';
    out.made();
}

void Part::print(const pugi::xml_node& node, std::string& out) const
{
    switch (node.type()) {
    case pugi::node_element: {
        (out += '<').append(node.name());
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            (out += ' ').append(a.name()).append("=\"");
            escape(a.value(), kAttributeSpecial, out);
            out += '"';
        }
        if (!node.first_child()) {
            out.append("/>");
            return;
        }
        out += '>';
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
            print(child, out);
        out.append("</").append(node.name()) += '>';
        return;
    }
    case pugi::node_pcdata:
        escape(node.value(), kTextSpecial, out);
        return;
    default: {
        ByteWriter writer;
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
        out.append(writer.out.constData(), static_cast<size_t>(writer.out.size()));
    }
    }
}

DocxPackage::~DocxPackage()
{
    if (archive_)
        zip_discard(archive_);
}

Reading DocxPackage::read()
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        original_.constData(), static_cast<zip_uint64_t>(original_.size()), 0, &error);
    if (!source)
        return Reading::Damaged;
    archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (!archive_) {
        zip_source_free(source);
        return Reading::Damaged;
    }
    if (namesAnEntryTwice(archive_))
        return Reading::Damaged;
    QString main;
    if (const Reading relationships = mainPart(main); relationships != Reading::Read)
        return relationships;
    const QString folder = main.left(main.lastIndexOf(QLatin1Char('/')) + 1);
    static const QRegularExpression stories(
        QStringLiteral("^(header|footer)\\d*\\.xml$|^(footnotes|endnotes)\\.xml$"));
    bool foundMain = false;
    std::vector<zip_uint64_t> wanted;
    zip_uint64_t declared = 0; // parts too big are refused before any is read
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto at = static_cast<zip_uint64_t>(i);
        const QString name = QString::fromUtf8(zip_get_name(archive_, at, 0));
        const bool isMain = name == main;
        if (!isMain && !(name.startsWith(folder) && stories.match(name.mid(folder.size())).hasMatch()))
            continue;
        zip_stat_t stat;
        if (zip_stat_index(archive_, at, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)
            && (stat.size > kPartLimit || (declared += stat.size) > kPackageLimit))
            return Reading::TooLarge;
        foundMain = foundMain || isMain;
        wanted.push_back(at);
    }
    if (!foundMain)
        return Reading::Damaged;
    for (const zip_uint64_t at : wanted) {
        auto part = std::make_unique<Part>();
        part->index = at;
        QByteArray content;
        if (const Reading inflated = entry(at, content); inflated != Reading::Read)
            return inflated;
        if (!part->read(std::move(content)))
            return Reading::Damaged;
        parts_.push_back(std::move(part));
    }
    return Reading::Read;
}

QByteArray DocxPackage::serialize()
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!buffer)
        return {};
    zip_source_keep(buffer);
    zip_error_init(&error);
    zip_t* out = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!out) {
        zip_source_free(buffer);
        return {};
    }
    std::map<zip_uint64_t, const Part*> changed;
    for (const auto& part : parts_) {
        if (part->changed())
            changed[part->index] = part.get();
    }
    bool ok = true;
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count && ok; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* name = zip_get_name(archive_, index, 0);
        zip_source_t* source = nullptr;
        const auto found = changed.find(index);
        if (found != changed.end()) {
            DeflatedEntry entry;
            if (found->second->write([&entry](std::string_view piece) { return entry.add(piece); }))
                source = entry.source(out);
        } else {
            source = zip_source_zip(out, archive_, index, ZIP_FL_COMPRESSED, 0, -1);
        }
        const zip_int64_t added = source ? zip_file_add(out, name, source, ZIP_FL_ENC_UTF_8) : -1;
        if (added < 0) {
            if (source)
                zip_source_free(source);
            ok = false;
        }
    }
    if (!ok || zip_close(out) != 0) {
        zip_discard(out); // zip_close keeps the archive when it fails
        zip_source_free(buffer);
        return {};
    }
    QByteArray result;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        result.resize(static_cast<qsizetype>(stat.size));
        const zip_int64_t read = zip_source_read(buffer, result.data(), stat.size);
        zip_source_close(buffer);
        if (read != static_cast<zip_int64_t>(stat.size))
            result.clear();
    }
    zip_source_free(buffer);
    return result;
}

Reading DocxPackage::entry(zip_uint64_t index, QByteArray& content)
{
    const zip_uint64_t room = std::min(kPartLimit, kPackageLimit - inflated_);
    zip_stat_t stat;
    if (zip_stat_index(archive_, index, 0, &stat) != 0)
        return Reading::Damaged;
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > room)
        return Reading::TooLarge;
    zip_file_t* file = zip_fopen_index(archive_, index, 0);
    if (!file)
        return Reading::Damaged;
    content.clear();
    content.reserve(static_cast<qsizetype>(stat.valid & ZIP_STAT_SIZE ? stat.size : 0));
    char piece[1 << 16];
    zip_int64_t read = 0;
    while ((read = zip_fread(file, piece, sizeof piece)) > 0
           && static_cast<zip_uint64_t>(content.size() + read) <= room)
        content.append(piece, static_cast<qsizetype>(read));
    zip_fclose(file);
    inflated_ += static_cast<zip_uint64_t>(content.size());
    return read == 0 ? Reading::Read : read > 0 ? Reading::TooLarge : Reading::Damaged;
}

Reading DocxPackage::mainPart(QString& name)
{
    name = QStringLiteral("word/document.xml");
    const zip_int64_t index = zip_name_locate(archive_, "_rels/.rels", 0);
    if (index < 0)
        return Reading::Read;
    QByteArray content;
    const Reading relationships = entry(static_cast<zip_uint64_t>(index), content);
    if (relationships == Reading::TooLarge)
        return relationships;
    pugi::xml_document rels;
    if (relationships == Reading::Read && rels.load_buffer(content.constData(), static_cast<size_t>(content.size()))) {
        for (pugi::xml_node r : rels.document_element().children("Relationship")) {
            if (QString::fromUtf8(r.attribute("Type").value()).endsWith(QStringLiteral("/officeDocument"))) {
                QString target = QString::fromUtf8(r.attribute("Target").value());
                while (target.startsWith(QLatin1Char('/')))
                    target.remove(0, 1);
                name = target;
                break;
            }
        }
    }
    return Reading::Read;
}

} // namespace platform::detail::docx
