#include "xml_document.h"

#include <iconv.h>
#include <libxml/tree.h>
#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <deque>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <unordered_map>

#include "atomic_file.h"
#include "code_page.h"
#include "error.h"

namespace tv {
namespace {

class EncodedOutput;

constexpr std::uint32_t kNone = 0xFFFFFFFF;      // no node
constexpr std::uint32_t kDocument = 0xFFFFFFFE;  // the parent of a document-level element

// Attributes of an element are packed in one block of the pool:
//   [u32 name id][u32 value length][value bytes, UTF-8] ... repeated.
std::uint32_t GetU32(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
void PutU32(char* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// Append-only byte storage in chunks that never move.
class Pool {
 public:
  char* Allocate(std::size_t n) {
    if (static_cast<std::size_t>(end_ - cursor_) < n) {
      const std::size_t size = std::max(n, kChunk);
      chunks_.emplace_back(new char[size]);
      cursor_ = chunks_.back().get();
      end_ = cursor_ + size;
    }
    char* p = cursor_;
    cursor_ += n;
    return p;
  }
  // Grows the block that ends at `blockEnd` by n bytes when it is the last
  // one allocated and its chunk has room.
  bool Extend(const char* blockEnd, std::size_t n) {
    if (blockEnd != cursor_ || static_cast<std::size_t>(end_ - cursor_) < n) return false;
    cursor_ += n;
    return true;
  }

 private:
  static constexpr std::size_t kChunk = 1 << 20;
  std::vector<std::unique_ptr<char[]>> chunks_;
  char* cursor_ = nullptr;
  char* end_ = nullptr;
};

struct Element {
  std::uint32_t name;
  std::uint32_t parent = kNone;
  std::uint32_t firstChild = kNone;
  std::uint32_t lastChild = kNone;
  std::uint32_t nextSibling = kNone;
  std::uint32_t attrBytes = 0;
  char* attrs = nullptr;
  bool loaded = false;  // read from a file
};

// A node at document level, in document order.
struct TopNode {
  enum Kind { Comment, ProcessingInstruction, DocumentType, RootElement } kind;
  std::string name;     // PI target, document type name
  std::string content;  // comment text, PI data, document type internal subset
  std::string publicId, systemId;
  std::uint32_t element = kNone;
};

struct Hash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

void IgnoreError(void*, xmlErrorPtr) {}
void IgnoreGenericError(void*, const char*, ...) {}

// Whether the file starts with an XML declaration, in any of the encodings
// that a declaration can be written in without a byte order mark or after one.
bool StartsWithDeclaration(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  unsigned char b[16] = {};
  in.read(reinterpret_cast<char*>(b), sizeof b);
  const auto n = static_cast<std::size_t>(in.gcount());
  auto matches = [&](std::size_t offset, std::size_t step, std::size_t pad) {
    const char* decl = "<?xml";
    for (std::size_t i = 0; i < 6; ++i) {
      const std::size_t at = offset + i * step;
      if (at + step > n) return false;
      const unsigned char c = b[at + pad];
      if (i < 5 ? c != static_cast<unsigned char>(decl[i])
                : !(c == ' ' || c == '\t' || c == '\r' || c == '\n'))
        return false;
      for (std::size_t k = 0; k < step; ++k) {
        if (k != pad && b[at + k] != 0) return false;
      }
    }
    return true;
  };
  const std::size_t utf8Bom = (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) ? 3 : 0;
  const std::size_t utf16Bom =
      (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) ? 2 : 0;
  return matches(utf8Bom, 1, 0) || matches(utf16Bom, 2, 0) || matches(utf16Bom, 2, 1);
}

}  // namespace

struct XmlDocument::Store {
  std::deque<Element> elements;
  Pool pool;
  std::vector<std::string> names;
  std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> nameIds;
  std::vector<TopNode> top;
  bool hasDeclaration = false;
  std::string version = "1.0", encoding;
  int standalone = -1;

  std::uint32_t Intern(std::string_view name) {
    const auto it = nameIds.find(name);
    if (it != nameIds.end()) return it->second;
    const auto id = static_cast<std::uint32_t>(names.size());
    names.emplace_back(name);
    nameIds.emplace(names.back(), id);
    return id;
  }
  std::uint32_t Find(std::string_view name) const {
    const auto it = nameIds.find(name);
    return it == nameIds.end() ? kNone : it->second;
  }
  std::uint32_t NewElement(std::uint32_t name) {
    if (elements.size() >= kDocument) throw Error("El documento XML tiene demasiados elementos");
    elements.push_back(Element{name});
    return static_cast<std::uint32_t>(elements.size() - 1);
  }
  void AppendChild(std::uint32_t parent, std::uint32_t child) {
    Element& p = elements[parent];
    elements[child].parent = parent;
    if (p.lastChild == kNone) {
      p.firstChild = child;
    } else {
      elements[p.lastChild].nextSibling = child;
    }
    p.lastChild = child;
  }
  std::uint32_t Root() const {
    for (const TopNode& node : top) {
      if (node.kind == TopNode::RootElement) return node.element;
    }
    return kNone;
  }
  // The value of attribute `name` of an element, or nothing.
  std::optional<std::string_view> Attribute(std::uint32_t index, std::uint32_t name) const {
    const Element& e = elements[index];
    for (std::uint32_t at = 0; at < e.attrBytes;) {
      const std::uint32_t length = GetU32(e.attrs + at + 4);
      if (GetU32(e.attrs + at) == name) return std::string_view(e.attrs + at + 8, length);
      at += 8 + length;
    }
    return std::nullopt;
  }
  void SetAttribute(std::uint32_t index, std::uint32_t name, std::string_view value) {
    Element& e = elements[index];
    const std::size_t entry = 8 + value.size();
    if (!Attribute(index, name) && pool.Extend(e.attrs + e.attrBytes, entry)) {
      Put(e.attrs + e.attrBytes, name, value);
      e.attrBytes += static_cast<std::uint32_t>(entry);
      return;
    }
    // Rewrite the block, the attribute in its place or at the end.
    std::string block, entryBytes(entry, '\0');
    Put(entryBytes.data(), name, value);
    bool replaced = false;
    for (std::uint32_t at = 0; at < e.attrBytes;) {
      const std::uint32_t length = GetU32(e.attrs + at + 4);
      const bool same = GetU32(e.attrs + at) == name;
      block.append(same ? std::string_view(entryBytes)
                        : std::string_view(e.attrs + at, 8 + length));
      replaced = replaced || same;
      at += 8 + length;
    }
    if (!replaced) block += entryBytes;
    e.attrs = pool.Allocate(block.size());
    std::memcpy(e.attrs, block.data(), block.size());
    e.attrBytes = static_cast<std::uint32_t>(block.size());
  }
  static void Put(char* at, std::uint32_t name, std::string_view value) {
    PutU32(at, name);
    PutU32(at + 4, static_cast<std::uint32_t>(value.size()));
    std::memcpy(at + 8, value.data(), value.size());
  }
  std::vector<std::uint32_t> Select(std::string_view path) const;
  struct Loader;
  bool Load(const std::filesystem::path& file, Scope scope);
  void Write(EncodedOutput& out, std::uint32_t index) const;
};

// ---------------------------------------------------------------------------
// Loading
//
// libxml2's SAX2 parser reads the file. Its default handlers stay in place
// for the document type, so that internal entities resolve and the internal
// subset can be written back; our own handlers keep elements with their
// attributes, and comments and processing instructions at document level.
// Text is dropped as it is parsed: no libxml2 tree is ever built.

struct XmlDocument::Store::Loader {
  Store& store;
  Scope scope;
  xmlParserCtxtPtr parser;
  std::vector<std::uint32_t> open;  // the element open at each depth; kNone if not kept
  bool tooDeep = false;
  std::optional<std::size_t> documentType;  // its place in `top`
  std::unordered_map<const xmlChar*, std::uint32_t> dictionary;  // libxml2 interns names
  std::string scratch;  // a qualified name being made
  std::string block;    // the attributes of the element being read
  // libxml2 is C, so no exception may cross it: the first one raised in a
  // handler stops the parse and is raised again once the parser returns.
  std::exception_ptr failure;

  void Fail() {
    if (!failure) failure = std::current_exception();
    xmlStopParser(parser);
  }

  // The loader of a callback, or nothing when the callback comes from the
  // parse of an entity's replacement text, which is not kept.
  static Loader* Of(void* context) {
    const auto parser = static_cast<xmlParserCtxtPtr>(context);
    const auto loader = static_cast<Loader*>(parser->_private);
    return loader && loader->parser == parser ? loader : nullptr;
  }

  std::uint32_t NameOf(const xmlChar* prefix, const xmlChar* local) {
    if (prefix) {
      scratch.assign(reinterpret_cast<const char*>(prefix));
      scratch += ':';
      scratch += reinterpret_cast<const char*>(local);
      return store.Intern(scratch);
    }
    const auto [it, added] = dictionary.try_emplace(local, 0);
    if (added) it->second = store.Intern(reinterpret_cast<const char*>(local));
    return it->second;
  }

  static void StartElement(void* context, const xmlChar* local, const xmlChar* prefix,
                           const xmlChar*, int namespaceCount, const xmlChar** namespaces,
                           int attributeCount, int defaultedCount, const xmlChar** attributes) {
    Loader* self = Of(context);
    if (!self) return;
    try {
      Store& store = self->store;
      const std::size_t depth = self->open.size();
      // The nesting limit that libxml2 puts on the trees it builds.
      if (depth >= xmlParserMaxDepth) {
        self->tooDeep = true;
        xmlStopParser(self->parser);
        return;
      }
      if (self->scope == Scope::Envelope && depth > 0) {
        self->open.push_back(kNone);
        return;
      }
      const std::uint32_t index = store.NewElement(self->NameOf(prefix, local));
      std::string& block = self->block;
      block.clear();
      auto put = [&](std::uint32_t name, std::string_view value) {
        block.resize(block.size() + 8 + value.size());
        Put(block.data() + block.size() - 8 - value.size(), name, value);
      };
      // Namespace declarations come first, as attributes named xmlns[:prefix].
      for (int i = 0; i < namespaceCount; ++i) {
        const xmlChar* nsPrefix = namespaces[2 * i];
        const char* uri = reinterpret_cast<const char*>(namespaces[2 * i + 1]);
        const std::uint32_t name =
            nsPrefix ? self->NameOf(BAD_CAST "xmlns", nsPrefix) : store.Intern("xmlns");
        put(name, uri ? uri : "");
      }
      // Values that the document type gives by default come last; like
      // libxml2's own tree, the document does not take them.
      for (int i = 0; i < attributeCount - defaultedCount; ++i) {
        const xmlChar** a = attributes + 5 * i;  // local name, prefix, URI, value, value end
        const std::string_view raw(reinterpret_cast<const char*>(a[3]),
                                   static_cast<std::size_t>(a[4] - a[3]));
        const std::uint32_t name = self->NameOf(a[1], a[0]);
        if (raw.find('&') == std::string_view::npos) {
          put(name, raw);
          continue;
        }
        // A value with references left in it: resolved the way libxml2 resolves
        // an attribute of its own tree.
        const xmlNodePtr list = xmlStringLenGetNodeList(self->parser->myDoc, a[3],
                                                        static_cast<int>(raw.size()));
        const std::unique_ptr<xmlChar, decltype(xmlFree)> value(
            xmlNodeListGetString(self->parser->myDoc, list, 1), xmlFree);
        xmlFreeNodeList(list);
        put(name, value ? reinterpret_cast<const char*>(value.get()) : "");
      }
      Element& e = store.elements[index];
      e.loaded = true;
      if (!block.empty()) {
        e.attrs = store.pool.Allocate(block.size());
        std::memcpy(e.attrs, block.data(), block.size());
        e.attrBytes = static_cast<std::uint32_t>(block.size());
      }
      if (depth == 0) {
        e.parent = kDocument;
        store.top.push_back({.kind = TopNode::RootElement, .element = index});
      } else {
        store.AppendChild(self->open.back(), index);
      }
      self->open.push_back(index);
    } catch (...) {
      self->Fail();
    }
  }

  static void EndElement(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    if (Loader* self = Of(context); self && !self->open.empty()) self->open.pop_back();
  }

  static std::string Text(const xmlChar* s) {
    return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
  }

  static void Comment(void* context, const xmlChar* value) {
    Loader* self = Of(context);
    if (!self) return;
    try {
      if (self->parser->inSubset) {
        xmlSAX2Comment(context, value);
      } else if (self->open.empty()) {
        self->store.top.push_back({.kind = TopNode::Comment, .content = Text(value)});
      }
    } catch (...) {
      self->Fail();
    }
  }

  static void ProcessingInstruction(void* context, const xmlChar* target, const xmlChar* data) {
    Loader* self = Of(context);
    if (!self) return;
    try {
      if (self->parser->inSubset) {
        xmlSAX2ProcessingInstruction(context, target, data);
      } else if (self->open.empty()) {
        self->store.top.push_back(
            {.kind = TopNode::ProcessingInstruction, .name = Text(target), .content = Text(data)});
      }
    } catch (...) {
      self->Fail();
    }
  }

  static void InternalSubset(void* context, const xmlChar* name, const xmlChar* publicId,
                             const xmlChar* systemId) {
    xmlSAX2InternalSubset(context, name, publicId, systemId);
    Loader* self = Of(context);
    if (!self) return;
    try {
      self->documentType = self->store.top.size();
      self->store.top.push_back({.kind = TopNode::DocumentType,
                                 .name = Text(name),
                                 .publicId = Text(publicId),
                                 .systemId = Text(systemId)});
    } catch (...) {
      self->Fail();
    }
  }

  // The declarations of the internal subset, one a line, once it is whole.
  void KeepInternalSubset() {
    const xmlDocPtr doc = parser->myDoc;
    if (!documentType || !doc || !doc->intSubset) return;
    xmlBufferPtr buffer = xmlBufferCreate();
    for (xmlNodePtr child = doc->intSubset->children; child; child = child->next) {
      xmlNodeDump(buffer, doc, child, 0, 0);
      xmlBufferCCat(buffer, "\n");
    }
    store.top[*documentType].content = Text(xmlBufferContent(buffer));
    xmlBufferFree(buffer);
  }
};

bool XmlDocument::Store::Load(const std::filesystem::path& file, Scope scope) {
  struct FreeParser {
    void operator()(xmlParserCtxtPtr p) const {
      if (p->myDoc) xmlFreeDoc(p->myDoc);
      xmlFreeParserCtxt(p);
    }
  };
  const std::unique_ptr<xmlParserCtxt, FreeParser> parser(xmlCreateFileParserCtxt(file.c_str()));
  if (!parser) return false;
  xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET);
  xmlSAXHandler handler;
  xmlSAXVersion(&handler, 2);
  handler.startElementNs = Loader::StartElement;
  handler.endElementNs = Loader::EndElement;
  handler.characters = nullptr;
  handler.ignorableWhitespace = nullptr;
  handler.cdataBlock = nullptr;
  handler.reference = nullptr;
  handler.comment = Loader::Comment;
  handler.processingInstruction = Loader::ProcessingInstruction;
  handler.internalSubset = Loader::InternalSubset;
  handler.serror = IgnoreError;
  *parser->sax = handler;
  Loader loader{.store = *this, .scope = scope, .parser = parser.get()};
  parser->_private = &loader;
  const int rc = xmlParseDocument(parser.get());
  if (loader.failure) std::rethrow_exception(loader.failure);
  if (rc != 0 || !parser->wellFormed || loader.tooDeep || !parser->myDoc) return false;
  loader.KeepInternalSubset();
  const xmlDocPtr doc = parser->myDoc;
  if (doc->version) version = Loader::Text(doc->version);
  encoding = Loader::Text(doc->encoding);
  standalone = doc->standalone;
  return true;
}

XmlDocument::XmlDocument() : store_(std::make_unique<Store>()) {}
XmlDocument::~XmlDocument() = default;

bool XmlDocument::load(const std::filesystem::path& file, Scope scope) {
  static const bool quiet = (xmlSetGenericErrorFunc(nullptr, IgnoreGenericError), true);
  (void)quiet;
  store_ = std::make_unique<Store>();
  auto loaded = std::make_unique<Store>();
  if (!loaded->Load(file, scope)) return false;
  loaded->hasDeclaration = StartsWithDeclaration(file);
  store_ = std::move(loaded);
  return true;
}

// ---------------------------------------------------------------------------
// Selecting and reading

std::vector<std::uint32_t> XmlDocument::Store::Select(std::string_view path) const {
  if (path.empty() || path[0] != '/')
    throw std::invalid_argument("only absolute paths are supported");
  std::vector<std::uint32_t> steps;
  for (std::size_t at = 1; at <= path.size();) {
    const std::size_t slash = std::min(path.find('/', at), path.size());
    const std::uint32_t id = Find(path.substr(at, slash - at));
    if (id == kNone) return {};
    steps.push_back(id);
    at = slash + 1;
  }
  std::vector<std::uint32_t> current;
  const std::uint32_t root = Root();
  if (root != kNone && elements[root].name == steps[0]) current.push_back(root);
  for (std::size_t s = 1; s < steps.size() && !current.empty(); ++s) {
    std::vector<std::uint32_t> next;
    for (const std::uint32_t parent : current) {
      for (std::uint32_t c = elements[parent].firstChild; c != kNone; c = elements[c].nextSibling) {
        if (elements[c].name == steps[s]) next.push_back(c);
      }
    }
    current = std::move(next);
  }
  return current;
}

XmlNodeList XmlDocument::selectNodes(std::string_view path) { return {this, store_->Select(path)}; }

std::optional<XmlNode> XmlDocument::selectSingleNode(std::string_view path) {
  const auto found = store_->Select(path);
  if (found.empty()) return std::nullopt;
  return XmlNode(this, found.front());
}

std::optional<XmlNode> XmlDocument::documentElement() {
  const std::uint32_t root = store_->Root();
  if (root == kNone) return std::nullopt;
  return XmlNode(this, root);
}

XmlNodeList XmlNode::selectNodes(std::string_view path) const {
  return document_->selectNodes(path);
}
std::optional<XmlNode> XmlNode::selectSingleNode(std::string_view path) const {
  return document_->selectSingleNode(path);
}
XmlAttributeMap XmlNode::attributes() const { return XmlAttributeMap(*this); }

XmlNode XmlNodeList::item(std::int32_t index) const {
  if (index < 0 || index >= length()) throw std::out_of_range("node list index");
  return XmlNode(document_, indexes_[static_cast<std::size_t>(index)]);
}

std::optional<XmlAttribute> XmlAttributeMap::getNamedItem(std::string_view name) const {
  const auto& store = *node_.document_->store_;
  const std::uint32_t id = store.Find(name);
  if (id == kNone) return std::nullopt;
  const auto value = store.Attribute(node_.index_, id);
  if (!value) return std::nullopt;
  return XmlAttribute(*value);
}

std::string XmlAttribute::text() const { return Utf8ToAnsi(utf8_); }

std::string AttributeText(XmlNode node, std::string_view name) {
  const auto attribute = node.attributes().getNamedItem(name);
  return attribute ? attribute->text() : std::string();
}

// ---------------------------------------------------------------------------
// Building

XmlNode XmlDocument::createElement(std::string_view tagName) {
  return XmlNode(this, store_->NewElement(store_->Intern(tagName)));
}

XmlNode XmlDocument::createNode(int type, std::string_view name, std::string_view namespaceUri) {
  if (type != XML_ELEMENT_NODE || !namespaceUri.empty()) {
    throw std::invalid_argument("only elements without a namespace can be created");
  }
  return createElement(name);
}

void XmlDocument::removeChild(XmlNode node) {
  auto& top = store_->top;
  for (auto it = top.begin(); it != top.end(); ++it) {
    if (it->kind == TopNode::RootElement && it->element == node.index_ && node.document_ == this) {
      store_->elements[node.index_].parent = kNone;
      top.erase(it);
      return;
    }
  }
  throw Error("El nodo que se quiere quitar no es hijo del documento");
}

namespace {
void RequireDetached(const Element& e) {
  if (e.parent != kNone) throw Error("El nodo ya forma parte del documento");
}
}  // namespace

void XmlDocument::appendChild(XmlNode node) {
  if (store_->Root() != kNone)
    throw Error("Sólo se permite un elemento de nivel superior en un documento XML");
  Element& e = store_->elements[node.index_];
  RequireDetached(e);
  e.parent = kDocument;
  store_->top.push_back({.kind = TopNode::RootElement, .element = node.index_});
}

void XmlNode::appendChild(XmlNode child) {
  auto& store = *document_->store_;
  RequireDetached(store.elements[child.index_]);
  if (child.index_ == index_) throw Error("Un nodo no puede ser hijo de sí mismo");
  store.AppendChild(index_, child.index_);
}

void XmlNode::setAttribute(std::string_view name, std::string_view ansiValue) {
  auto& store = *document_->store_;
  store.SetAttribute(index_, store.Intern(name), AnsiToUtf8(ansiValue));
}

void XmlNode::setAttribute(std::string_view name, std::int32_t value) {
  setAttribute(name, std::to_string(value));
}

// ---------------------------------------------------------------------------
// Saving

namespace {

// Writes UTF-8 text to a file in a named encoding, in chunks; a character
// the encoding lacks is written as a character reference.
class EncodedOutput {
 public:
  EncodedOutput(AtomicFile& file, const std::string& encoding) : file_(file) {
    if (!encoding.empty() && !SameName(encoding, "UTF-8")) {
      cd_ = iconv_open(encoding.c_str(), "UTF-8");
      if (cd_ == reinterpret_cast<iconv_t>(-1)) {
        throw Error(Format("No se puede escribir en la codificación '%s'", {encoding}));
      }
    }
  }
  ~EncodedOutput() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  EncodedOutput& operator<<(std::string_view utf8) {
    pending_ += utf8;
    if (pending_.size() >= kChunk) Flush();
    return *this;
  }
  void Flush() {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      file_.Write(pending_);
    } else {
      Convert(pending_);
    }
    pending_.clear();
  }

