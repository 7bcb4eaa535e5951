// The bookmarks of a .docx by name, each start paired with its end, and the content between them.
#pragma once

#include "platform/DocumentBody.h"
#include "platform/DocxElements.h"
#include "platform/DocxPackage.h"

#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform::detail::docx {

// A bookmark: its start and its end in the tree of its part.
struct Mark {
    Part* part = nullptr;
    pugi::xml_node start;
    pugi::xml_node end;
    bool pending = false; // an insertion kept as XML goes in at its end
};

// The index of the bookmarks that the parts of a document hold.
class DocxBookmarks {
protected:
    // False for a part nested deeper than any word processor writes.
    bool index(const std::vector<std::unique_ptr<Part>>& parts);

    // The smallest bookmark number no bookmark of the file has: numbers stay
    // small whatever the file holds, as other word processors read them.
    int nextId();

    std::unordered_map<QString, Mark, BookmarkNameHash, BookmarkNameEqual> marks_; // names without regard to case
    QStringList names_;

private:
    std::unordered_set<int> ids_; // of the file's bookmarks
    int nextId_ = 0;
};

// Visits, in document order, the visible content between the bookmark's
// start and end; `paragraphEnd` runs at each paragraph that ends there.
template <class Visit, class ParagraphEnd>
void walk(const Mark& m, Visit visit, ParagraphEnd paragraphEnd)
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

} // namespace platform::detail::docx
