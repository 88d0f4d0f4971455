// XML document access for SIGAD interchange files.
//
// A small document object model with the operations the program uses, under
// the names of the classic XML DOM: load, selectNodes, selectSingleNode,
// length/item, attributes/getNamedItem/text, documentElement, removeChild,
// createElement, createNode, setAttribute, appendChild and save.
//
// Reading is built for large files: load streams the file through libxml2's
// SAX parser and keeps only elements and their attributes, packed in arenas
// (element text, comments and whitespace inside the root are not kept), so a
// whole region's file fits in about its own size of memory.
//
// Loading is safe: no DTD is fetched, no external entity is read, nothing goes
// to the network, and entity expansion is bounded. A file that cannot be read
// or is not well-formed XML leaves the document empty; that is not an error.
//
// Text crosses the boundary as 8-bit ANSI (Windows-1252): attribute values
// come out converted, with '?' for a character outside the code page, and
// values given to setAttribute are converted back. Names and paths are ASCII.
//
// Paths are absolute chains of child element names ("/centro/aulas/daula"),
// evaluated from the document whatever node they are applied to.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class XmlDocument;
class XmlNodeList;
class XmlAttributeMap;

// An element of a document. A light handle: it stays valid as long as its
// document lives.
class XmlNode {
 public:
  XmlNodeList selectNodes(std::string_view path) const;
  std::optional<XmlNode> selectSingleNode(std::string_view path) const;
  XmlAttributeMap attributes() const;
  // Sets an attribute, replacing the value of one of that name. A whole
  // number is stored as its decimal text.
  void setAttribute(std::string_view name, std::string_view ansiValue);
  void setAttribute(std::string_view name, std::int32_t value);
  // Makes a created element, not yet in the tree, this node's last child.
  void appendChild(XmlNode child);

  bool operator==(const XmlNode&) const = default;

 private:
  friend class XmlDocument;
  friend class XmlNodeList;
  friend class XmlAttributeMap;
  XmlNode(XmlDocument* document, std::uint32_t index) : document_(document), index_(index) {}
  XmlDocument* document_;
  std::uint32_t index_;
};

// The elements a path selects, in document order.
class XmlNodeList {
 public:
  std::int32_t length() const { return static_cast<std::int32_t>(indexes_.size()); }
  // The node at a zero-based index; throws std::out_of_range outside.
  XmlNode item(std::int32_t index) const;

 private:
  friend class XmlDocument;
  XmlNodeList(XmlDocument* document, std::vector<std::uint32_t> indexes)
      : document_(document), indexes_(std::move(indexes)) {}
  XmlDocument* document_;
  std::vector<std::uint32_t> indexes_;
};

// An attribute node: its value, as read.
class XmlAttribute {
 public:
  // The value in ANSI, with character and entity references resolved and
  // leading and trailing spaces kept.
  std::string text() const;

 private:
  friend class XmlAttributeMap;
  explicit XmlAttribute(std::string_view utf8) : utf8_(utf8) {}
  std::string_view utf8_;
};

// The attributes of an element.
class XmlAttributeMap {
 public:
  // The attribute of that exact name, or nothing.
  std::optional<XmlAttribute> getNamedItem(std::string_view name) const;

 private:
  friend class XmlNode;
  explicit XmlAttributeMap(XmlNode node) : node_(node) {}
  XmlNode node_;
};

// The value of a named attribute of an element, in ANSI; the empty text when
// the element has no such attribute.
std::string AttributeText(XmlNode node, std::string_view name);

// A document: its nodes at document level (XML declaration, document type,
// comments, processing instructions, the root element) and its elements.
class XmlDocument {
 public:
  // How much of the file load keeps.
  enum class Scope {
    Whole,     // every element and attribute
    Envelope,  // the document-level nodes and the root's attributes only:
               // memory does not grow with the file's sections
  };

  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Replaces the content with the file's. Reads the whole file before it
  // returns; returns whether it was well-formed XML (when not, the document is
  // left empty). Throws only when memory runs out.
  bool load(const std::filesystem::path& file, Scope scope = Scope::Whole);

  XmlNodeList selectNodes(std::string_view path);
  std::optional<XmlNode> selectSingleNode(std::string_view path);
  // The root element, or nothing in an empty document.
  std::optional<XmlNode> documentElement();
  // Takes a document-level element out of the document. Throws Error when the
  // node is not a child of the document.
  void removeChild(XmlNode node);
  // A new element, not yet in the tree. createNode takes the node type, which
  // must be 1 (element), and an empty namespace.
  XmlNode createElement(std::string_view tagName);
  XmlNode createNode(int type, std::string_view name, std::string_view namespaceUri);
  // Makes a created element the root. Throws Error when the document already
  // has a root element.
  void appendChild(XmlNode node);

  // Writes the document to the file in the encoding its XML declaration names
  // (UTF-8 without one), with its document-level nodes, and without
  // whitespace between elements. The file is replaced in one step: it is
  // written in full beside its final name first. Throws Error naming the file
  // when it cannot be written. Only documents whose elements were all created
  // here can be saved; elements read from a file keep no text to write.
  void save(const std::filesystem::path& file) const;

 private:
  friend class XmlNode;
  friend class XmlNodeList;
  friend class XmlAttributeMap;
  struct Store;
  std::unique_ptr<Store> store_;
};

}  // namespace tv
