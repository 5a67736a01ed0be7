// Text and attribute values: references, white space, translation into the
// code page, and the replacement texts of declared entities.
#include "xml/xmlTokenizer.h"

#include <gtest/gtest.h>

#include "xmlTestSupport.h"

namespace brimlow {
namespace {

using testing::Ansi;
using testing::Parts;
using testing::SameBytes;
using Strings = std::vector<std::string>;

const std::string kUtf8Prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

// The content of every text and CDATA part, each followed by "|".
std::string Texts(TXmlTokenizer& tokenizer) {
  std::string out;
  tokenizer.BeginScan();
  while (tokenizer.NextPart()) {
    if (tokenizer.PartKind() == TPartKind::Text || tokenizer.PartKind() == TPartKind::CData)
      out += tokenizer.PartContent() + '|';
  }
  return out;
}

std::string Texts(const std::string& document, bool normalize = true) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText(document);
  tokenizer.SetNormalize(normalize);
  return Texts(tokenizer);
}

// The value of attribute `name` of the first tag that has it.
std::string Attribute(TXmlTokenizer& tokenizer, const std::string& name) {
  tokenizer.BeginScan();
  while (tokenizer.NextPart()) {
    if (tokenizer.PartKind() != TPartKind::StartTag && tokenizer.PartKind() != TPartKind::EmptyTag)
      continue;
    if (const TAttr* attribute = tokenizer.PartAttributes().Find(name)) return attribute->Value;
  }
  return "(none)";
}

std::string Attribute(const std::string& document, const std::string& name = "v") {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText(document);
  return Attribute(tokenizer, name);
}

struct CharacterCase {
  const char* label;
  const char* reference;
  std::u16string character;  // what the reference must stand for
};

// Character references give the character they name, in the code page, in
// text as well as in attribute values, whatever the document's encoding.
const CharacterCase kCharacterCases[] = {
    {"decimal_ascii", "&#65;", u"A"},
    {"hexadecimal_lower_x", "&#x41;", u"A"},
    {"hexadecimal_upper_x", "&#X6a;", u"j"},
    // U+0430 CYRILLIC SMALL LETTER A, never the digit 0 of its low eight bits
    {"cyrillic_a_decimal", "&#1072;", u"\u0430"},
    {"cyrillic_a_hexadecimal", "&#x430;", u"\u0430"},
    // U+0401 CYRILLIC CAPITAL LETTER IO
    {"cyrillic_io", "&#1025;", u"\u0401"},
    // U+00E9 LATIN SMALL LETTER E WITH ACUTE: one byte below 256, still a character
    {"latin_e_acute", "&#233;", u"\u00E9"},
    // U+1F600 above the 16-bit range: its surrogate pair
    {"astral", "&#x1F600;", u"\U0001F600"},
    // Numbers that name no character stand as the replacement character.
    {"zero", "&#0;", u"\uFFFD"},
    {"surrogate", "&#xD800;", u"\uFFFD"},
    {"beyond_10FFFF", "&#x110000;", u"\uFFFD"},
    {"far_too_large", "&#99999999999999999999999;", u"\uFFFD"},
};

TEST(CharacterReference, InTextGivesTheNamedCharacter) {
  for (const CharacterCase& row : kCharacterCases) {
    SCOPED_TRACE(row.label);
    EXPECT_TRUE(SameBytes(Ansi(row.character) + '|', Texts(std::string("<a>") + row.reference)));
    EXPECT_TRUE(
        SameBytes(Ansi(row.character) + '|', Texts(kUtf8Prolog + "<a>" + row.reference + "</a>")));
  }
}

TEST(CharacterReference, InAttributeValueGivesTheNamedCharacter) {
  for (const CharacterCase& row : kCharacterCases) {
    SCOPED_TRACE(row.label);
    for (const std::string& prolog :
         {std::string(), kUtf8Prolog,
          std::string("<?xml version=\"1.0\" encoding=\"windows-1251\"?>")}) {
      EXPECT_TRUE(
          SameBytes(Ansi(row.character), Attribute(prolog + "<a v=\"" + row.reference + "\"/>")))
          << prolog;
    }
  }
}

TEST(CharacterReference, SingleByteCodePageGetsItsOwnBytes) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  EXPECT_TRUE(SameBytes("\xE0|", Texts("<a>&#1072;</a>")));
  EXPECT_TRUE(SameBytes("\xE0\xA8", Attribute("<a v=\"&#1072;&#x401;\"/>")));
  // U+20AC EURO SIGN is missing from this code page: its default character.
  EXPECT_TRUE(SameBytes("?|", Texts("<a>&#8364;</a>")));
  EXPECT_TRUE(SameBytes("x?y", Attribute("<a v=\"x&#8364;y\"/>")));
}

