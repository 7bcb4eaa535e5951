// Text put into a .docx's tree at the end of a bookmark, and an insertion taken out again with its text.
#pragma once

#include "platform/DocxBookmarks.h"
#include "platform/DocxPackage.h"

#include <QString>
#include <QStringView>

#include <pugixml.hpp>

#include <string>

namespace platform::detail::docx {

// The new bookmark goes just before the end, or, for an end between
// paragraphs (a bookmark holding a paragraph mark), at the end of the
// last paragraph the bookmark holds; the template's own bookmark stays as
// it is. Returns the new bookmark.
Mark insertIntoTree(Mark& m, const QString& text, const QString& hiddenName, int id);

// An insertion as insertIntoTree() puts it into the tree, written as XML.
void fragment(const Part& part, int id, const QString& hiddenName, const pugi::xml_node& format, QStringView text,
              std::string& out);

// The run formatting at an insertion point: the run with text before it
// in the paragraph, or else the one after it, or else the paragraph mark.
pugi::xml_node runFormat(const pugi::xml_node& paragraph, const pugi::xml_node& end);

// Takes the bookmark out with its text, joining the paragraphs it spans;
// false, and nothing changed, when its text does not lie in paragraphs side
// by side.
bool removeFromTree(const Mark& m);

} // namespace platform::detail::docx
