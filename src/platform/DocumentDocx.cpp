// Office Open XML: the parts that can hold bookmarks (the main document,
// headers, footers, notes) are read as XML trees; every other entry of the
// archive is written back as it was read, still compressed.
#include "platform/DocumentBody.h"

#include <QRegularExpression>

#include <pugixml.hpp>
#include <zip.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace platform::detail {

namespace {

bool named(const pugi::xml_node& node, const char* name)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
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

struct Part {
    zip_uint64_t index = 0;
    pugi::xml_document xml;
    bool changed = false;
};

class DocxBody final : public DocumentBody {
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
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const QString name = QString::fromUtf8(zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0));
            const bool isMain = name == main;
            if (!isMain && !(name.startsWith(folder) && stories.match(name.mid(folder.size())).hasMatch()))
                continue;
            auto part = std::make_unique<Part>();
            part->index = static_cast<zip_uint64_t>(i);
            QByteArray content;
            if (!entry(part->index, content))
                return false;
            constexpr unsigned options = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration;
            const auto parsed = part->xml.load_buffer(content.constData(), static_cast<size_t>(content.size()),
                                                      options, pugi::encoding_utf8);
            if (!parsed)
                return false;
            foundMain = foundMain || isMain;
            parts_.push_back(std::move(part));
        }
        if (!foundMain)
            return false;
        index();
        return true;
    }

    QStringList bookmarkNames() override { return names_; }

    bool hasBookmark(const QString& name) override { return marks_.count(name.toLower()) > 0; }

    QString bookmarkText(const QString& name) override
    {
        const Mark& m = marks_.at(name.toLower());
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
        Mark& m = marks_.at(bookmark.toLower());
        // The new bookmark goes just before the end, or, for an end between
        // paragraphs (a bookmark holding a paragraph mark), at the end of the
        // last paragraph the bookmark holds; the template's own bookmark stays
        // as it is.
        pugi::xml_node paragraph = paragraphOf(m.end);
        pugi::xml_node start;
        pugi::xml_node close;
        if (!paragraph && (paragraph = lastParagraphHeld(m))) {
            start = paragraph.append_child("w:bookmarkStart");
            close = paragraph.append_child("w:bookmarkEnd");
        } else {
            if (!paragraph)
                paragraph = moveIntoNextParagraph(m);
            start = m.end.parent().insert_child_before("w:bookmarkStart", m.end);
            close = m.end.parent().insert_child_before("w:bookmarkEnd", m.end);
        }
        const int id = nextId_++;
        start.append_attribute("w:id") = id;
        start.append_attribute("w:name") = hiddenName.toUtf8().constData();
        close.append_attribute("w:id") = id;
        const pugi::xml_node format = runFormat(paragraph, start);

        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                splitBefore(close);
            if (lines[i].isEmpty())
                continue;
            pugi::xml_node run = close.parent().insert_child_before("w:r", close);
            if (format)
                copyFormat(run, format);
            const QStringList pieces = lines[i].split(QLatin1Char('\t'));
            for (qsizetype j = 0; j < pieces.size(); ++j) {
                if (j > 0)
                    run.append_child("w:tab");
                if (pieces[j].isEmpty())
                    continue;
                pugi::xml_node t = run.append_child("w:t");
                t.append_attribute("xml:space") = "preserve";
                t.text().set(pieces[j].toUtf8().constData());
            }
        }
        m.part->changed = true;
        marks_[hiddenName.toLower()] = Mark{m.part, start, close};
        names_ << hiddenName;
    }

    bool removeWithText(const QString& name) override
    {
        const auto it = marks_.find(name.toLower());
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

        std::vector<pugi::xml_node> text;
        walk(m, [&](const pugi::xml_node& node) {
            static const char* const content[] = {"w:t",   "w:tab",           "w:br",          "w:cr",
                                                  "w:sym", "w:noBreakHyphen", "w:softHyphen", "w:ptab"};
            for (const char* c : content) {
                if (named(node, c))
                    text.push_back(node);
            }
        }, [] {});
        for (pugi::xml_node node : text) {
            pugi::xml_node run = node.parent();
            run.remove_child(node);
            if (named(run, "w:r") && !run.find_child([](const pugi::xml_node& c) {
                    return c.type() == pugi::node_element && !named(c, "w:rPr");
                }))
                run.parent().remove_child(run);
        }
        for (std::size_t i = 1; i < paragraphs.size(); ++i) {
            pugi::xml_node p = paragraphs[i];
            const pugi::xml_node properties = p.child("w:pPr");
            if (pugi::xml_node section = properties.child("w:sectPr")) {
                pugi::xml_node target = first.child("w:pPr");
                if (!target)
                    target = first.prepend_child("w:pPr");
                target.remove_child("w:sectPr");
                target.append_move(section);
            }
            for (pugi::xml_node c = p.first_child(); c;) {
                const pugi::xml_node next = c.next_sibling();
                if (c != properties)
                    first.append_move(c);
                c = next;
            }
            p.parent().remove_child(p);
        }
        m.start.parent().remove_child(m.start);
        m.end.parent().remove_child(m.end);
        m.part->changed = true;
        names_.removeAll(name);
        marks_.erase(it);
        return true;
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
            if (part->changed)
                changed[part->index] = part.get();
        }
        std::vector<QByteArray> written; // kept alive until the archive is closed
        written.reserve(changed.size());
        bool ok = true;
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        for (zip_int64_t i = 0; i < count && ok; ++i) {
            const auto index = static_cast<zip_uint64_t>(i);
            const char* name = zip_get_name(archive_, index, 0);
            zip_source_t* source = nullptr;
            const auto found = changed.find(index);
            if (found != changed.end()) {
                ByteWriter writer;
                found->second->xml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
                written.push_back(std::move(writer.out));
                const QByteArray& xml = written.back();
                source = zip_source_buffer(out, xml.constData(), static_cast<zip_uint64_t>(xml.size()), 0);
            } else {
                source = zip_source_zip(out, archive_, index, ZIP_FL_COMPRESSED, 0, -1);
            }
            const zip_int64_t added = source ? zip_file_add(out, name, source, ZIP_FL_ENC_UTF_8) : -1;
            if (added < 0) {
                if (source)
                    zip_source_free(source);
                ok = false;
            } else if (found != changed.end()) {
                zip_set_file_compression(out, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 1);
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
    struct Mark {
        Part* part = nullptr;
        pugi::xml_node start;
        pugi::xml_node end;
    };

    bool entry(zip_uint64_t index, QByteArray& content) const
    {
        zip_stat_t stat;
        if (zip_stat_index(archive_, index, 0, &stat) != 0)
            return false;
        zip_file_t* file = zip_fopen_index(archive_, index, 0);
        if (!file)
            return false;
        content.resize(static_cast<qsizetype>(stat.size));
        const zip_int64_t read = zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        return read == static_cast<zip_int64_t>(stat.size);
    }

    // The main document part named by the package relationships.
    QString mainPart() const
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

    void index()
    {
        int highest = 0;
        for (const auto& part : parts_) {
            std::map<QString, pugi::xml_node> ends;
            std::vector<pugi::xml_node> starts;
            collect(part->xml, starts, ends, highest);
            // A start without its end is no bookmark (LibreOffice writes one
            // before the whole bookmark when it spans paragraphs).
            for (pugi::xml_node s : starts) {
                const QString name = attribute(s, "w:name");
                const auto e = ends.find(attribute(s, "w:id"));
                if (name.isEmpty() || e == ends.end() || marks_.count(name.toLower()))
                    continue;
                marks_[name.toLower()] = Mark{part.get(), s, e->second};
                names_ << name;
            }
        }
        nextId_ = highest + 1;
    }

    static void collect(const pugi::xml_node& node, std::vector<pugi::xml_node>& starts,
                        std::map<QString, pugi::xml_node>& ends, int& highest)
    {
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element)
                continue;
            if (named(child, "w:bookmarkStart")) {
                starts.push_back(child);
                highest = std::max(highest, child.attribute("w:id").as_int());
            } else if (named(child, "w:bookmarkEnd")) {
                ends.emplace(attribute(child, "w:id"), child);
                highest = std::max(highest, child.attribute("w:id").as_int());
            } else if (child.first_child()) {
                collect(child, starts, ends, highest);
            }
        }
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
                while (n.type() == pugi::node_element && !named(n, "w:r") && !isHiddenContent(n)
                       && (backwards ? n.last_child() : n.first_child()))
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
        copy.set_name("w:rPr");
        // Revision marks belong to the run or paragraph mark they came from.
        for (const char* revision : {"w:rPrChange", "w:ins", "w:del", "w:moveFrom", "w:moveTo"})
            copy.remove_child(revision);
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
        if (!p)
            p = m.end.parent().insert_child_after("w:p", m.end);
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
    static void splitBefore(const pugi::xml_node& at)
    {
        pugi::xml_node node = at;
        for (;;) {
            pugi::xml_node container = node.parent();
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
            if (paragraph) // a section ends after the last of the two
                container.child("w:pPr").remove_child("w:sectPr");
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
    std::map<QString, Mark> marks_;
    QStringList names_;
    int nextId_ = 1;
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