struct MalformedCase {
  const char* label;
  const char* reference;
  bool replacementInAttribute;  // else a space, as in text
};

// Digits that form no number: a space, except a hexadecimal reference in an
// attribute value, which gives the character 0 and so the replacement.
TEST(CharacterReference, MalformedNumbers) {
  const std::string replacement = Ansi(u"\uFFFD");
  const MalformedCase cases[] = {
      {"no_digits", "&#;", false},         {"letters_in_decimal", "&#12a;", false},
      {"minus_sign", "&#-5;", false},      {"x_alone", "&#x;", true},
      {"not_hexadecimal", "&#xZZ;", true},
  };
  for (const MalformedCase& row : cases) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(Texts(std::string("<a>[") + row.reference + "]</a>"), "[ ]|");
    const std::string expected = row.replacementInAttribute ? replacement : std::string(" ");
    EXPECT_TRUE(SameBytes("[" + expected + "]",
                          Attribute(std::string("<a v=\"[") + row.reference + "]\"/>")));
  }
}

struct TextCase {
  const char* label;
  std::string document;
  std::string normalized;  // Texts() with Normalize true
  std::string raw;         // and with Normalize false
};

class TextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextTest, Content) {
  EXPECT_TRUE(SameBytes(GetParam().normalized, Texts(GetParam().document, true)));
  EXPECT_TRUE(SameBytes(GetParam().raw, Texts(GetParam().document, false)));
}

