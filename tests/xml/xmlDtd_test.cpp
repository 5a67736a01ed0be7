// Document type definitions: declarations, parameter entities, external
// subsets, attribute defaults, and expansion that always ends.
#include "xml/xmlDtd.h"

#include <gtest/gtest.h>

#include <chrono>

#include "xml/xmlScanner.h"
#include "xmlTestSupport.h"

namespace brimlow {
namespace {

using Strings = std::vector<std::string>;

std::string DescribeAttrDefs(const TElemDef& element) {
  std::string out;
  for (const TAttrDef& definition : element) {
    out += ' ' + definition.Name + '(' + DisplayName(definition.DeclaredType) + ',' +
           definition.TypeText + ',' + DisplayName(definition.DefaultKind) + ',' +
           definition.Value +
           (definition.NotationList.empty() ? "" : ',' + definition.NotationList) + ')';
  }
  return out;
}

// A tokenizer that writes down every item of a definition, with errors
// given as offsets into the document, and that serves external documents
// from memory.
class RecordingTokenizer : public TXmlTokenizer {
 public:
  void DtdItemFound(const DtdItem& item) override {
    switch (item.Kind) {
      case TDtdItemKind::ElementDecl:
        items.push_back("element " + item.ElemDef->Name + ' ' +
                        DisplayName(item.ElemDef->ContentKind) + ' ' + item.ElemDef->ContentModel);
        break;
      case TDtdItemKind::AttListDecl:
        items.push_back("attlist " + item.ElemDef->Name + DescribeAttrDefs(*item.ElemDef));
        break;
      case TDtdItemKind::EntityDecl: {
        const TEntityDef& entity = *item.EntityDef;
        items.push_back(
            "entity " + entity.Name + '=' + entity.Value +
            (entity.SystemId.empty() && entity.PublicId.empty()
                 ? ""
                 : " [" + entity.SystemId + '|' + entity.PublicId + '|' + entity.NotationId + ']'));
        break;
      }
      case TDtdItemKind::NotationDecl:
        items.push_back("notation " + item.NotationDef->Name + ' ' + item.NotationDef->Value + '|' +
                        item.NotationDef->PublicId);
        break;
      case TDtdItemKind::PI:
        items.push_back("pi " + *item.Target + " {" + *item.Content + '}');
        break;
      case TDtdItemKind::Comment:
        items.push_back("comment " + std::string(item.First, item.Last + 1));
        break;
      case TDtdItemKind::Error: items.push_back("error " + Offset(item.ErrorPosition)); break;
    }
  }

  std::unique_ptr<TXmlTokenizer> OpenExternalEntity(const std::string& SystemId,
                                                    const std::string& PublicId,
                                                    const std::string& NotationId) override {
    opened.push_back(SystemId + '|' + PublicId + '|' + NotationId);
    auto document = std::make_unique<TXmlTokenizer>();
    const auto found = external.find(SystemId);
    if (found != external.end()) document->LoadText(found->second);
    return document;
  }

  // Where `position` lies in the document, or "elsewhere".
  std::string Offset(TPosition position) const {
    const TPosition text = DocumentText();
    const std::size_t size = DocumentSize();
    if (position >= text && position < text + size) return std::to_string(position - text);
    return "elsewhere";
  }

