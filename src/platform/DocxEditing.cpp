// Inserting at a .docx bookmark's end and removing an insertion: runs, bookmarks and paragraphs split and joined.
#include "platform/DocxEditing.h"

#include "platform/DocxElements.h"

#include <QByteArray>

#include <cstring>
#include <vector>

namespace platform::detail::docx {

namespace {

bool holds(const pugi::xml_node& node, pugi::xml_node inner)
{
    while ((inner = inner.parent())) {
        if (inner == node)
            return true;
    }
    return false;
}

// Removes `node`; the bookmarks it holds (in a damaged file: no word
// processor writes them there) stand just before `place` instead.
void removeNode(Part& part, const pugi::xml_node& node, const pugi::xml_node& place)
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

// The last paragraph a bookmark ending between paragraphs (or in a table
// cell outside its paragraphs) holds; null when it holds none.
pugi::xml_node lastParagraphHeld(const Mark& m)
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
pugi::xml_node moveIntoNextParagraph(Mark& m)
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
void splitBefore(Part& part, const pugi::xml_node& at)
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
                removeBookmarksIn(clone.append_copy(child));
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

} // namespace

Mark insertIntoTree(Mark& m, const QString& text, const QString& hiddenName, int id)
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
    return Mark{m.part, start, close};
}

void fragment(const Part& part, int id, const QString& hiddenName, const pugi::xml_node& format, QStringView text,
              std::string& out)
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

bool removeFromTree(const Mark& m)
{
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
    return true;
}

pugi::xml_node runFormat(const pugi::xml_node& paragraph, const pugi::xml_node& end)
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

} // namespace platform::detail::docx
