// Builds a tree from the fuzzer's bytes through the document tree's public
// operations (create, link, set attributes, set values, normalize, release),
// then writes the whole document and one of its nodes with the serializer in
// both output forms.  Refusals of the tree are expected; what the serializer
// writes must scan to its end.

#include <string>
#include <vector>

#include "dom/domDocument.h"
#include "dom/domErrors.h"
#include "dom/domSerializer.h"
#include "memoryPlatform.h"
#include "targets.h"
#include "xml/xmlScanner.h"

namespace brimlow::fuzz {

namespace {

// Takes the bytes one decision at a time; once they run out every answer is 0.
class Decisions {
 public:
  explicit Decisions(std::string_view bytes) : FBytes(bytes) {}

  bool more() const { return FAt < FBytes.size(); }
  unsigned byte() { return more() ? static_cast<unsigned char>(FBytes[FAt++]) : 0; }
  size_t below(size_t bound) { return bound == 0 ? 0 : byte() % bound; }

  // A short UTF-16 text: mostly name-like ASCII, sometimes any code unit, so
  // that markup characters, line ends and lone surrogates all turn up.
  std::u16string text() {
    std::u16string result(below(12), u'a');
    for (char16_t& unit : result) {
      const unsigned kind = byte();
      if (kind < 160)
        unit = static_cast<char16_t>(u'a' + kind % 26);
      else if (kind < 200)
        unit = u"<>&\"'\r\n\t ]-?:;#"[kind % 16];
      else
        unit = static_cast<char16_t>(byte() << 8 | byte());
    }
    return result;
  }

 private:
  std::string_view FBytes;
  size_t FAt = 0;
};

TDomNode* Create(TDomDocument& document, Decisions& next) {
  switch (next.below(8)) {
    case 0:
    case 1: return document.createElement(next.text());
    case 2: return document.createTextNode(next.text());
    case 3: return document.createCDATASection(next.text());
    case 4: return document.createComment(next.text());
    case 5: return document.createProcessingInstruction(next.text(), next.text());
    case 6: return document.createEntityReference(next.text());
    default: return document.createDocumentFragment();
  }
}

void Change(TDomDocument& document, std::vector<TDomNode*>& nodes, Decisions& next) {
  TDomNode* node = nodes[next.below(nodes.size())];
  switch (next.below(5)) {
    case 0:
    case 1: nodes.push_back(Create(document, next)); break;
    case 2: node->appendChild(nodes[next.below(nodes.size())]); break;
    case 3:
      if (node->nodeType() == ntElement_Node)
        static_cast<TDomElement*>(node)->setAttribute(next.text(), next.text());
      break;
    default: node->setNodeValue(next.text()); break;
  }
}

void ScanToTheEnd(const std::string& bytes) {
  MemoryPlatform memory(bytes);
  platform::ScopedPlatform scoped(memory);
  TXmlEventScanner scanner;
  scanner.SetFilename("written.xml");
  scanner.Run();
}

}  // namespace

void SerializeAnyTree(std::string_view bytes) {
  Decisions next(bytes);
  TDomImplementation implementation;
  auto* document = new TDomDocument(&implementation);
  std::vector<TDomNode*> nodes{document};
  while (next.more() && nodes.size() < 200) {
    try {
      Change(*document, nodes, next);
    } catch (const EDomException&) {
      // A refused name or link leaves the tree as it was.
    }
  }

  // Normalizing frees the text nodes it merges, so it comes last, and what
  // is written besides the document is a node it never frees.
  std::vector<TDomNode*> kept;
  for (TDomNode* node : nodes)
    if (node->nodeType() == ntElement_Node || node->nodeType() == ntDocument_Fragment_Node)
      kept.push_back(node);
  TDomNode* part = kept.empty() ? document : kept[next.below(kept.size())];
  if (next.byte() & 1) part->normalize();
  if (next.byte() & 1) document->normalize();

  TDomSerializer serializer;
  serializer.setDOMImpl(&implementation);
  serializer.setIncludeXmlDecl(next.byte() & 1);
  for (TDomNode* node : {static_cast<TDomNode*>(document), part}) {
    std::string written;
    if (serializer.writeToString(node, u"utf-8", written)) ScanToTheEnd(written);
    std::u16string wide;
    serializer.writeToWideString(node, wide);
  }
  document->release();
}

}  // namespace brimlow::fuzz
