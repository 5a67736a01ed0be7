// brimlow-cli events [--raw] FILE: every event an event scanner delivers for
// FILE, one JSON object per line, in document order, the declarations of a
// document type definition included.  --raw turns the
// white-space normalisation of text off.  External entities and the text
// translation are left to the scanner's own defaults.

#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
#include "platform/platform.h"
#include "xml/xmlScanner.h"

namespace brimlow::cli {

namespace {

// Writes the objects of one scan.  Each object begins with its event name;
// `Key` adds one more member.
class EventWriter {
 public:
  explicit EventWriter(std::ostream& out) : FOut(out) {}

  void Begin(const char* event) { FOut << "{\"event\":\"" << event << '"'; }
  void Key(const char* key) { FOut << ",\"" << key << "\":"; }
  void Text(const char* key, std::string_view value) {
    Key(key);
    writeJsonString(FOut, value);
  }
  void End() { FOut << "}\n"; }

  void Tag(const char* event, const std::string& name, const TAttrList& attributes) {
    Begin(event);
    Text("name", name);
    Key("attrs");
    FOut << '[';
    bool first = true;
    for (const TAttr& attribute : attributes) {
      if (!first) FOut << ',';
      first = false;
      FOut << '[';
      writeJsonString(FOut, attribute.Name);
      FOut << ',';
      writeJsonString(FOut, attribute.Value);
      FOut << ",\"" << DisplayName(attribute.ValueKind) << "\",\""
           << DisplayName(attribute.DeclaredType) << "\"]";
    }
    FOut << ']';
    End();
  }

  void Assign(TCustomEventScanner& scanner) {
    scanner.OnXmlProlog = [this](TCustomEventScanner&, const std::string& version,
                                 const std::string& encoding, bool standalone) {
      Begin("prolog");
      Text("version", version);
      Text("encoding", encoding);
      Key("standalone");
      FOut << (standalone ? "true" : "false");
      End();
    };
    scanner.OnComment = [this](TCustomEventScanner&, const std::string& comment) {
      Begin("comment");
      Text("text", comment);
      End();
    };
    scanner.OnPI = [this](TCustomEventScanner&, const std::string& target,
                          const std::string& content, const TAttrList&) {
      Begin("pi");
      Text("target", target);
      Text("content", content);
      End();
    };
    scanner.OnDtdDeclaration = [this](TCustomEventScanner&, const std::string& name) {
      Begin("doctype");
      Text("name", name);
      End();
    };
    scanner.OnStartTag = [this](TCustomEventScanner&, const std::string& name,
                                const TAttrList& attributes) { Tag("start", name, attributes); };
    scanner.OnEmptyTag = [this](TCustomEventScanner&, const std::string& name,
                                const TAttrList& attributes) { Tag("empty", name, attributes); };
    scanner.OnEndTag = [this](TCustomEventScanner&, const std::string& name) {
      Begin("end");
      Text("name", name);
      End();
    };
    const auto content = [this](TCustomEventScanner&, const std::string& text) {
      Begin("content");
      Text("text", text);
      End();
    };
    scanner.OnContent = content;
    // The program's scanner hands CDATA sections to OnContent; this one is
    // assigned all the same, as every handler is.
    scanner.OnCData = content;
    AssignDefinitionEvents(scanner);
  }

  // The declarations of a document type definition.
  void AssignDefinitionEvents(TCustomEventScanner& scanner) {
    scanner.OnElementDecl = [this](TCustomEventScanner&, const TElemDef& element) {
      Begin("elementDecl");
      Text("name", element.Name);
      Text("contentKind", DisplayName(element.ContentKind));
      Text("contentModel", element.ContentModel);
      End();
    };
    scanner.OnAttListDecl = [this](TCustomEventScanner&, const TElemDef& element) {
      Begin("attListDecl");
      Text("element", element.Name);
      Key("attrs");
      FOut << '[';
      bool first = true;
      for (const TAttrDef& definition : element) {
        FOut << (first ? "{" : ",{");
        first = false;
        FOut << "\"name\":";
        writeJsonString(FOut, definition.Name);
        Text("type", DisplayName(definition.DeclaredType));
        Text("typeText", definition.TypeText);
        Text("defaultKind", DisplayName(definition.DefaultKind));
        Text("value", definition.Value);
        FOut << '}';
      }
      FOut << ']';
      End();
    };
    scanner.OnEntityDecl = [this](TCustomEventScanner&, const TEntityDef& entity) {
      Begin("entityDecl");
      Text("name", entity.Name);
      Text("value", entity.Value);
      Text("systemId", entity.SystemId);
      Text("publicId", entity.PublicId);
      Text("notationId", entity.NotationId);
      End();
    };
    scanner.OnNotationDecl = [this](TCustomEventScanner&, const TNotationDef& notation) {
      Begin("notationDecl");
      Text("name", notation.Name);
      Text("systemId", notation.Value);
      Text("publicId", notation.PublicId);
      End();
    };
    scanner.OnDtdSyntaxError = [this](TCustomEventScanner&, TPosition) {
      Begin("dtdError");
      End();
    };
  }

 private:
  std::ostream& FOut;
};

}  // namespace

void runEvents(const Arguments& arguments, std::ostream& out) {
  bool raw = false;
  std::string file;
  CommandParser parser(
      "events",
      "Prints every event an event scanner delivers for FILE, one JSON object per line, in "
      "document order, the declarations of a document type definition included.");
  parser.add_option("FILE", file, "The XML file")->required();
  parser.addFlagOnce("--raw", raw, "Turns the white-space normalisation of text off");
  if (!parser.parseArguments(arguments, out)) return;

  TXmlEventScanner scanner;
  EventWriter writer(out);
  writer.Assign(scanner);
  scanner.SetFilename(file);
  if (scanner.Filename().empty()) {
    // The scanner reads an unreadable file as no document at all; here that
    // is a failure, reported with the system's reason.
    platform::current().readFile(file);
  }
  if (raw) scanner.SetNormalize(false);
  scanner.Run();
}

}  // namespace brimlow::cli