INSTANTIATE_TEST_SUITE_P(
    References, TextTest,
    ::testing::Values(
        TextCase{"predefined", "<a>&lt;&gt;&amp;&apos;&quot;</a>", "<>&'\"|", "<>&'\"|"},
        TextCase{"amp_then_number_stays_a_reference_text", "<a>&amp;#65;</a>", "&#65;|", "&#65;|"},
        TextCase{"undeclared_gives_its_name", "<a>x&foo;y</a>", "xfooy|", "xfooy|"},
        TextCase{"empty_name_gives_nothing", "<a>x&;y</a>", "xy|", "xy|"},
        TextCase{"lone_ampersand_is_dropped", "<a>a & b</a>", "a b|", "a  b|"},
        TextCase{"trailing_ampersand_is_dropped", "<a>a&", "a|", "a|"},
        TextCase{"semicolon_beyond_a_tag_takes_the_tag", "<a>a &b<x/>c; d</a>", "a b<x/>c d|",
                 "a b<x/>c d|"},
        TextCase{"references_to_white_space_are_normalized_too", "<a>&#32;x&#9;&#10;y&#32;</a>",
                 "x y|", " x\t\ny |"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    WhiteSpace, TextTest,
    ::testing::Values(
        TextCase{"trimmed_and_packed", "<a> \t a \r\n\n b  </a>", "a b|", " \t a \r\n\n b  |"},
        TextCase{"only_white_space_between_tags", "<a> <b/>\n</a>", "", " |\n|"},
        // Nothing else is white space: a no-break space (0xA0) stays.
        TextCase{"other_bytes_are_not_white", "<a>\xA0x\x0B</a>", "\xA0x\x0B|", "\xA0x\x0B|"},
        TextCase{"comment_splits_the_text", "<a>one<!-- c -->two</a>", "one|two|", "one|two|"},
        TextCase{"cdata_keeps_everything", "<a> x <![CDATA[ y ]]> z </a>", "x| y |z|",
                 " x | y | z |"},
        TextCase{"text_after_the_last_tag", "<a/> tail ", "tail|", " tail |"},
        TextCase{"single_spaces_stay", "<a>a b c</a>", "a b c|", "a b c|"},
        TextCase{"late_double_space", "<a>a b c  d e</a>", "a b c d e|", "a b c  d e|"},
        TextCase{"late_tab", "<a>a b c\td</a>", "a b c d|", "a b c\td|"},
        TextCase{"space_then_line_feed", "<a>ab \ncd</a>", "ab cd|", "ab \ncd|"},
        TextCase{"trailing_only", "<a>a b </a>", "a b|", "a b |"},
        TextCase{"control_bytes_are_not_white", "<a>a\x01 \x1F</a>", "a\x01 \x1F|", "a\x01 \x1F|"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Text, ReferencesAndTagsAtEveryOffset) {
  // Text is searched several bytes at a time: a reference or a tag must be
  // found wherever it falls among them.
  for (std::size_t before = 0; before < 20; ++before) {
    for (std::size_t after = 0; after < 12; ++after) {
      const std::string head(before, 'x');
      const std::string tail(after, 'y');
      SCOPED_TRACE(std::to_string(before) + " before, " + std::to_string(after) + " after");
      EXPECT_EQ(Texts("<a>" + head + "&amp;" + tail + "<b/>" + head + "</a>"),
                head + '&' + tail + '|' + (before ? head + '|' : std::string()));
    }
  }
}

TEST(Text, WhiteSpaceAtEveryOffsetIsPacked) {
  // Text is checked for white space many bytes at a time: a run of it, or
  // a control byte that is kept, must be found wherever it falls.
  const struct {
    std::string inserted;
    std::string packed;
  } cases[] = {{" ", " "},     {"  ", " "},      {"\t", " "},
               {"\r\n ", " "}, {"\x01", "\x01"}, {"\xD0\x96", "\xD0\x96"}};
  for (std::size_t before = 1; before < 40; ++before) {
    for (const std::size_t after : {1, 2, 9, 17}) {
      for (const auto& each : cases) {
        const std::string head(before, 'x');
        const std::string tail(after, 'y');
        SCOPED_TRACE(std::to_string(before) + " before, " + std::to_string(after) + " after");
        EXPECT_EQ(Texts("<a>" + head + each.inserted + tail + "</a>"),
                  head + each.packed + tail + '|');
      }
    }
  }
}

TEST(Translation, Utf8TextAndAttributeValuesArriveInTheCodePage) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText(kUtf8Prolog +
                     "<\xD0\xB8\xD0\xBC\xD1\x8F "
                     "\xD0\xB0=\"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\">"
                     "\xD0\xBC\xD0\xB8\xD1\x80<![CDATA[\xD1\x91]]></\xD0\xB8\xD0\xBC\xD1\x8F>");
  tokenizer.BeginScan();
  ASSERT_TRUE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.CurrentEncoding(), "UTF-8");
  ASSERT_TRUE(tokenizer.NextPart());
  // Names stay the raw bytes of the file; the value is converted.
  EXPECT_TRUE(SameBytes("\xD0\xB8\xD0\xBC\xD1\x8F", tokenizer.PartName()));
  ASSERT_EQ(tokenizer.PartAttributes().Count(), 1);
  EXPECT_TRUE(SameBytes("\xD0\xB0", tokenizer.PartAttributes()[0].Name));
  EXPECT_TRUE(SameBytes(Ansi(u"Привет"), tokenizer.PartAttributes()[0].Value));
  ASSERT_TRUE(tokenizer.NextPart());
  EXPECT_TRUE(SameBytes(Ansi(u"мир"), tokenizer.PartContent()));
  ASSERT_TRUE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.PartKind(), TPartKind::CData);
  EXPECT_TRUE(SameBytes(Ansi(u"ё"), tokenizer.PartContent()));
}

struct EncodingCase {
  const char* label;
  std::string prolog;
  const char* currentEncoding;
  bool translated;
};

TEST(Translation, OnlyUtf8IsTranslated) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  const EncodingCase cases[] = {
      {"upper_case", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "UTF-8", true},
      {"lower_case", "<?xml version=\"1.0\" encoding=\"utf-8\"?>", "UTF-8", true},
      {"no_encoding_means_utf8", "<?xml version=\"1.0\"?>", "UTF-8", true},
      {"other_name", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>", "WINDOWS-1251", false},
      {"utf8_without_hyphen_is_another_name", "<?xml version=\"1.0\" encoding=\"utf8\"?>", "UTF8",
       false},
      {"no_declaration_in_a_fresh_tokenizer", "", "", false},
  };
  for (const EncodingCase& row : cases) {
    SCOPED_TRACE(row.label);
    TXmlTokenizer tokenizer;
    tokenizer.LoadText(row.prolog + "<a v=\"\xD0\xB0\">\xD0\xB1</a>");
    const std::string text = Texts(tokenizer);
    EXPECT_EQ(tokenizer.CurrentEncoding(), row.currentEncoding);
    EXPECT_TRUE(SameBytes(row.translated ? "\xE1|" : "\xD0\xB1|", text));
    EXPECT_TRUE(SameBytes(row.translated ? "\xE0" : "\xD0\xB0", Attribute(tokenizer, "v")));
  }
}

TEST(Translation, CharactersTheCodePageLacksAreNoted) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  const struct {
    const char* label;
    std::string document;
    bool lost;
  } cases[] = {
      {"Cyrillic", "<a>\xD0\xB1</a>", false},
      {"Chinese", "<a>\xE4\xB8\xAD</a>", true},
      {"in an attribute", "<a v=\"\xE4\xB8\xAD\"/>", true},
      {"a surrogate pair", "<a>\xF0\x9F\x98\x80</a>", true},
      {"a reference", "<a>&#x4E2D;</a>", true},
      {"a reference to Cyrillic", "<a>&#x431;</a>", false},
      {"character 0 stands as the replacement", "<a>&#0;</a>", false},
      {"a stray byte reads as the character of its value", "<a>\xFF</a>", true},
  };
  TXmlTokenizer tokenizer;
  for (const auto& row : cases) {
    SCOPED_TRACE(row.label);
    tokenizer.LoadText(kUtf8Prolog + row.document);
    Texts(tokenizer);
    EXPECT_EQ(tokenizer.CharactersLost(), row.lost);
    tokenizer.LoadText(kUtf8Prolog + "<a>b</a>");
    Texts(tokenizer);
    EXPECT_FALSE(tokenizer.CharactersLost()) << "each scan starts afresh";
  }
}

