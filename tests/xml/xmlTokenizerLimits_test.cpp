// Hostile input: time linear in the size of the document, and entity
// expansion that always ends and stays bounded.
#include "xml/xmlTokenizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "../linearity.h"
#include "xmlTestSupport.h"

namespace brimlow {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

// `unit` repeated up to at least `size` bytes.
std::string Repeat(std::string_view unit, std::size_t size) {
  std::string out;
  out.reserve(size + unit.size());
  while (out.size() < size)
    out += unit;
  return out;
}

std::string Times(std::string_view unit, int count) {
  return Repeat(unit, unit.size() * static_cast<std::size_t>(count));
}

struct ScanResult {
  double seconds = 0;
  std::size_t parts = 0;
  std::size_t bytes = 0;  // content, names and attribute values delivered
};

ScanResult ScanOnce(TXmlTokenizer& tokenizer) {
  ScanResult result;
  const auto start = std::chrono::steady_clock::now();
  tokenizer.BeginScan();
  while (tokenizer.NextPart()) {
    ++result.parts;
    result.bytes += tokenizer.PartContent().size() + tokenizer.PartName().size();
    for (const TAttr& attribute : tokenizer.PartAttributes())
      result.bytes += attribute.Value.size();
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

ScanResult ScanDocument(const std::string& document) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText(document);
  return ScanOnce(tokenizer);
}

struct HostileCase {
  const char* label;
  std::function<std::string(std::size_t size)> make;
  std::size_t size = kMiB;  // of the larger document
};

// A document type declaration of about `size` bytes: `unit` (given a
// counter that runs downwards, so that each name sorts before the ones
// already declared) repeated, then `body`.
std::string Declarations(std::size_t size, const std::function<std::string(int)>& unit,
                         const std::string& body = "<r/>") {
  std::string out = "<!DOCTYPE d [";
  for (int i = 99999999; out.size() < size; --i)
    out += unit(i);
  return out + "]>" + body;
}

std::string DeclaredAttributesOnManyTags(std::size_t size) {
  std::string out = "<!DOCTYPE d [<!ATTLIST e";
  for (int i = 0; out.size() < size / 2; ++i)
    out += " a" + std::to_string(i) + " CDATA #IMPLIED";
  out += " v CDATA 'default'>]>";
  return Repeat("<e/>", size - out.size()).insert(0, out);
}

std::string ManyAttributes(std::size_t size, bool sameName) {
  std::string out = "<a";
  for (std::size_t i = 0; out.size() < size; ++i)
    out += " n" + (sameName ? std::string() : std::to_string(i * 7919 % 1000003)) + "=\"v\"";
  return out + "/>";
}

const HostileCase kHostileCases[] = {
    {"ampersands", [](std::size_t n) { return Repeat("&", n); }},
    {"ampersands_then_one_semicolon", [](std::size_t n) { return Repeat("&", n) + ";"; }},
    {"ampersands_in_an_element", [](std::size_t n) { return "<a>" + Repeat("& ", n) + "</a>"; }},
    {"undeclared_references", [](std::size_t n) { return "<a>" + Repeat("&x;", n) + "</a>"; }},
    {"character_references", [](std::size_t n) { return "<a>" + Repeat("&#1072;", n); }},
    {"less_thans", [](std::size_t n) { return Repeat("<", n); }},
    {"unclosed_tags", [](std::size_t n) { return Repeat("<a ", n); }},
    {"unclosed_attribute_names", [](std::size_t n) { return Repeat("<a b", n); }},
    {"empty_tags", [](std::size_t n) { return Repeat("<a/>", n); }},
    {"distinct_attributes", [](std::size_t n) { return ManyAttributes(n, false); }},
    {"same_attribute", [](std::size_t n) { return ManyAttributes(n, true); }},
    {"ampersands_in_a_value", [](std::size_t n) { return "<a v=\"" + Repeat("&", n) + "\"/>"; }},
    {"references_in_a_value", [](std::size_t n) { return "<a v=\"" + Repeat("&x;", n) + "\"/>"; }},
    {"number_signs_in_a_value",
     [](std::size_t n) { return "<a v=\"" + Repeat("&#", n) + ";\"/>"; }},
    {"character_references_in_a_value",
     [](std::size_t n) { return "<a v=\"" + Repeat("&#65;", n) + "\"/>"; }},
    {"unclosed_comments", [](std::size_t n) { return Repeat("<!--", n); }},
    {"unclosed_instructions", [](std::size_t n) { return Repeat("<?", n); }},
    {"unclosed_cdata", [](std::size_t n) { return Repeat("<![CDATA[", n); }},
    {"comment_ends_without_start", [](std::size_t n) { return Repeat("-->", n); }},
    {"quotes", [](std::size_t n) { return "<a b=" + Repeat("\"'", n); }},
    {"unclosed_doctypes", [](std::size_t n) { return Repeat("<!DOCTYPE", n); }},
    {"white_space", [](std::size_t n) { return "<a>" + Repeat(" \t\r\n", n) + "x</a>"; }},
    // Declarations: each lands in front of all the earlier ones.
    {"entity_declarations",
     [](std::size_t n) {
       return Declarations(n, [](int i) { return "<!ENTITY e" + std::to_string(i) + " 'x'>"; });
     },
     kMiB / 4},
    {"notation_declarations",
     [](std::size_t n) {
       return Declarations(n, [](int) { return std::string("<!NOTATION n SYSTEM 'x'>"); });
     },
     kMiB / 4},
    {"attribute_definitions",
     [](std::size_t n) {
       return Declarations(
           n, [](int i) { return "<!ATTLIST e a" + std::to_string(i) + " CDATA 'v'>"; });
     },
     kMiB / 4},
    {"redeclared_entity",
     [](std::size_t n) {
       return Declarations(
           n, [](int) { return std::string("<!ENTITY e 'x'>"); }, "<r>&e;</r>");
     },
     kMiB / 4},
    {"declared_attributes_on_many_tags", DeclaredAttributesOnManyTags, kMiB / 4},
    {"parameter_references",
     [](std::size_t n) { return "<!DOCTYPE d [<!ENTITY % p ' '>" + Repeat("%p;", n) + "]>"; }},
    {"percent_signs", [](std::size_t n) { return "<!DOCTYPE d [" + Repeat("%", n) + "]>"; }},
    {"declarations", [](std::size_t n) { return Repeat("<!DOCTYPE a>", n); }},
    {"markup_errors", [](std::size_t n) { return "<!DOCTYPE d [" + Repeat("<x", n) + "]>"; }},
};

TEST(Linearity, HostileInputScansInLinearTime) {
  for (const HostileCase& row : kHostileCases) {
    SCOPED_TRACE(row.label);
    const test::Growth growth = test::MeasureGrowth(
        [](const std::string& document) { return ScanDocument(document).seconds; },
        row.make(row.size / 4), row.make(row.size));
    EXPECT_LT(growth.ratio, 10.0) << growth.measured;
  }
}

TEST(Linearity, HostileInputIsStillCutIntoParts) {
  // What the scans above deliver, so that they measure real work.
  EXPECT_EQ(ScanDocument(Repeat("&", kMiB)).parts, 0u) << "a text of nothing but dropped \"&\"";
  EXPECT_EQ(ScanDocument(Repeat("<a/>", kMiB)).parts, kMiB / 4);
  EXPECT_EQ(ScanDocument(Repeat("<", kMiB)).parts, 1u) << "one tag with a long name";
  const ScanResult attributes = ScanDocument(ManyAttributes(kMiB, true));
  EXPECT_EQ(attributes.parts, 1u);
  EXPECT_EQ(attributes.bytes, 1 + TAttrList::kMaxAttributes)
      << "the name, and one byte of each value kept";
}

// Entities declared by hand, as a document type definition would.
class ExpansionTest : public ::testing::Test {
 protected:
  void Entity(const std::string& name, const std::string& value) {
    tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>(name, value));
  }
  std::string Text() {
    std::string out;
    tokenizer.BeginScan();
    while (tokenizer.NextPart()) {
      if (tokenizer.PartKind() == TPartKind::Text) out += tokenizer.PartContent();
    }
    return out;
  }
  std::string Value() {
    tokenizer.BeginScan();
    while (tokenizer.NextPart()) {
      if (tokenizer.PartKind() == TPartKind::EmptyTag)
        return tokenizer.PartAttributes().ValueOf("v");
    }
    return "(no tag)";
  }
  // lol0 is "lol"; each lolN holds ten references to lol(N-1).
  void Laughs(int levels) {
    Entity("lol0", "lol");
    for (int i = 1; i <= levels; ++i)
      Entity("lol" + std::to_string(i), Times("&lol" + std::to_string(i - 1) + ";", 10));
  }
  TXmlTokenizer tokenizer;
};

struct SelfReferenceCase {
  const char* label;
  std::vector<std::pair<std::string, std::string>> entities;
  const char* text;
};

TEST_F(ExpansionTest, AnOpenEntityIsNotOpenedAgain) {
  const SelfReferenceCase cases[] = {
      {"direct", {{"e", "a&e;b"}}, "ab"},
      {"through_another", {{"e1", "1&e2;"}, {"e2", "2&e1;"}}, "12"},
      {"only_itself", {{"e1", "&e1;"}}, ""},
      {"used_twice_side_by_side", {{"e1", "(&e2;&e2;)"}, {"e2", "x"}}, "(xx)"},
  };
  for (const SelfReferenceCase& row : cases) {
    SCOPED_TRACE(row.label);
    tokenizer.LoadText("<r v=\"&" + row.entities.front().first + ";\"/><r>&" +
                       row.entities.front().first + ";</r>");
    for (const auto& [name, value] : row.entities)
      Entity(name, value);
    EXPECT_EQ(Text(), row.text);
    EXPECT_EQ(Value(), row.text);
  }
}

TEST_F(ExpansionTest, NestingIsBounded) {
  // e0 holds "x" and a reference to e1, and so on for 200 levels.
  tokenizer.LoadText("<r v=\"&e0;\"/><r>&e0;</r>");
  for (int i = 0; i < 200; ++i)
    Entity("e" + std::to_string(i), "x&e" + std::to_string(i + 1) + ";");
  const std::string expected(TXmlTokenizer::kMaxEntityDepth, 'x');
  EXPECT_EQ(Text(), expected);
  EXPECT_EQ(Value(), expected);
}

TEST_F(ExpansionTest, ExponentialExpansionInTextIsCapped) {
  tokenizer.LoadText("<r>&lol9;</r>");
  Laughs(9);
  const auto start = std::chrono::steady_clock::now();
  const std::string text = Text();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(text.size(), kMiB) << "expansion goes on up to the cap";
  EXPECT_LE(text.size(), 16 * kMiB);
  EXPECT_EQ(text.find_first_not_of("lo"), std::string::npos);
  // Generous: the uncapped text would be three thousand million bytes.
  EXPECT_LT(seconds, 10.0);
}

TEST_F(ExpansionTest, ExponentialExpansionInAttributeValuesIsCapped) {
  tokenizer.LoadText(Times("<r v=\"&lol9;\"/>", 100));
  Laughs(9);
  std::size_t total = 0;
  tokenizer.BeginScan();
  while (tokenizer.NextPart())
    total += tokenizer.PartAttributes().ValueOf("v").size();
  EXPECT_GT(total, kMiB);
  EXPECT_LE(total, 16 * kMiB) << "the cap holds for the whole document, not per value";
}

TEST_F(ExpansionTest, TheCapGrowsWithTheDocument) {
  // A big document may expand to a hundred times its own size.
  tokenizer.LoadText("<r>&lol9;</r>");
  Laughs(9);
  const std::size_t small = Text().size();
  // A hundred times this document is about twice the smallest cap.
  tokenizer.LoadText("<r>&lol9;</r>" + std::string(320 * 1024, ' '));
  Laughs(9);
  const std::size_t large = Text().size();
  EXPECT_GT(large, small * 3 / 2);
  EXPECT_LE(large, 100 * tokenizer.DocumentSize());
}

TEST_F(ExpansionTest, EachScanHasItsOwnCap) {
  tokenizer.LoadText("<r v=\"&lol9;\"/>");
  Laughs(9);
  const std::size_t first = Value().size();
  EXPECT_GT(first, 0u);
  EXPECT_EQ(Value().size(), first);
}

// Counts the external documents it is asked for; each is empty.
class CountingTokenizer : public TXmlTokenizer {
 public:
  std::unique_ptr<TXmlTokenizer> OpenExternalEntity(const std::string&, const std::string&,
                                                    const std::string&) override {
    ++opened;
    return std::make_unique<TXmlTokenizer>();
  }
  int opened = 0;
};

TEST(Expansion, EmptyReplacementsAreCountedToo) {
  // A million references to an external entity with an empty text: each
  // costs something, so that they end soon, and the document goes on.
  CountingTokenizer tokenizer;
  tokenizer.LoadText("<r v=\"&x2;\">&x2;</r><r>after</r>");
  tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>("x0", ""));
  tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>("x1", Times("&x0;", 1000)));
  tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>("x2", Times("&x1;", 1000)));
  std::string text;
  tokenizer.BeginScan();
  while (tokenizer.NextPart()) {
    if (tokenizer.PartKind() == TPartKind::Text) text += tokenizer.PartContent();
  }
  EXPECT_EQ(text, "after");
  EXPECT_GT(tokenizer.opened, 0);
  EXPECT_LT(tokenizer.opened, 100000);
}

}  // namespace
}  // namespace brimlow
