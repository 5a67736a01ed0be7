#include "pugixmlPeer.h"

#include <pugixml.hpp>
#include <stdexcept>

namespace brimlow::bench {

namespace {

// Depth first and without recursion, in document order: each element's
// start, then its texts and child elements.
void Walk(const pugi::xml_node& root, RecordFiller& filler) {
  pugi::xml_node node = root.first_child();
  while (node) {
    switch (node.type()) {
      case pugi::node_element:
        filler.Start(node.name(), [&node](const char* name) {
          const pugi::xml_attribute attribute = node.attribute(name);
          return attribute ? attribute.value() : nullptr;
        });
        break;
      case pugi::node_pcdata: filler.Text(node.value()); break;
      case pugi::node_cdata: filler.CData(node.value()); break;
      default: break;
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (!node.next_sibling()) {
      node = node.parent();
      if (node == root) return;
    }
    node = node.next_sibling();
  }
}

}  // namespace

PeerList LoadWithPugixml(const std::string& fileName) {
  pugi::xml_document document;
  // Whitespace-only text is dropped as the program's reader drops it;
  // references and line ends are resolved by the parser.
  const pugi::xml_parse_result parsed = document.load_file(
      fileName.c_str(), pugi::parse_default | pugi::parse_cdata, pugi::encoding_utf8);
  if (parsed.status == pugi::status_file_not_found || parsed.status == pugi::status_io_error)
    throw std::runtime_error("cannot open " + fileName);
  PeerList list;
  RecordFiller filler(list);
  Walk(document, filler);
  return list;
}

}  // namespace brimlow::bench