TEST(Translation, TheEncodingCarriesOverToTheNextDocument) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  TXmlTokenizer tokenizer;
  tokenizer.LoadText("<a>\xD0\xB1</a>");
  EXPECT_TRUE(SameBytes("\xD0\xB1|", Texts(tokenizer))) << "a fresh tokenizer translates nothing";
  tokenizer.LoadText(kUtf8Prolog + "<a/>");
  Texts(tokenizer);
  tokenizer.LoadText("<a>\xD0\xB1</a>");
  EXPECT_TRUE(SameBytes("\xE1|", Texts(tokenizer))) << "UTF-8 from the document before";
}

TEST(Translation, ByteOrderMarkIsUntranslatedText) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  EXPECT_TRUE(
      SameBytes("\xEF\xBB\xBF|\xE1|", Texts("\xEF\xBB\xBF" + kUtf8Prolog + "<a>\xD0\xB1</a>")));
}

TEST(Translation, CharactersAboveFFFFTravelAsSurrogatePairs) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  // U+1F600 between two Cyrillic letters, in text and in an attribute.
  TXmlTokenizer tokenizer;
  tokenizer.LoadText(kUtf8Prolog +
                     "<a v=\"\xF0\x9F\x98\x80\">\xD0\xB0\xF0\x9F\x98\x80\xD0\xB1</a>");
  const std::string text = Texts(tokenizer);
  ASSERT_GE(text.size(), 3u);
  EXPECT_EQ(text.front(), '\xE0');
  EXPECT_TRUE(SameBytes("\xE1|", text.substr(text.size() - 2)));
  EXPECT_EQ(text.find('\0'), std::string::npos) << "never the character 0";
  bool sawPair = false;
  for (const std::u16string& converted : cp1251.received) {
    EXPECT_EQ(converted.find(u'\0'), std::u16string::npos) << "never the character 0";
    if (converted.find(u"\xD83D\xDE00") != std::u16string::npos) sawPair = true;
  }
  EXPECT_TRUE(sawPair);
}

TEST(Translation, Utf8CodePageGetsTheCharacterItself) {
  if (platform::current().activeCodePage() != 65001) GTEST_SKIP() << "not a UTF-8 code page";
  EXPECT_TRUE(SameBytes("\xF0\x9F\x98\x80|", Texts(kUtf8Prolog + "<a>\xF0\x9F\x98\x80</a>")));
  EXPECT_TRUE(SameBytes("\xF0\x9F\x98\x80|", Texts("<a>&#128512;</a>")));
}

struct AttributeCase {
  const char* label;
  const char* value;  // as written between the quotes
  const char* result;
};

const AttributeCase kAttributeCases[] = {
    {"predefined", "&lt;&gt;&amp;&apos;&quot;", "<>&'\""},
    {"amp_then_number_ends_as_the_character", "&amp;#65;", "A"},
    {"undeclared_stays_as_written", "x&foo;y", "x&foo;y"},
    {"lone_ampersand_stays", "a & b", "a & b"},
    {"semicolon_right_after_ampersand_is_not_a_reference_end", "&;x", "&;x"},
    {"white_space_folded_without_packing", "a\tb\r\n c", "a b   c"},
    {"character_reference_to_a_line_feed_is_folded", "a&#10;b", "a b"},
    {"leading_and_trailing_white_space_kept", "  a  ", "  a  "},
    {"other_quote_inside", "it's", "it's"},
};

