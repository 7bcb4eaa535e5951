// WordprocessingML elements told apart by name, the paragraph and story a node stands in, and formatting copied.
#pragma once

#include <QString>

#include <pugixml.hpp>

#include <cstring>
#include <vector>

namespace platform::detail::docx {

inline bool named(const pugi::xml_node& node, const char* name)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// Revision marks belong to the run or paragraph mark they came from.
inline bool isRevision(const pugi::xml_node& node)
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

inline bool isBookmark(const pugi::xml_node& node)
{
    return named(node, "w:bookmarkStart") || named(node, "w:bookmarkEnd");
}

// Takes out the bookmark starts and ends `copy` holds: a damaged file may
// have them within formatting, and a copy of one is another bookmark of its
// number, which takes the end of whatever bookmark it comes to stand in.
inline void removeBookmarksIn(const pugi::xml_node& copy)
{
    std::vector<pugi::xml_node> found; // in document order, each before what it holds
    copy.find_node([&](const pugi::xml_node& n) { // finding none, it visits them all
        if (isBookmark(n))
            found.push_back(n);
        return false;
    });
    for (auto b = found.rbegin(); b != found.rend(); ++b)
        b->parent().remove_child(*b);
}

// Gives a new run, as its last child, the formatting of another run or of
// a paragraph mark, without the revision marks of the one it came from.
inline void copyFormat(pugi::xml_node run, const pugi::xml_node& format)
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
    removeBookmarksIn(copy);
}

inline QString attribute(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

// Containers of a story: above them there is no paragraph to write into.
inline bool isStory(const pugi::xml_node& node)
{
    static const char* const stories[] = {"w:body", "w:tc",       "w:hdr",         "w:ftr",   "w:footnote",
                                          "w:endnote", "w:comment", "w:txbxContent", "w:document"};
    for (const char* s : stories) {
        if (named(node, s))
            return true;
    }
    return false;
}

inline pugi::xml_node paragraphOf(pugi::xml_node node)
{
    for (pugi::xml_node n = node.parent(); n; n = n.parent()) {
        if (named(n, "w:p"))
            return n;
        if (isStory(n))
            break;
    }
    return {};
}

inline pugi::xml_node firstParagraphIn(const pugi::xml_node& node)
{
    if (named(node, "w:p"))
        return node;
    for (pugi::xml_node child : node.children()) {
        if (auto found = firstParagraphIn(child))
            return found;
    }
    return {};
}

inline pugi::xml_node lastParagraphIn(const pugi::xml_node& node)
{
    if (named(node, "w:p"))
        return node;
    for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
        if (auto found = lastParagraphIn(child))
            return found;
    }
    return {};
}

inline bool hasText(const pugi::xml_node& run)
{
    return run.child("w:t") || run.child("w:tab");
}

// Subtrees whose content is not the document's visible text.
inline bool isHiddenContent(const pugi::xml_node& node)
{
    static const char* const hidden[] = {"w:pPr", "w:rPr", "w:del", "w:moveFrom", "w:instrText", "w:delText",
                                         "w:sectPr", "w:tblPr", "w:trPr", "w:tcPr"};
    for (const char* h : hidden) {
        if (named(node, h))
            return true;
    }
    return false;
}

} // namespace platform::detail::docx
