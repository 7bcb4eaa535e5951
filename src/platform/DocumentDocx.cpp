// Office Open XML: the parts that can hold bookmarks (the main document,
// headers, footers, notes) are read as XML trees; every other entry of the
// archive is written back as it was read, still compressed.
#include "platform/Deflate.h"
#include "platform/DocumentBody.h"

#include <QRegularExpression>

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform::detail {

namespace {

// No part of a contract comes anywhere near these: a package that holds more
// is refused before it fills the memory, whatever its directory says.
constexpr zip_uint64_t kPartLimit = zip_uint64_t(64) << 20;
constexpr zip_uint64_t kPackageLimit = zip_uint64_t(256) << 20;

// Documents nest some tens of levels (tables in tables, text boxes, content
// controls). A part nested deeper is damaged or hostile, and is refused: the
// walks of the tree here, and pugixml's removal of a node, go down a level
// per call.
constexpr int kDeepestNesting = 1000;

bool named(const pugi::xml_node& node, const char* name)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// Revision marks belong to the run or paragraph mark they came from.
bool isRevision(const pugi::xml_node& node)
{
    const char* name = node.name(); // "w:" and r, i, d or m tell most apart at once
    if (name[0] != 'w' || name[1] != ':' || !name[2] || !std::strchr("ridm", name[2]))
        return false;
    for (const char* revision : {"w:rPrChange", "w:ins", "w:del", "w:moveFrom", "w:moveTo"}) {
        if (named(node, revision))
            return true;
    }
    return false;
}

QString attribute(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

// Containers of a story: above them there is no paragraph to write into.
bool isStory(const pugi::xml_node& node)
{
    static const char* const stories[] = {"w:body", "w:tc",       "w:hdr",         "w:ftr",   "w:footnote",
                                          "w:endnote", "w:comment", "w:txbxContent", "w:document"};
    for (const char* s : stories) {
        if (named(node, s))
            return true;
    }
    return false;
}

pugi::xml_node paragraphOf(pugi::xml_node node)
{
    for (pugi::xml_node n = node.parent(); n; n = n.parent()) {
        if (named(n, "w:p"))
            return n;
        if (isStory(n))
            break;
    }
    return {};
}

pugi::xml_node firstParagraphIn(const pugi::xml_node& node)
{
    if (named(node, "w:p"))
        return node;
    for (pugi::xml_node child : node.children()) {
        if (auto found = firstParagraphIn(child))
            return found;
    }
    return {};
}

pugi::xml_node lastParagraphIn(const pugi::xml_node& node)
{
    if (named(node, "w:p"))
        return node;
    for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
        if (auto found = lastParagraphIn(child))
            return found;
    }
    return {};
}

bool hasText(const pugi::xml_node& run)
{
    return run.child("w:t") || run.child("w:tab");
}

// Subtrees whose content is not the document's visible text.
bool isHiddenContent(const pugi::xml_node& node)
{
    static const char* const hidden[] = {"w:pPr", "w:rPr", "w:del", "w:moveFrom", "w:instrText", "w:delText",
                                         "w:sectPr", "w:tblPr", "w:trPr", "w:tcPr"};
    for (const char* h : hidden) {
        if (named(node, h))
            return true;
    }
    return false;
}

struct ByteWriter final : pugi::xml_writer {
    QByteArray out;
    void write(const void* data, size_t size) override
    {
        out.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

// A part read as an XML tree, written back at the cost of what changed, not
// of its size. Insertions kept as XML go into the bytes read as they stand,
// while the tree is as read. Once the tree changes, touch() notes, before
// the children of a node change, where they stood in the bytes read: every
// subtree that did not change is then written back as those bytes.
class Part {
    // The starts of the children of a node that changed, as read, followed
    // by the start of its end tag; for the document, where its element
    // begins and ends. Empty when not known: the children are then written
    // from the tree.
    using Layout = std::vector<qsizetype>;

public:
    zip_uint64_t index = 0;
    pugi::xml_document xml;

    bool read(QByteArray content)
    {
        source_ = std::move(content);
        constexpr unsigned options = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration;
        return bool(xml.load_buffer(source_.constData(), static_cast<size_t>(source_.size()), options,
                                    pugi::encoding_utf8));
    }

    bool changed() const { return !layouts_.empty() || !splices_.empty(); }
    bool touched() const { return !layouts_.empty(); }

    // XML to be written just before the byte at `offset` of the part as
    // read; only while it is not touched.
    std::string& splice(qsizetype offset)
    {
        splices_.emplace_back(offset, std::string());
        return splices_.back().second;
    }
    void dropSplices() { splices_.clear(); }

    // To be called before the children of `node` change.
    void touch(const pugi::xml_node& node)
    {
        if (!node || layouts_.count(node.internal_object()))
            return;
        touch(node.parent());
        Layout& layout = layouts_[node.internal_object()];
        const pugi::xml_node parent = node.parent();
        if (!parent) { // the document: where its element begins and ends
            const pugi::xml_node root = xml.document_element();
            const qsizetype start = startOf(root);
            const qsizetype close = source_.lastIndexOf("</" + QByteArray(root.name()));
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

    // The part as it is to be written, in pieces that stay valid while the
    // part is not changed: the bytes read and the insertions kept as XML
    // between them, or else the whole part written from the tree.
    std::vector<std::string_view> pieces(std::string& written) const
    {
        if (touched()) {
            written = write();
            return {written};
        }
        std::vector<const std::pair<qsizetype, std::string>*> order;
        for (const auto& splice : splices_)
            order.push_back(&splice);
        std::stable_sort(order.begin(), order.end(), [](auto a, auto b) { return a->first < b->first; });
        std::vector<std::string_view> pieces;
        qsizetype from = 0;
        for (const auto* splice : order) {
            pieces.emplace_back(source_.constData() + from, static_cast<size_t>(splice->first - from));
            pieces.emplace_back(splice->second);
            from = splice->first;
        }
        pieces.emplace_back(source_.constData() + from, static_cast<size_t>(source_.size() - from));
        return pieces;
    }

    // Where a node read from the source begins in it; -1 for a node made or
    // copied since.
    static qsizetype startOf(const pugi::xml_node& node)
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

    // A run's formatting as copyFormat() makes it from `format`: as read,
    // while the part is.
    void printFormat(const pugi::xml_node& format, std::string& out) const
    {
        const qsizetype start = startOf(format);
        const qsizetype end = touched() ? -1 : startOf(format.next_sibling());
        if (start >= 0 && end > start && named(format, "w:rPr")
            && std::none_of(format.begin(), format.end(), isRevision)) {
            out.append(source_.constData() + start, static_cast<size_t>(end - start));
            return;
        }
        out += "<w:rPr";
        for (pugi::xml_attribute a = format.first_attribute(); a; a = a.next_attribute()) {
            (out += ' ').append(a.name()).append("=\"");
            escape(a.value(), kAttributeSpecial, out);
            out += '"';
        }
        const std::size_t open = out.size();
        out += '>';
        for (pugi::xml_node child = format.first_child(); child; child = child.next_sibling()) {
            if (!isRevision(child))
                print(child, out);
        }
        if (out.size() == open + 1)
            out.replace(open, 1, "/>");
        else
            out += "</w:rPr>";
    }

    static constexpr const char* kAttributeSpecial = "&<>\"\r\n\t";
    static constexpr const char* kTextSpecial = "&<>";

    // `text` with the characters of `special` as character references.
    static void escape(const char* text, const char* special, std::string& out)
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

    // The same for a text held as UTF-16.
    static void escape(QStringView text, bool attribute, std::string& out)
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

private:
    std::string write() const
    {
        const auto document = layouts_.find(xml.internal_object());
        if (document == layouts_.end() || document->second.size() != 2) {
            ByteWriter writer;
            xml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
            return writer.out.toStdString();
        }
        std::string out;
        out.reserve(static_cast<size_t>(source_.size() + source_.size() / 8));
        out.append(source_.constData(), static_cast<size_t>(document->second.front()));
        write(xml.document_element(), document->second, out);
        out.append(source_.constData() + document->second.back(),
                   static_cast<size_t>(source_.size() - document->second.back()));
        return out;
    }

    // Where the child of a node beginning at `start` ended in the source,
    // by the layout of that node; -1 when it was not one of its children.
    static qsizetype endIn(const Layout& layout, qsizetype start)
    {
        if (start < 0 || layout.size() < 2)
            return -1;
        const auto found = std::lower_bound(layout.begin(), layout.end() - 1, start);
        return found != layout.end() - 1 && *found == start ? *(found + 1) : -1;
    }

    // Just past the '>' of the tag that starts at `start`.
    qsizetype tagEnd(qsizetype start) const
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

    void write(const pugi::xml_node& node, const Layout& parent, std::string& out) const
    {
        const qsizetype start = startOf(node);
        const auto layout = layouts_.find(node.internal_object());
        if (layout == layouts_.end()) {
            const qsizetype end = endIn(parent, start);
            if (end >= 0)
                out.append(source_.constData() + start, static_cast<size_t>(end - start));
            else
                print(node, out);
            return;
        }
        const qsizetype open = start >= 0 && node.type() == pugi::node_element ? tagEnd(start) : -1;
        if (open < 0) {
            print(node, out);
            return;
        }
        // The start tag as read, opened if it closed itself.
        const bool empty = source_.at(open - 2) == '/';
        out.append(source_.constData() + start, static_cast<size_t>(open - start - (empty ? 2 : 0)));
        if (empty)
            out += '>';
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
            write(child, layout->second, out);
        out.append("</").append(node.name()) += '>';
    }

    // A node written from the tree.
    void print(const pugi::xml_node& node, std::string& out) const
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

    QByteArray source_;
    std::unordered_map<const void*, Layout> layouts_;
    std::vector<std::pair<qsizetype, std::string>> splices_;
};

class DocxBody final : public DocumentBody {
    struct Mark {
        Part* part = nullptr;
        pugi::xml_node start;
        pugi::xml_node end;
        bool pending = false; // an insertion kept as XML goes in at its end
    };

    struct Pending {
        QString bookmark;
        QString text;
        QString hiddenName;
        int id;
    };

public:
    explicit DocxBody(QByteArray bytes) : original_(std::move(bytes)) {}

    ~DocxBody() override
    {
        if (archive_)
            zip_discard(archive_);
    }

    bool read()
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(
            original_.constData(), static_cast<zip_uint64_t>(original_.size()), 0, &error);
        if (!source)
            return false;
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        zip_error_fini(&error);
        if (!archive_) {
            zip_source_free(source);
            return false;
        }
        const QString main = mainPart();
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
                return false;
            foundMain = foundMain || isMain;
            wanted.push_back(at);
        }
        if (!foundMain)
            return false;
        for (const zip_uint64_t at : wanted) {
            auto part = std::make_unique<Part>();
            part->index = at;
            QByteArray content;
            if (!entry(at, content) || !part->read(std::move(content)))
                return false;
            parts_.push_back(std::move(part));
        }
        return index();
    }

    QStringList bookmarkNames() override { return names_; }

    bool hasBookmark(const QString& name) override
    {
        if (marks_.count(name))
            return true;
        materialize(); // the bookmarks of insertions kept as XML are made then
        return marks_.count(name) > 0;
    }

    QString bookmarkText(const QString& name) override
    {
        materialize();
        const Mark& m = marks_.at(name);
        QString out;
        walk(m, [&](const pugi::xml_node& node) {
            if (named(node, "w:t"))
                out += QString::fromUtf8(node.text().get());
            else if (named(node, "w:tab"))
                out += QLatin1Char('\t');
            else if (named(node, "w:br") || named(node, "w:cr"))
                out += QLatin1Char('\n');
            else if (named(node, "w:noBreakHyphen"))
                out += QChar(0x2011);
        }, [&] { out += QLatin1Char('\n'); });
        return out;
    }

    void insert(const QString& bookmark, const QString& text, const QString& hiddenName) override
    {
        Mark& m = marks_.at(bookmark);
        const int id = nextId();
        names_ << hiddenName;
        // Most insertions, one line before an end that stands in a paragraph
        // of a part still as read, are kept as XML to be put into its bytes
        // until something reads or changes the tree: far quicker to make and
        // to write. A second one at the same bookmark needs the first in the
        // tree.
        const pugi::xml_node paragraph = m.end ? paragraphOf(m.end) : pugi::xml_node();
        const qsizetype at = m.part->touched() ? -1 : Part::startOf(m.end);
        if (paragraph && at >= 0 && !m.pending && !text.contains(QLatin1Char('\n'))) {
            fragment(*m.part, id, hiddenName, runFormat(paragraph, m.end), text, m.part->splice(at));
            m.pending = true;
            pending_.push_back({bookmark, text, hiddenName, id});
            return;
        }
        materialize();
        insertIntoTree(m, text, hiddenName, id);
    }

    bool removeWithText(const QString& name) override
    {
        materialize();
        return removeFromTree(name);
    }

    QByteArray serialize() override
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
                std::string whole;
                source = deflatedSource(out, found->second->pieces(whole));
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

private:
    // The new bookmark goes just before the end, or, for an end between
    // paragraphs (a bookmark holding a paragraph mark), at the end of the
    // last paragraph the bookmark holds; the template's own bookmark stays as
    // it is.
    void insertIntoTree(Mark& m, const QString& text, const QString& hiddenName, int id)
    {
        pugi::xml_node paragraph = paragraphOf(m.end);
        pugi::xml_node start;
        pugi::xml_node close;
        if (!paragraph && (paragraph = lastParagraphHeld(m))) {
            m.part->touch(paragraph);
            start = paragraph.append_child("w:bookmarkStart");
            close = paragraph.append_child("w:bookmarkEnd");
        } else {
            if (!paragraph)
                paragraph = moveIntoNextParagraph(m);
            m.part->touch(m.end.parent());
            start = m.end.parent().insert_child_before("w:bookmarkStart", m.end);
            close = m.end.parent().insert_child_before("w:bookmarkEnd", m.end);
        }
        start.append_attribute("w:id") = id;
        start.append_attribute("w:name") = hiddenName.toUtf8().constData();
        close.append_attribute("w:id") = id;
        const pugi::xml_node format = runFormat(paragraph, start);

        // A run per paragraph of the text, its tabs as tab elements.
        const QStringView rest(text);
        for (qsizetype from = 0;;) {
            const qsizetype to = rest.indexOf(QLatin1Char('\n'), from);
            const QStringView line = rest.mid(from, (to < 0 ? rest.size() : to) - from);
            if (!line.isEmpty()) {
                m.part->touch(close.parent());
                pugi::xml_node run = close.parent().insert_child_before("w:r", close);
                if (format)
                    copyFormat(run, format);
                for (qsizetype piece = 0;;) {
                    const qsizetype tab = line.indexOf(QLatin1Char('\t'), piece);
                    const QStringView words = line.mid(piece, (tab < 0 ? line.size() : tab) - piece);
                    if (!words.isEmpty()) {
                        pugi::xml_node t = run.append_child("w:t");
                        t.append_attribute("xml:space") = "preserve";
                        t.text().set(words.toUtf8().constData());
                    }
                    if (tab < 0)
                        break;
                    run.append_child("w:tab");
                    piece = tab + 1;
                }
            }
            if (to < 0)
                break;
            splitBefore(*m.part, close);
            from = to + 1;
        }
        marks_[hiddenName] = Mark{m.part, start, close};
    }

    // Puts the insertions kept as XML into the tree, in the order they came.
    void materialize()
    {
        if (pending_.empty())
            return;
        const std::vector<Pending> pending = std::move(pending_);
        pending_.clear();
        for (const auto& part : parts_)
            part->dropSplices();
        for (const Pending& p : pending)
            marks_.at(p.bookmark).pending = false;
        for (const Pending& p : pending)
            insertIntoTree(marks_.at(p.bookmark), p.text, p.hiddenName, p.id);
    }

    // An insertion as insertIntoTree() puts it into the tree, written as XML.
    static void fragment(const Part& part, int id, const QString& hiddenName, const pugi::xml_node& format,
                         QStringView text, std::string& out)
    {
        const std::string number = std::to_string(id);
        out.reserve(out.size() + static_cast<size_t>(200 + 2 * (hiddenName.size() + text.size())));
        out.append("<w:bookmarkStart w:id=\"").append(number).append("\" w:name=\"");
        Part::escape(hiddenName, true, out);
        out.append("\"/><w:r>");
        if (format)
            part.printFormat(format, out);
        for (qsizetype piece = 0;;) {
            const qsizetype tab = text.indexOf(QLatin1Char('\t'), piece);
            const QStringView words = text.mid(piece, (tab < 0 ? text.size() : tab) - piece);
            if (!words.isEmpty()) {
                out += "<w:t xml:space=\"preserve\">";
                Part::escape(words, false, out);
                out += "</w:t>";
            }
            if (tab < 0)
                break;
            out += "<w:tab/>";
            piece = tab + 1;
        }
        out.append("</w:r><w:bookmarkEnd w:id=\"").append(number).append("\"/>");
    }

    bool removeFromTree(const QString& name)
    {
        const auto it = marks_.find(name);
        if (it == marks_.end())
            return false;
        const Mark m = it->second;
        pugi::xml_node first = paragraphOf(m.start);
        const pugi::xml_node last = paragraphOf(m.end);
        if (!first || !last)
            return false;
        std::vector<pugi::xml_node> paragraphs{first};
        if (first != last) {
            pugi::xml_node n = first.next_sibling();
            for (; n && n != last; n = n.next_sibling()) {
                if (n.type() != pugi::node_element)
                    continue;
                if (!named(n, "w:p"))
                    return false;
                paragraphs.push_back(n);
            }
            if (!n)
                return false;
            paragraphs.push_back(last);
        }

        // The text, each piece once: what a damaged file holds inside a
        // piece of text goes with it.
        std::vector<pugi::xml_node> text;
        walk(m, [&](const pugi::xml_node& node) {
            static const char* const content[] = {"w:t",   "w:tab",           "w:br",          "w:cr",
                                                  "w:sym", "w:noBreakHyphen", "w:softHyphen", "w:ptab"};
            for (const char* c : content) {
                if (named(node, c) && (text.empty() || !holds(text.back(), node)))
                    text.push_back(node);
            }
        }, [] {});
        Part& part = *m.part;
        for (pugi::xml_node node : text) {
            pugi::xml_node run = node.parent();
            const bool inRun = named(run, "w:r");
            removeNode(part, node, inRun ? run : node);
            if (inRun && !run.find_child([](const pugi::xml_node& c) {
                    return c.type() == pugi::node_element && !named(c, "w:rPr");
                }))
                removeNode(part, run, run);
        }
        for (std::size_t i = 1; i < paragraphs.size(); ++i) {
            pugi::xml_node p = paragraphs[i];
            part.touch(first);
            part.touch(p);
            part.touch(p.parent());
            const pugi::xml_node properties = p.child("w:pPr");
            if (pugi::xml_node section = properties.child("w:sectPr")) {
                part.touch(properties);
                pugi::xml_node target = first.child("w:pPr");
                if (!target)
                    target = first.prepend_child("w:pPr");
                part.touch(target);
                if (pugi::xml_node old = target.child("w:sectPr"))
                    removeNode(part, old, old);
                target.append_move(section);
            }
            for (pugi::xml_node c = p.first_child(); c;) {
                const pugi::xml_node next = c.next_sibling();
                if (c != properties)
                    first.append_move(c);
                c = next;
            }
            removeNode(part, p, p);
        }
        part.touch(m.start.parent());
        m.start.parent().remove_child(m.start);
        part.touch(m.end.parent());
        m.end.parent().remove_child(m.end);
        names_.removeAll(name);
        marks_.erase(it);
        return true;
    }

    static bool holds(const pugi::xml_node& node, pugi::xml_node inner)
    {
        while ((inner = inner.parent())) {
            if (inner == node)
                return true;
        }
        return false;
    }

    // Removes `node`; the bookmarks it holds (in a damaged file: no word
    // processor writes them there) stand just before `place` instead.
    static void removeNode(Part& part, const pugi::xml_node& node, const pugi::xml_node& place)
    {
        std::vector<pugi::xml_node> held;
        node.find_node([&](const pugi::xml_node& n) { // finding none, it visits them all
            if (named(n, "w:bookmarkStart") || named(n, "w:bookmarkEnd"))
                held.push_back(n);
            return false;
        });
        for (pugi::xml_node bookmark : held) {
            part.touch(bookmark.parent());
            part.touch(place.parent());
            place.parent().insert_move_before(bookmark, place);
        }
        part.touch(node.parent());
        node.parent().remove_child(node);
    }

    // An entry inflated, no further than the room left for it: sizes in the
    // directory are taken as a first check only.
    bool entry(zip_uint64_t index, QByteArray& content)
    {
        const zip_uint64_t room = std::min(kPartLimit, kPackageLimit - inflated_);
        zip_stat_t stat;
        if (zip_stat_index(archive_, index, 0, &stat) != 0 || ((stat.valid & ZIP_STAT_SIZE) && stat.size > room))
            return false;
        zip_file_t* file = zip_fopen_index(archive_, index, 0);
        if (!file)
            return false;
        content.clear();
        content.reserve(static_cast<qsizetype>(stat.valid & ZIP_STAT_SIZE ? stat.size : 0));
        char piece[1 << 16];
        zip_int64_t read = 0;
        while ((read = zip_fread(file, piece, sizeof piece)) > 0
               && static_cast<zip_uint64_t>(content.size() + read) <= room)
            content.append(piece, static_cast<qsizetype>(read));
        zip_fclose(file);
        inflated_ += static_cast<zip_uint64_t>(content.size());
        return read == 0;
    }

    // The main document part named by the package relationships.
    QString mainPart()
    {
        const zip_int64_t index = zip_name_locate(archive_, "_rels/.rels", 0);
        QByteArray content;
        if (index >= 0 && entry(static_cast<zip_uint64_t>(index), content)) {
            pugi::xml_document rels;
            if (rels.load_buffer(content.constData(), static_cast<size_t>(content.size()))) {
                for (pugi::xml_node r : rels.document_element().children("Relationship")) {
                    if (QString::fromUtf8(r.attribute("Type").value()).endsWith(QStringLiteral("/officeDocument"))) {
                        QString target = QString::fromUtf8(r.attribute("Target").value());
                        while (target.startsWith(QLatin1Char('/')))
                            target.remove(0, 1);
                        return target;
                    }
                }
            }
        }
        return QStringLiteral("word/document.xml");
    }

    // False for a part nested deeper than any word processor writes.
    bool index()
    {
        for (const auto& part : parts_) {
            std::vector<pugi::xml_node> found; // starts and ends, in document order
            if (!collect(part->xml, found, ids_))
                return false;
            // An end closes the nearest open start of its number: a number
            // used twice (in a damaged file) pairs no end before its start.
            // A start without its end is no bookmark (LibreOffice writes one
            // before the whole bookmark when it spans paragraphs).
            std::vector<std::pair<pugi::xml_node, pugi::xml_node>> complete;
            std::unordered_map<QString, std::vector<std::size_t>> open;
            for (pugi::xml_node node : found) {
                const QString id = attribute(node, "w:id");
                if (named(node, "w:bookmarkStart")) {
                    open[id].push_back(complete.size());
                    complete.emplace_back(node, pugi::xml_node());
                } else if (auto o = open.find(id); o != open.end() && !o->second.empty()) {
                    complete[o->second.back()].second = node;
                    o->second.pop_back();
                }
            }
            for (const auto& [start, end] : complete) {
                const QString name = attribute(start, "w:name");
                if (name.isEmpty() || !end || marks_.count(name))
                    continue;
                marks_.emplace(name, Mark{part.get(), start, end});
                names_ << name;
            }
        }
        marks_.reserve(2 * marks_.size() + 64); // room for the insertions' own bookmarks
        return true;
    }

    // Goes down the tree a level at a time, not a call per level.
    static bool collect(const pugi::xml_node& root, std::vector<pugi::xml_node>& found,
                        std::unordered_set<int>& ids)
    {
        int depth = 1;
        for (pugi::xml_node node = root.first_child(); node;) {
            if (named(node, "w:bookmarkStart") || named(node, "w:bookmarkEnd")) {
                found.push_back(node);
                ids.insert(node.attribute("w:id").as_int(-1));
            }
            if (node.first_child()) {
                if (++depth > kDeepestNesting)
                    return false;
                node = node.first_child();
                continue;
            }
            while (node != root && !node.next_sibling()) {
                node = node.parent();
                --depth;
            }
            node = node == root ? pugi::xml_node() : node.next_sibling();
        }
        return true;
    }

    // The smallest bookmark number no bookmark of the file has: numbers stay
    // small whatever the file holds, as other word processors read them.
    int nextId()
    {
        while (ids_.count(nextId_))
            ++nextId_;
        return nextId_++;
    }

    // Visits, in document order, the visible content between the bookmark's
    // start and end; `paragraphEnd` runs at each paragraph that ends there.
    template <class Visit, class ParagraphEnd>
    static void walk(const Mark& m, Visit visit, ParagraphEnd paragraphEnd)
    {
        bool inside = false;
        bool done = false;
        std::function<void(const pugi::xml_node&)> go = [&](const pugi::xml_node& node) {
            for (pugi::xml_node child = node.first_child(); child && !done; child = child.next_sibling()) {
                if (child == m.start) {
                    inside = true;
                } else if (child == m.end) {
                    done = true;
                } else if (child.type() == pugi::node_element && !isHiddenContent(child)) {
                    if (inside)
                        visit(child);
                    go(child);
                    if (inside && !done && named(child, "w:p"))
                        paragraphEnd();
                }
            }
        };
        go(m.part->xml);
    }

    // The run formatting at an insertion point: the run with text before it
    // in the paragraph, or else the one after it, or else the paragraph mark.
    static pugi::xml_node runFormat(const pugi::xml_node& paragraph, const pugi::xml_node& end)
    {
        for (const bool backwards : {true, false}) {
            pugi::xml_node n = end;
            for (;;) {
                pugi::xml_node next = backwards ? n.previous_sibling() : n.next_sibling();
                if (!next) {
                    n = n.parent();
                    if (!n || n == paragraph)
                        break;
                    continue;
                }
                n = next;
                // Into containers (hyperlinks, fields), from the near side.
                while (n.type() == pugi::node_element && !named(n, "w:r")
                       && (backwards ? n.last_child() : n.first_child()) && !isHiddenContent(n))
                    n = backwards ? n.last_child() : n.first_child();
                if (named(n, "w:r") && hasText(n))
                    return n.child("w:rPr");
            }
        }
        return paragraph.child("w:pPr").child("w:rPr");
    }

    static void copyFormat(pugi::xml_node run, const pugi::xml_node& format)
    {
        pugi::xml_node copy = run.append_copy(format);
        if (!named(copy, "w:rPr"))
            copy.set_name("w:rPr");
        for (pugi::xml_node child = copy.first_child(); child;) {
            const pugi::xml_node next = child.next_sibling();
            if (isRevision(child))
                copy.remove_child(child);
            child = next;
        }
    }

    // The last paragraph a bookmark ending between paragraphs (or in a table
    // cell outside its paragraphs) holds; null when it holds none.
    static pugi::xml_node lastParagraphHeld(const Mark& m)
    {
        for (pugi::xml_node sibling = m.end.previous_sibling(); sibling && sibling != m.start;
             sibling = sibling.previous_sibling()) {
            if (pugi::xml_node p = lastParagraphIn(sibling))
                return p;
        }
        return {};
    }

    // An empty bookmark between paragraphs: both its ends go to the start of
    // the paragraph after it, where it stands.
    static pugi::xml_node moveIntoNextParagraph(Mark& m)
    {
        const bool startOutside = !paragraphOf(m.start);
        pugi::xml_node p;
        for (pugi::xml_node sibling = m.end.next_sibling(); sibling && !p; sibling = sibling.next_sibling())
            p = firstParagraphIn(sibling);
        m.part->touch(m.end.parent());
        m.part->touch(m.start.parent());
        if (!p)
            p = m.end.parent().insert_child_after("w:p", m.end);
        m.part->touch(p);
        if (pugi::xml_node properties = p.child("w:pPr"))
            p.insert_move_after(m.end, properties);
        else
            p.prepend_move(m.end);
        if (startOutside)
            p.insert_move_before(m.start, m.end);
        return p;
    }

    // Splits the paragraph holding `node` in two just before it, splitting
    // the containers between them (hyperlinks, fields) the same way.
    static void splitBefore(Part& part, const pugi::xml_node& at)
    {
        pugi::xml_node node = at;
        for (;;) {
            pugi::xml_node container = node.parent();
            part.touch(container);
            part.touch(container.parent());
            part.touch(container.child("w:pPr"));
            pugi::xml_node clone = container.parent().insert_child_after(container.name(), container);
            for (pugi::xml_attribute a : container.attributes()) {
                if (std::strcmp(a.name(), "w14:paraId") != 0 && std::strcmp(a.name(), "w14:textId") != 0)
                    clone.append_copy(a);
            }
            for (pugi::xml_node child = container.first_child(); child && child != node; child = child.next_sibling()) {
                const QByteArray name(child.name());
                if (child.type() == pugi::node_element && name.endsWith("Pr"))
                    clone.append_copy(child);
            }
            const bool paragraph = named(container, "w:p");
            const pugi::xml_node section = container.child("w:pPr").child("w:sectPr");
            if (paragraph && section) // a section ends after the last of the two
                removeNode(part, section, section);
            for (pugi::xml_node n = node; n;) {
                const pugi::xml_node next = n.next_sibling();
                clone.append_move(n);
                n = next;
            }
            if (paragraph)
                return;
            node = clone;
        }
    }

    QByteArray original_;
    zip_t* archive_ = nullptr;
    std::vector<std::unique_ptr<Part>> parts_;
    std::unordered_map<QString, Mark, BookmarkNameHash, BookmarkNameEqual> marks_; // names without regard to case
    QStringList names_;
    std::unordered_set<int> ids_; // of the file's bookmarks
    int nextId_ = 0;
    zip_uint64_t inflated_ = 0; // of the whole package so far
    std::vector<Pending> pending_;
};

} // namespace

std::unique_ptr<DocumentBody> readDocx(const QByteArray& bytes)
{
    auto body = std::make_unique<DocxBody>(bytes);
    if (!body->read())
        return nullptr;
    return body;
}

} // namespace platform::detail