TEST(AttributeValue, References) {
  for (const AttributeCase& row : kAttributeCases) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(Attribute(std::string("<a v=\"") + row.value + "\"/>"), row.result);
  }
}

TEST(AttributeValue, EndTagAttributesAreNotProcessed) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText("</a v=\"&lt;\t\">");
  tokenizer.BeginScan();
  ASSERT_TRUE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.PartKind(), TPartKind::EndTag);
  EXPECT_EQ(tokenizer.PartAttributes().ValueOf("v"), "&lt;\t");
}

TEST(AttributeValue, DeclarationPseudoAttributesStayRaw) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText("<?xml version=\"1.&amp;0\"?><?pi a=\"&lt;\"?>");
  tokenizer.BeginScan();
  ASSERT_TRUE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.DeclaredVersion(), "1.&amp;0");
  ASSERT_TRUE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.PartAttributes().ValueOf("a"), "&lt;");
}

// Declared entities, filled here by hand as a document type definition would.
class EntityTest : public ::testing::Test {
 protected:
  void Load(const std::string& document, const std::string& sourceName = "<text>") {
    tokenizer.LoadText(document, sourceName);
  }
  void Internal(const std::string& name, const std::string& value) {
    tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>(name, value));
  }
  void External(const std::string& name, const std::string& systemId) {
    TEntityDef& entity = tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>(name, ""));
    entity.SystemId = systemId;
  }
  TXmlTokenizer tokenizer;
};

TEST_F(EntityTest, ReplacementTextJoinsTheTextPart) {
  Load("<a>x &e; y</a>");
  Internal("e", "one  two");
  EXPECT_EQ(testing::Scan(tokenizer), (Strings{"Start Tag a", "Text {x one two y}", "End Tag a"}));
}

TEST_F(EntityTest, MarkupInAReplacementTextIsReadAsParts) {
  Load("<a>x&e;y</a>");
  Internal("e", "1<b k='&lt;'>2</b>3");
  EXPECT_EQ(testing::Scan(tokenizer), (Strings{"Start Tag a", "Text {x1}", "Start Tag b [k=<]",
                                               "Text {2}", "End Tag b", "Text {3y}", "End Tag a"}));
}

TEST_F(EntityTest, NestedEntitiesAndAReplacementEndingAnEnclosingOne) {
  // The inner entity is the last thing of the outer one: reading must come
  // back out of both and go on in the document.
  Load("<a>[&outer;]<b/></a>");
  Internal("outer", "(&inner;");
  Internal("inner", "<i/>");
  EXPECT_EQ(testing::Scan(tokenizer), (Strings{"Start Tag a", "Text {[(}", "Empty Tag i",
                                               "Text {]}", "Empty Tag b", "End Tag a"}));
}

TEST_F(EntityTest, ReplacementTextIsTranslatedWhereItIsRead) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  Load(kUtf8Prolog + "<a v=\"&e;\">&e;</a>");
  Internal("e", "\xD0\xB0");
  EXPECT_TRUE(SameBytes("\xE0|", Texts(tokenizer)));
  EXPECT_TRUE(SameBytes("\xE0", Attribute(tokenizer, "v")));
  EXPECT_TRUE(SameBytes("\xD0\xB0", tokenizer.GeneralEntities().ValueOf("e"))) << "stored raw";
}

TEST_F(EntityTest, AttributeValuesExpandEntitiesBeforeCharacterReferences) {
  Load("<a v=\"[&e;|&n;|&foo;]\"/>");
  Internal("e", "&amp;#65;&n;");
  Internal("n", "&#66;\t");
  EXPECT_EQ(Attribute(tokenizer, "v"), "[AB |B |&foo;]");
}

TEST_F(EntityTest, ExternalEntityIsReadFromTheDocumentsFolder) {
  testing::FilesPlatform files;
  files.files["C:\\lists\\part.xml"] = "<p/>from file";
  files.files["C:\\lists\\sub\\v.txt"] = "value";
  platform::ScopedPlatform installed(files);
  files.files["C:\\lists\\doc.xml"] = "<a v=\"&v;\">&part;</a>";
  ASSERT_TRUE(tokenizer.LoadFile("C:\\lists\\doc.xml"));
  External("part", "part.xml");
  External("v", "sub/v.txt");
  EXPECT_EQ(testing::Scan(tokenizer),
            (Strings{"Start Tag a [v=value]", "Empty Tag p", "Text {from file}", "End Tag a"}));
  EXPECT_EQ(files.reads,
            (Strings{"C:\\lists\\doc.xml", "C:\\lists\\sub\\v.txt", "C:\\lists\\part.xml"}));
}

