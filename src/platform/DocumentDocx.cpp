// Office Open XML documents: the package, its bookmarks and the text put in and taken out at them.
#include "platform/DocumentBody.h"
#include "platform/DocxBookmarks.h"
#include "platform/DocxEditing.h"
#include "platform/DocxElements.h"
#include "platform/DocxPackage.h"

#include <pugixml.hpp>

#include <memory>
#include <utility>
#include <vector>

namespace platform::detail {

namespace {

using namespace docx;

class DocxBody final : public DocumentBody, private DocxBookmarks {
    struct Pending {
        QString bookmark;
        QString text;
        QString hiddenName;
        int id;
    };

public:
    explicit DocxBody(QByteArray bytes) : package_(std::move(bytes)) {}

    // A package holding more than a contract ever does is TooLarge.
    bool read()
    {
        const Reading reading = package_.read();
        if (reading == Reading::TooLarge)
            throw TooLarge{};
        return reading == Reading::Read && index(package_.parts());
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
        marks_[hiddenName] = insertIntoTree(m, text, hiddenName, id);
    }

    bool removeWithText(const QString& name) override
    {
        materialize();
        const auto it = marks_.find(name);
        if (it == marks_.end() || !removeFromTree(it->second))
            return false;
        names_.removeAll(name);
        marks_.erase(it);
        return true;
    }

    QByteArray serialize() override { return package_.serialize(); }

private:
    // Puts the insertions kept as XML into the tree, in the order they came.
    void materialize()
    {
        if (pending_.empty())
            return;
        const std::vector<Pending> pending = std::move(pending_);
        pending_.clear();
        for (const auto& part : package_.parts())
            part->dropSplices();
        for (const Pending& p : pending)
            marks_.at(p.bookmark).pending = false;
        for (const Pending& p : pending)
            marks_[p.hiddenName] = insertIntoTree(marks_.at(p.bookmark), p.text, p.hiddenName, p.id);
    }

    DocxPackage package_;
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
