// The index of a .docx's bookmarks: starts paired with their ends part by part, parts nested too deep refused.
#include "platform/DocxBookmarks.h"

namespace platform::detail::docx {

namespace {

// Documents nest some tens of levels (tables in tables, text boxes, content
// controls). A part nested deeper is damaged or hostile, and is refused: the
// walks of the tree (walk(), the edits), and pugixml's removal of a node, go
// down a level per call.
constexpr int kDeepestNesting = 1000;

// Goes down the tree a level at a time, not a call per level.
bool collect(const pugi::xml_node& root, std::vector<pugi::xml_node>& found, std::unordered_set<int>& ids)
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

} // namespace

bool DocxBookmarks::index(const std::vector<std::unique_ptr<Part>>& parts)
{
    for (const auto& part : parts) {
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

int DocxBookmarks::nextId()
{
    while (ids_.count(nextId_))
        ++nextId_;
    return nextId_++;
}

} // namespace platform::detail::docx