struct ExternalPathCase {
  const char* label;
  const char* document;
  const char* systemId;
  const char* read;  // the path read, or empty when nothing may be read
};

TEST_F(EntityTest, ExternalEntityPaths) {
  const ExternalPathCase cases[] = {
      {"posix_folder", "/data/lists/doc.xml", "e.xml", "/data/lists/e.xml"},
      {"posix_subfolder", "/data/lists/doc.xml", "sub/e.xml", "/data/lists/sub/e.xml"},
      {"windows_subfolder", "C:\\l\\doc.xml", "sub/e.xml", "C:\\l\\sub\\e.xml"},
      {"drive_path_as_given", "/data/doc.xml", "D:\\e.xml", "D:\\e.xml"},
      {"network_share_is_never_read", "/data/doc.xml", "\\\\host\\e.xml", ""},
      {"network_share_with_slashes_is_never_read", "C:\\l\\doc.xml", "//host/e.xml", ""},
      {"absolute_posix_as_given", "C:\\l\\doc.xml", "/etc/e.xml", "/etc/e.xml"},
      {"http_is_never_read", "/data/doc.xml", "http://example.com/e.xml", ""},
      {"file_url_is_never_read", "/data/doc.xml", "file:///etc/passwd", ""},
      {"empty_system_id", "/data/doc.xml", "", ""},
  };
  for (const ExternalPathCase& row : cases) {
    SCOPED_TRACE(row.label);
#ifdef _WIN32
    // "/" separates folders only in POSIX paths.
    if (std::string_view(row.label).starts_with("posix_")) continue;
#endif
    testing::FilesPlatform files;
    files.files[row.document] = "<a>[&e;]</a>";
    if (*row.read) files.files[row.read] = "ok";
    platform::ScopedPlatform installed(files);
    ASSERT_TRUE(tokenizer.LoadFile(row.document));
    External("e", row.systemId);
    EXPECT_EQ(Texts(tokenizer), *row.read ? "[ok]|" : "[]|");
    Strings expectedReads{row.document};
    if (*row.read) expectedReads.push_back(row.read);
    EXPECT_EQ(files.reads, expectedReads);
  }
}

TEST_F(EntityTest, MissingExternalEntityContributesNothing) {
  testing::FilesPlatform files;
  platform::ScopedPlatform installed(files);
  Load("<a v=\"x&e;y\">x&e;y</a>", "C:\\doc.xml");
  External("e", "missing.xml");
  EXPECT_EQ(Texts(tokenizer), "xy|");
  EXPECT_EQ(Attribute(tokenizer, "v"), "xy");
}

// An in-memory external document, supplied through the virtual operation.
class WithExternal : public TXmlTokenizer {
 public:
  std::unique_ptr<TXmlTokenizer> OpenExternalEntity(const std::string& SystemId, const std::string&,
                                                    const std::string&) override {
    opened.push_back(SystemId);
    auto document = std::make_unique<TXmlTokenizer>();
    document->LoadText(text);
    return document;
  }
  std::string text;
  Strings opened;
};

TEST(ExternalEntity, ItsTextDeclarationSetsTheEncodingWhileItIsRead) {
  testing::Cp1251Platform cp1251;
  platform::ScopedPlatform installed(cp1251);
  WithExternal tokenizer;
  tokenizer.text = kUtf8Prolog + "\xD0\xB1";
  tokenizer.LoadText("<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>\xE0&e;\xE0</a>");
  TEntityDef& entity = tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>("e", ""));
  entity.SystemId = "e.xml";
  // The entity's own declaration makes its text UTF-8; the document's
  // encoding comes back after it, within the same text part.
  EXPECT_TRUE(SameBytes("\xE0|\xE1\xE0|", Texts(tokenizer)));
  EXPECT_EQ(tokenizer.opened, Strings{"e.xml"});
  EXPECT_EQ(tokenizer.DeclaredEncoding(), "windows-1251") << "only the document's declaration";
  EXPECT_EQ(tokenizer.CurrentEncoding(), "WINDOWS-1251");
}

}  // namespace
}  // namespace brimlow
