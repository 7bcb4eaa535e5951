// WordprocessingML elements told apart by name, and the paragraph and story a node stands in.
#pragma once

#include <QString>

#include <pugixml.hpp>

#include <cstring>

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
