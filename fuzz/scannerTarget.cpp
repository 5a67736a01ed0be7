// Runs the event scanner over any bytes with every handler assigned; the first
// byte chooses whether white space is normalised.  The handlers read what they
// are given so that every string the scanner hands out is touched.

#include <cstddef>
#include <cstdint>
#include <string>

#include "memoryPlatform.h"
#include "targets.h"
#include "xml/xmlScanner.h"

namespace {

size_t Touch(const std::string& text) {
  return text.empty() ? 0 : size_t(text.front()) + text.size();
}

size_t Touch(const brimlow::TAttrList& attributes) {
  size_t sum = 0;
  for (const auto& attribute : attributes)
    sum += Touch(attribute.Name) + Touch(attribute.Value);
  return sum;
}

}  // namespace

namespace brimlow::fuzz {

void ScanAnyBytes(std::string_view bytes) {
  if (bytes.empty()) return;
  MemoryPlatform memory(std::string(bytes.substr(1)));
  platform::ScopedPlatform scoped(memory);

  TXmlEventScanner scanner;
  volatile size_t sink = 0;
  scanner.OnXmlProlog = [&](auto&, const std::string& v, const std::string& e, bool) {
    sink = sink + Touch(v) + Touch(e);
  };
  scanner.OnComment = [&](auto&, const std::string& c) { sink = sink + Touch(c); };
  scanner.OnPI = [&](auto&, const std::string& t, const std::string& c, const TAttrList& a) {
    sink = sink + Touch(t) + Touch(c) + Touch(a);
  };
  scanner.OnDtdDeclaration = [&](auto&, const std::string& n) { sink = sink + Touch(n); };
  scanner.OnStartTag = [&](auto&, const std::string& n, const TAttrList& a) {
    sink = sink + Touch(n) + Touch(a);
  };
  scanner.OnEmptyTag = scanner.OnStartTag;
  scanner.OnEndTag = [&](auto&, const std::string& n) { sink = sink + Touch(n); };
  scanner.OnContent = [&](auto&, const std::string& c) { sink = sink + Touch(c); };
  scanner.OnCData = scanner.OnContent;
  scanner.OnElementDecl = [&](auto&, const TElemDef&) { sink = sink + 1; };
  scanner.OnAttListDecl = scanner.OnElementDecl;
  scanner.OnEntityDecl = [&](auto&, const TEntityDef&) { sink = sink + 1; };
  scanner.OnNotationDecl = [&](auto&, const TNotationDef&) { sink = sink + 1; };
  scanner.OnDtdSyntaxError = [&](auto&, TPosition) { sink = sink + 1; };

  scanner.SetFilename("fuzz.xml");
  scanner.SetNormalize((bytes[0] & 1) != 0);
  scanner.Run();
}

}  // namespace brimlow::fuzz