  Strings items;
  Strings opened;
  std::map<std::string, std::string> external;
};

class DtdTest : public ::testing::Test {
 protected:
  // Loads and scans a document; returns its parts.
  Strings Scan(const std::string& document) {
    tokenizer.LoadText(document);
    return testing::Scan(tokenizer);
  }
  // The items reported while scanning `document`.
  Strings Items(const std::string& document) {
    tokenizer.items.clear();
    Scan(document);
    return tokenizer.items;
  }
  RecordingTokenizer tokenizer;
};

TEST_F(DtdTest, NameAndPartFields) {
  EXPECT_EQ(Scan("<!DOCTYPE list SYSTEM 'x.dtd' [ <!ELEMENT a ANY> ]><list/>"),
            (Strings{"DTD Declaration list", "Empty Tag list"}));
  EXPECT_EQ(tokenizer.DoctypeName(), "list");
  EXPECT_EQ(tokenizer.PartKind(), TPartKind::EmptyTag);
  // The part ends at the declaration's ">", and DoctypeEnd says so.
  tokenizer.BeginScan();
  ASSERT_TRUE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.PartKind(), TPartKind::DtdDeclaration);
  EXPECT_EQ(*tokenizer.PartEnd(), '>');
  EXPECT_EQ(tokenizer.PartEnd(), tokenizer.DoctypeEnd());
  EXPECT_EQ(tokenizer.PartName(), "");
  EXPECT_EQ(tokenizer.PartContent(), "");
}

struct ItemsCase {
  const char* label;
  const char* subset;  // the text between "<!DOCTYPE d [" and "]>"
  Strings items;
};

class DtdItemsTest : public DtdTest, public ::testing::WithParamInterface<ItemsCase> {};

TEST_P(DtdItemsTest, Items) {
  EXPECT_EQ(Items(std::string("<!DOCTYPE d [") + GetParam().subset + "]><d/>"), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, DtdItemsTest,
    ::testing::Values(
        ItemsCase{"empty", "<!ELEMENT e EMPTY>", {"element e Empty EMPTY"}},
        ItemsCase{"any", "<!ELEMENT e ANY>", {"element e Any ANY"}},
        ItemsCase{"mixed_white_space_removed",
                  "<!ELEMENT e ( #PCDATA | b )* >",
                  {"element e Mixed (#PCDATA|b)*"}},
        ItemsCase{"children", "<!ELEMENT e (a,(b|c)+)>", {"element e Childs only (a,(b|c)+)"}},
        ItemsCase{"other_word_is_any", "<!ELEMENT e whatever>", {"element e Any whatever"}},
        ItemsCase{"parameter_entity_in_the_model",
                  "<!ENTITY % m '(a|b)'><!ELEMENT e %m;>",
                  {"entity m=(a|b)", "element e Childs only (a|b)"}},
        ItemsCase{"undeclared_parameter_entity_stays", "<!ELEMENT e %m;>", {"element e Any %m;"}}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    AttributeLists, DtdItemsTest,
    ::testing::Values(
        ItemsCase{"types",
                  "<!ATTLIST e a CDATA #IMPLIED b ID #REQUIRED c IDREF #IMPLIED d IDREFS "
                  "#IMPLIED f ENTITY #IMPLIED g ENTITIES #IMPLIED h NMTOKEN #IMPLIED i NMTOKENS "
                  "#IMPLIED j WORD #IMPLIED>",
                  {"attlist e a(CDATA,CDATA,Implied,) b(ID,ID,Required,) c(IDREF,IDREF,Implied,) "
                   "d(IDREFS,IDREFS,Implied,) f(ENTITY,ENTITY,Implied,) "
                   "g(ENTITIES,ENTITIES,Implied,) h(NMTOKEN,NMTOKEN,Implied,) "
                   "i(NMTOKENS,NMTOKENS,Implied,) j(Unknown,WORD,Implied,)"}},
        ItemsCase{"defaults_and_fixed",
                  "<!ATTLIST e a CDATA 'one' b CDATA #FIXED \"two\" c CDATA #BOGUS 'three'>",
                  {"attlist e a(CDATA,CDATA,Default,one) b(CDATA,CDATA,Fixed,two) "
                   "c(CDATA,CDATA,Default,three)"}},
        ItemsCase{"enumeration",
                  "<!ATTLIST e a ( x | y ) 'x'>",
                  {"attlist e a(Enumeration,x|y,Default,x)"}},
        ItemsCase{"notation",
                  "<!ATTLIST e a NOTATION ( gif | png ) #IMPLIED>",
                  {"attlist e a(Notation,,Implied,,gif|png)"}},
        ItemsCase{"references_in_default_value",
                  "<!ENTITY % p 'P'><!ATTLIST e a CDATA '%p;&#65;&amp;'>",
                  {"entity p=P", "attlist e a(CDATA,CDATA,Default,PA&amp;)"}},
        ItemsCase{
            "parameter_entity_supplies_definitions",
            "<!ENTITY % defs 'a CDATA \"1\" b ID #IMPLIED'><!ATTLIST e %defs; c CDATA '3'>",
            {"entity defs=a CDATA \"1\" b ID #IMPLIED",
             "attlist e a(CDATA,CDATA,Default,1) b(ID,ID,Implied,) c(CDATA,CDATA,Default,3)"}},
        ItemsCase{"later_lists_add_and_replace",
                  "<!ATTLIST e a CDATA '1' b CDATA '2'><!ATTLIST e a CDATA 'new'>",
                  {"attlist e a(CDATA,CDATA,Default,1) b(CDATA,CDATA,Default,2)",
                   "attlist e a(CDATA,CDATA,Default,new) b(CDATA,CDATA,Default,2)"}},
        ItemsCase{"element_declaration_drops_the_definitions",
                  "<!ATTLIST e a CDATA '1'><!ELEMENT e EMPTY><!ATTLIST e b CDATA '2'>",
                  {"attlist e a(CDATA,CDATA,Default,1)", "element e Empty EMPTY",
                   "attlist e b(CDATA,CDATA,Default,2)"}},
        ItemsCase{"without_element_name_nothing_is_reported", "<!ATTLIST >", {}}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    EntitiesAndNotations, DtdItemsTest,
    ::testing::Values(
        ItemsCase{"internal", "<!ENTITY e \"it's\">", {"entity e=it's"}},
        ItemsCase{"character_reference_replaced", "<!ENTITY e 'A&#66;C'>", {"entity e=ABC"}},
        ItemsCase{"general_references_stay", "<!ENTITY e 'x&other;y'>", {"entity e=x&other;y"}},
        ItemsCase{"parameter_reference_replaced",
                  "<!ENTITY % p 'pp'><!ENTITY e '[%p;]'>",
                  {"entity p=pp", "entity e=[pp]"}},
        ItemsCase{"parameter_entity_keeps_percent_text",
                  "<!ENTITY % p 'pp'><!ENTITY % q '[%p;]'>",
                  {"entity p=pp", "entity q=[%p;]"}},
        ItemsCase{"system", "<!ENTITY e SYSTEM 'e.xml'>", {"entity e= [e.xml||]"}},
        ItemsCase{"public", "<!ENTITY e PUBLIC '-//p' \"e.xml\">", {"entity e= [e.xml|-//p|]"}},
        ItemsCase{"unparsed", "<!ENTITY e SYSTEM 'e.gif' NDATA gif>", {"entity e= [e.gif||gif]"}},
        ItemsCase{
            "notation_system", "<!NOTATION gif SYSTEM 'view.exe'>", {"notation gif view.exe|"}},
        ItemsCase{"notation_public",
                  "<!NOTATION gif PUBLIC '-//gif' 'view.exe'>",
                  {"notation gif view.exe|-//gif"}},
        ItemsCase{
            "notation_public_only", "<!NOTATION gif PUBLIC '-//gif'>", {"notation gif |-//gif"}}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    OtherItems, DtdItemsTest,
    ::testing::Values(
        ItemsCase{"comment_and_instruction",
                  "<!-- note --><?app  run ?>",
                  {"comment <!-- note -->", "pi app {  run }"}},
        ItemsCase{"markup_that_is_no_declaration", "<x>", {"error 13"}},
        ItemsCase{"parameter_entity_holding_declarations",
                  "<!ENTITY % decls '<!ELEMENT a EMPTY><!-- in -->'>%decls;<!ELEMENT b ANY>",
                  {"entity decls=<!ELEMENT a EMPTY><!-- in -->", "element a Empty EMPTY",
                   "comment <!-- in -->", "element b Any ANY"}},
        ItemsCase{"percent_without_semicolon_is_passed_over",
                  "% <!ELEMENT a ANY>",
                  {"element a Any ANY"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DtdTest, SyntaxErrorsAreReportedAndReadingGoesOn) {
  // Characters after the subset has ended, at offsets 30 and 31.
  EXPECT_EQ(Items("<!DOCTYPE d [<!ELEMENT a ANY>]xy>"),
            (Strings{"element a Any ANY", "error 30", "error 31"}));
  // The declaration ends inside a parameter entity's replacement text.
  EXPECT_EQ(Items("<!DOCTYPE d [<!ENTITY % end ']> tail'>%end;<!ELEMENT a ANY>]><r/>"),
            (Strings{"entity end=]> tail", "error elsewhere"}));
}

TEST_F(DtdTest, DeclarationEndingInAParameterEntityGoesBackToTheDocument) {
  EXPECT_EQ(Scan("<!DOCTYPE d [<!ENTITY % end ']> tail'>%end;]><r/>"),
            (Strings{"DTD Declaration d", "Text {]>}", "Empty Tag r"}));
}

TEST_F(DtdTest, LaterDeclarationsWin) {
  Scan(
      "<!DOCTYPE d [<!ENTITY e 'first'><!ENTITY e 'second'><!ENTITY % p '1'>"
      "<!ENTITY % p '2'><!NOTATION n SYSTEM 'a'><!NOTATION n SYSTEM 'b'>]><r>&e;</r>");
  EXPECT_EQ(tokenizer.GeneralEntities().Count(), 1);
  EXPECT_EQ(tokenizer.GeneralEntities().ValueOf("e"), "second");
  EXPECT_EQ(tokenizer.ParameterEntities().ValueOf("p"), "2");
  EXPECT_EQ(tokenizer.NotationDecls().Count(), 2) << "notations accumulate";
  EXPECT_EQ(testing::Scan(tokenizer)[2], "Text {second}");
}

TEST_F(DtdTest, SecondScanReportsNothing) {
  const std::string document = "<!DOCTYPE d [<!ENTITY e 'x'><!-- c --><x]><r a='&e;'>&e;</r>";
  const Strings first = Items(document);
  EXPECT_EQ(first.size(), 3u);
  tokenizer.items.clear();
  const Strings parts = testing::Scan(tokenizer);
  EXPECT_TRUE(tokenizer.items.empty());
  EXPECT_EQ(parts, (Strings{"DTD Declaration d", "Start Tag r [a=x]", "Text {x}", "End Tag r"}));
}

TEST_F(DtdTest, TwoDeclarationsInOneDocument) {
  // The second declaration is read in its own right; a second scan passes
  // over both and still delivers what lies between them.
  const std::string document =
      "<!DOCTYPE a [<!ENTITY e 'one'>]><x>&e;</x><!DOCTYPE b [<!ENTITY e 'two'>]><y>&e;</y>";
  const Strings parts = Scan(document);
  EXPECT_EQ(parts, (Strings{"DTD Declaration a", "Start Tag x", "Text {one}", "End Tag x",
                            "DTD Declaration b", "Start Tag y", "Text {two}", "End Tag y"}));
  EXPECT_EQ(tokenizer.items, (Strings{"entity e=one", "entity e=two"}));
  tokenizer.items.clear();
  const Strings again = testing::Scan(tokenizer);
  EXPECT_TRUE(tokenizer.items.empty());
  EXPECT_EQ(again[1], "Start Tag x");
  EXPECT_EQ(again[2], "Text {two}") << "the declarations of the first scan stay";
  EXPECT_EQ(again[0], "DTD Declaration a");
  EXPECT_EQ(again[4], "DTD Declaration b");
  EXPECT_EQ(again.size(), parts.size());
}

TEST_F(DtdTest, DeclarationLeftOpenEndsTheDocument) {
  EXPECT_EQ(Scan("<!DOCTYPE d [<!ENTITY e 'x'>"), Strings{"DTD Declaration d"});
  EXPECT_EQ(Scan("<!DOCTYPE d [<!ENTITY e 'x>&e;"), Strings{"DTD Declaration d"});
  EXPECT_EQ(Scan("<!DOCTYPE d SYSTEM"), Strings{"DTD Declaration d"});
  EXPECT_EQ(Scan("<!DOCTYPE d PUBLIC 'p"), Strings{"DTD Declaration d"});
  EXPECT_EQ(Scan("<!DOCTYPE"), Strings{"DTD Declaration "});
}

TEST_F(DtdTest, ExternalSubsetIsReadBeforeTheInternalOne) {
  tokenizer.external["d.dtd"] =
      "<?xml version='1.0'?>\n<!ENTITY % sep ','>"
      "<!ELEMENT d (a%sep;b)><!ENTITY e 'external'><!ENTITY f 'external'>";
  EXPECT_EQ(Items("<!DOCTYPE d PUBLIC '-//d' 'd.dtd' [<!ENTITY f 'internal'>]><d>&e;&f;</d>"),
            (Strings{"entity sep=,", "element d Childs only (a,b)", "entity e=external",
                     "entity f=external", "entity f=internal"}));
  EXPECT_EQ(tokenizer.opened, Strings{"d.dtd|-//d|"});
  EXPECT_EQ(testing::Scan(tokenizer)[2], "Text {externalinternal}");
}

TEST_F(DtdTest, ParameterReferenceInTheExternalSubsetResumesAfterIt) {
  tokenizer.external["d.dtd"] =
      "<!ENTITY % inner '<!ENTITY a \"1\">'>%inner;<!ENTITY b '2'>%undeclared;<!ENTITY c '3'>";
  EXPECT_EQ(Items("<!DOCTYPE d SYSTEM 'd.dtd'><d/>"),
            (Strings{"entity inner=<!ENTITY a \"1\">", "entity a=1", "entity b=2", "entity c=3"}));
}

TEST_F(DtdTest, ExternalSubsetEndsWithItsOwnText) {
  // A "]" or ">" in the external subset ends its reading, not the
  // declaration; what follows in the document is read as usual.
  tokenizer.external["d.dtd"] = "<!ENTITY a '1'>]<!ENTITY b '2'>";
  tokenizer.external["e.dtd"] = "<!ENTITY % open '<!ENTITY c \"3\"'>%open;";
  EXPECT_EQ(Items("<!DOCTYPE d SYSTEM 'd.dtd' [<!ENTITY x '0'>]><d/>"),
            (Strings{"entity a=1", "entity x=0"}));
  EXPECT_EQ(Items("<!DOCTYPE d SYSTEM 'e.dtd' [<!ENTITY x '0'>]><d/>"),
            (Strings{"entity open=<!ENTITY c \"3\"", "entity c=3", "entity x=0"}));
}

TEST_F(DtdTest, MissingExternalSubsetContributesNothing) {
  EXPECT_EQ(Items("<!DOCTYPE d SYSTEM 'none.dtd' [<!ENTITY x '0'>]><d/>"), Strings{"entity x=0"});
  EXPECT_EQ(tokenizer.opened, Strings{"none.dtd||"});
}

TEST_F(DtdTest, DefaultsAndFixedValuesAreAppliedToTags) {
  EXPECT_EQ(Scan("<!DOCTYPE d [<!ATTLIST e def CDATA 'dv' fix CDATA #FIXED 'fv' imp CDATA "
                 "#IMPLIED tok NMTOKENS #IMPLIED>]>"
                 "<e fix='mine' imp=' a  b ' tok=' a \t b '/><e>x</e><other/>"),
            (Strings{"DTD Declaration d", "Empty Tag e [def=dv fix=fv imp= a  b  tok=a b]",
                     "Start Tag e [def=dv fix=fv]", "Text {x}", "End Tag e", "Empty Tag other"}));
  tokenizer.BeginScan();
  tokenizer.NextPart();
  ASSERT_TRUE(tokenizer.NextPart());
  const TAttrList& attributes = tokenizer.PartAttributes();
  const auto kind = [&attributes](const char* name) {
    return std::string(DisplayName(attributes.Find(name)->ValueKind)) + '/' +
           DisplayName(attributes.Find(name)->DeclaredType);
  };
  EXPECT_EQ(kind("def"), "Default/CDATA");
  EXPECT_EQ(kind("fix"), "Fixed/CDATA");
  EXPECT_EQ(kind("imp"), "Implied/CDATA");
  EXPECT_EQ(kind("tok"), "Implied/NMTOKENS");
}

TEST_F(DtdTest, DefaultValuesAreExpandedAtEachTag) {
  EXPECT_EQ(Scan("<!DOCTYPE d [<!ENTITY who 'me'><!ATTLIST e by CDATA 'by &who;&#38;#65;'>]>"
                 "<e/>"),
            (Strings{"DTD Declaration d", "Empty Tag e [by=by meA]"}));
}

// Bounded expansion.

std::string Laughs(int levels) {
  std::string out = "<!ENTITY lol0 'lol'>";
  for (int i = 1; i <= levels; ++i) {
    out += "<!ENTITY lol" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j)
      out += "&lol" + std::to_string(i - 1) + ';';
    out += "'>";
  }
  return out;
}

TEST_F(DtdTest, BillionLaughsLoadQuicklyAndStaySmall) {
  const std::string document =
      "<?xml version='1.0'?><!DOCTYPE lolz [" + Laughs(9) + "]><lolz a='&lol9;'>&lol9;</lolz>";
  ASSERT_LT(document.size(), 4096u) << "a few kilobytes";
  const auto start = std::chrono::steady_clock::now();
  tokenizer.LoadText(document);
  std::size_t delivered = 0;
  tokenizer.BeginScan();
  while (tokenizer.NextPart()) {
    delivered += tokenizer.PartContent().size();
    for (const TAttr& attribute : tokenizer.PartAttributes())
      delivered += attribute.Value.size();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(delivered, 0u);
  EXPECT_LE(delivered, std::size_t{16} << 20);
  // Generous for a build without optimisation; the release build takes a
  // small fraction of this.
  EXPECT_LT(seconds, 5.0);
}

TEST_F(DtdTest, ParameterEntityBombsEnd) {
  // Each level doubles through parameter references, both while reading and
  // inside declaration texts.
  std::string subset = "<!ENTITY % p0 'x'>";
  for (int i = 1; i <= 40; ++i) {
    const std::string previous = "%p" + std::to_string(i - 1) + ';';
    subset += "<!ENTITY % p" + std::to_string(i) + " '" + previous + previous + "'>";
  }
  subset += "%p40;<!ENTITY e '%p40;'><!ELEMENT a (%p40;)>";
  const auto start = std::chrono::steady_clock::now();
  tokenizer.LoadText("<!DOCTYPE d [" + subset + "]><a>&e;</a>");
  testing::Scan(tokenizer);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LE(tokenizer.GeneralEntities().ValueOf("e").size(), std::size_t{16} << 20);
  EXPECT_LT(seconds, 5.0);
}

struct SelfReferenceCase {
  const char* label;
  const char* subset;
  const char* body;
  Strings parts;
};

TEST_F(DtdTest, SelfReferringEntitiesEnd) {
  const SelfReferenceCase cases[] = {
      {"text", "<!ENTITY e 'a&e;b'>", "<r>&e;</r>", {"Start Tag r", "Text {ab}", "End Tag r"}},
      {"text_through_another",
       "<!ENTITY e '1&f;'><!ENTITY f '2&e;'>",
       "<r>&e;</r>",
       {"Start Tag r", "Text {12}", "End Tag r"}},
      {"attribute", "<!ENTITY e 'a&e;b'>", "<r v='&e;'/>", {"Empty Tag r [v=ab]"}},
      {"default_value",
       "<!ENTITY e 'a&e;b'><!ATTLIST r v CDATA '&e;'>",
       "<r/>",
       {"Empty Tag r [v=ab]"}},
      {"parameter_while_reading",
       "<!ENTITY % p '<!ENTITY x \"1\">%p;'>%p;",
       "<r>&x;</r>",
       {"Start Tag r", "Text {1}", "End Tag r"}},
      {"parameter_in_a_declaration",
       "<!ENTITY % p '(%p;)'><!ELEMENT r %p;>",
       "<r/>",
       {"Empty Tag r"}},
  };
  for (const SelfReferenceCase& row : cases) {
    SCOPED_TRACE(row.label);
    Strings parts = Scan(std::string("<!DOCTYPE d [") + row.subset + "]>" + row.body);
    ASSERT_FALSE(parts.empty());
    parts.erase(parts.begin());
    EXPECT_EQ(parts, row.parts);
  }
  EXPECT_EQ(tokenizer.ElementDecls().Find("r")->ContentModel, "()");
}

TEST_F(DtdTest, RedeclaringTheEntityBeingRead) {
  // The entity's own text declares it anew: reading goes on in the old text,
  // and the new value holds from then on.
  EXPECT_EQ(Scan("<!DOCTYPE d [<!ENTITY e '<!DOCTYPE i [<!ENTITY e \"new\">]>'>]>"
                 "<s>[&e;]&e;</s>"),
            (Strings{"DTD Declaration d", "Start Tag s", "Text {[}", "DTD Declaration i",
                     "Text {]new}", "End Tag s"}));
  EXPECT_EQ(tokenizer.GeneralEntities().ValueOf("e"), "new");
  EXPECT_EQ(testing::Scan(tokenizer),
            (Strings{"DTD Declaration d", "Start Tag s", "Text {[new]new}", "End Tag s"}));
}

TEST_F(DtdTest, DeclarationInsideAnExternalEntity) {
  // The document goes on after the entity whose text held a declaration.
  tokenizer.external["e.xml"] = "<!DOCTYPE inner [<!ENTITY x 'X'>]>in";
  EXPECT_EQ(Scan("<!DOCTYPE d [<!ENTITY e SYSTEM 'e.xml'>]><r>&e;-&x;</r><after/>"),
            (Strings{"DTD Declaration d", "Start Tag r", "DTD Declaration inner", "Text {in-X}",
                     "End Tag r", "Empty Tag after"}));
}

TEST(DtdScanner, ItemsAreDispatchedBeforeTheDeclaration) {
  testing::FilesPlatform files;
  files.files["C:\\d\\doc.xml"] =
      "<!DOCTYPE d SYSTEM 'd.dtd' [<!ELEMENT a ANY><?p x?><!-- c --><!NOTATION n SYSTEM 'v'>"
      "<!ATTLIST a b CDATA 'B'><x>]><a/>";
  files.files["C:\\d\\d.dtd"] = "<!ENTITY e 'E'>";
  platform::ScopedPlatform installed(files);
  TXmlEventScanner scanner;
  Strings events;
  scanner.OnElementDecl = [&events](TCustomEventScanner&, const TElemDef& element) {
    events.push_back("element " + element.Name);
  };
  scanner.OnAttListDecl = [&events](TCustomEventScanner&, const TElemDef& element) {
    events.push_back("attlist " + element.Name + DescribeAttrDefs(element));
  };
  scanner.OnEntityDecl = [&events](TCustomEventScanner&, const TEntityDef& entity) {
    events.push_back("entity " + entity.Name);
  };
  scanner.OnNotationDecl = [&events](TCustomEventScanner&, const TNotationDef& notation) {
    events.push_back("notation " + notation.Name);
  };
  scanner.OnPI = [&events](TCustomEventScanner&, const std::string& target, const std::string&,
                           const TAttrList&) { events.push_back("pi " + target); };
  scanner.OnComment = [&events](TCustomEventScanner&, const std::string& comment) {
    events.push_back("comment " + comment);
  };
  scanner.OnDtdSyntaxError = [&events](TCustomEventScanner&, TPosition at) {
    events.push_back(std::string("error ") + *at);
  };
  scanner.OnDtdDeclaration = [&events](TCustomEventScanner&, const std::string& name) {
    events.push_back("doctype " + name);
  };
  scanner.OnEmptyTag = [&events](TCustomEventScanner&, const std::string& name,
                                 const TAttrList& attributes) {
    events.push_back("empty " + name + ' ' + attributes.ValueOf("b"));
  };
  scanner.SetFilename("C:\\d\\doc.xml");
  scanner.Run();
  EXPECT_EQ(events,
            (Strings{"entity e", "element a", "pi p", "comment <!-- c -->", "notation n",
                     "attlist a b(CDATA,CDATA,Default,B)", "error <", "doctype d", "empty a B"}));
  EXPECT_EQ(files.reads, (Strings{"C:\\d\\doc.xml", "C:\\d\\d.dtd"}));
}

}  // namespace
}  // namespace brimlow