 private:
  static constexpr std::size_t kChunk = 1 << 16;
  static bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::toupper(static_cast<unsigned char>(x)) ==
                    std::toupper(static_cast<unsigned char>(y));
           });
  }
  void Convert(const std::string& utf8) {
    char* in = const_cast<char*>(utf8.data());
    std::size_t left = utf8.size();
    std::string out(utf8.size() * 4 + 64, '\0');
    while (left > 0) {
      char* dst = out.data();
      std::size_t room = out.size();
      const std::size_t r = iconv(cd_, &in, &left, &dst, &room);
      file_.Write(std::string_view(out.data(), out.size() - room));
      if (r == static_cast<std::size_t>(-1) && errno == EILSEQ) {
        // One character the encoding lacks: a reference to its number.
        const auto lead = static_cast<unsigned char>(*in);
        const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && k < left; ++k)
          c = (c << 6) | (static_cast<unsigned char>(in[k]) & 0x3F);
        in += std::min(length, left);
        left -= std::min(length, left);
        Convert("&#" + std::to_string(static_cast<unsigned long>(c)) + ";");
      } else if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
        throw Error(Format("No se puede convertir el texto a la codificación del documento: %s",
                           {SystemErrorText(errno)}));
      }
    }
  }
  AtomicFile& file_;
  iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
  std::string pending_;
};

