// The .docx package: its entries read within limits, the parts that can hold bookmarks as XML trees, written again.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <pugixml.hpp>
#include <zip.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform::detail::docx {

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

    bool read(QByteArray content);

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
    void touch(const pugi::xml_node& node);

    // Writes the part, handing it to `take` a stretch at a time: the bytes
    // read and the insertions kept as XML between them, or else the part
    // written from the tree, never held whole. False as soon as `take` is.
    bool write(const std::function<bool(std::string_view)>& take) const;

    // Where a node read from the source begins in it; -1 for a node made or
    // copied since.
    static qsizetype startOf(const pugi::xml_node& node);

    // A run's formatting as copyFormat() makes it from `format`: as read,
    // while the part is.
    void printFormat(const pugi::xml_node& format, std::string& out) const;

    static constexpr const char* kAttributeSpecial = "&<>\"\r\n\t";
    static constexpr const char* kTextSpecial = "&<>";

    // `text` with the characters of `special` as character references.
    static void escape(const char* text, const char* special, std::string& out);
    // The same for a text held as UTF-16.
    static void escape(QStringView text, bool attribute, std::string& out);

private:
    class Output;

    // Where the end tag of the part's element starts; -1 when it has none.
    qsizetype rootClose() const;

    // Where the child of a node beginning at `start` ended in the source,
    // by the layout of that node; -1 when it was not one of its children.
    static qsizetype endIn(const Layout& layout, qsizetype start);

    // Just past the '>' of the tag that starts at `start`.
    qsizetype tagEnd(qsizetype start) const;

    void write(const pugi::xml_node& node, const Layout& parent, Output& out) const;

    // A node written from the tree.
    void print(const pugi::xml_node& node, std::string& out) const;

    QByteArray source_;
    std::unordered_map<const void*, Layout> layouts_;
    std::vector<std::pair<qsizetype, std::string>> splices_;
};

// What reading a package came to: read, or refused as no package the program
// can read, or as holding more than a contract ever does.
enum class Reading { Read, Damaged, TooLarge };

// The package as read: the parts that can hold bookmarks (the main document,
// headers, footers, notes) as XML trees; every other entry is written back
// as it was read, still compressed.
class DocxPackage {
public:
    explicit DocxPackage(QByteArray bytes) : original_(std::move(bytes)) {}
    ~DocxPackage();
    DocxPackage(const DocxPackage&) = delete;
    DocxPackage& operator=(const DocxPackage&) = delete;

    // Damaged when the bytes are no package with its main document part, or
    // name an entry twice, or its parts that can hold bookmarks are no XML;
    // too large when those parts, as the directory gives them or as inflated,
    // are more than it may hold.
    Reading read();
    const std::vector<std::unique_ptr<Part>>& parts() const { return parts_; }
    // The package with the parts that changed; empty when it cannot be written.
    QByteArray serialize();

private:
    // An entry inflated, no further than the room left for it: sizes in the
    // directory are taken as a first check only.
    Reading entry(zip_uint64_t index, QByteArray& content);

    // The main document part named by the package relationships into `name`.
    Reading mainPart(QString& name);

    QByteArray original_;
    zip_t* archive_ = nullptr;
    std::vector<std::unique_ptr<Part>> parts_;
    zip_uint64_t inflated_ = 0; // of the whole package so far
};

} // namespace platform::detail::docx