// An attribute value between double quotes. XML forbids the other control
// characters even as references, so they become '?', as a character the
// encoding lacks would.
std::string Escaped(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '\t':
        out += "&#9;";
        break;
      default:
        out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
  }
  return out;
}

}  // namespace

void XmlDocument::Store::Write(EncodedOutput& out, std::uint32_t index) const {
  const Element& e = elements[index];
  if (e.loaded) throw std::logic_error("elements read from a file cannot be saved");
  out << "<" << names[e.name];
  for (std::uint32_t at = 0; at < e.attrBytes;) {
    const std::uint32_t length = GetU32(e.attrs + at + 4);
    out << " " << names[GetU32(e.attrs + at)] << "=\""
        << Escaped(std::string_view(e.attrs + at + 8, length)) << "\"";
    at += 8 + length;
  }
  if (e.firstChild == kNone) {
    out << "/>";
    return;
  }
  out << ">";
  for (std::uint32_t c = e.firstChild; c != kNone; c = elements[c].nextSibling) Write(out, c);
  out << "</" << names[e.name] << ">";
}

void XmlDocument::save(const std::filesystem::path& file) const {
  const Store& s = *store_;
  AtomicFile target(file);
  {
    EncodedOutput out(target, s.hasDeclaration ? s.encoding : std::string());
    if (s.hasDeclaration) {
      out << "<?xml version=\"" << s.version << "\"";
      if (!s.encoding.empty()) out << " encoding=\"" << s.encoding << "\"";
      if (s.standalone == 0 || s.standalone == 1)
        out << " standalone=\"" << (s.standalone ? "yes" : "no") << "\"";
      out << "?>\n";
    }
    for (const TopNode& node : s.top) {
      switch (node.kind) {
        case TopNode::Comment:
          out << "<!--" << node.content << "-->";
          break;
        case TopNode::ProcessingInstruction:
          out << "<?" << node.name << (node.content.empty() ? "" : " ") << node.content << "?>";
          break;
        case TopNode::DocumentType:
          out << "<!DOCTYPE " << node.name;
          if (!node.publicId.empty()) {
            out << " PUBLIC \"" << node.publicId << "\" \"" << node.systemId << "\"";
          } else if (!node.systemId.empty()) {
            out << " SYSTEM \"" << node.systemId << "\"";
          }
          if (!node.content.empty()) out << " [\n" << node.content << "]";
          out << ">";
          break;
        case TopNode::RootElement:
          s.Write(out, node.element);
          break;
      }
      out << "\n";
    }
    out.Flush();
  }
  target.Commit();
}

}  // namespace tv
