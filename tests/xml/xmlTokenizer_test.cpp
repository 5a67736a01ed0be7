// Cutting documents into parts: kinds, names, attributes, open constructs.
#include "xml/xmlTokenizer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "xmlTestSupport.h"

namespace brimlow {
namespace {

using testing::Parts;
using Strings = std::vector<std::string>;

struct PartsCase {
  const char* label;
  std::string document;
  Strings parts;
};

class PartsTest : public ::testing::TestWithParam<PartsCase> {};

TEST_P(PartsTest, Parts) {
  EXPECT_EQ(Parts(GetParam().document), GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PartsTest,
    ::testing::Values(
        PartsCase{"prolog_then_element",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a x=\"1\">t</a>",
                  {"XML Prolog [encoding=UTF-8 version=1.0]", "Start Tag a [x=1]", "Text {t}",
                   "End Tag a"}},
        PartsCase{"stylesheet_is_a_pi",
                  "<?xml-stylesheet href=\"s.css\"?>",
                  {"PI xml-stylesheet { href=\"s.css\"} [href=s.css]"}},
        PartsCase{"xml_directly_before_end_is_a_pi", "<?xml?>", {"PI xml {}"}},
        PartsCase{"pi_content_keeps_leading_space", "<?go  on ?>", {"PI go {  on }"}},
        PartsCase{"comment_keeps_delimiters",
                  "<!-- a -- b -->x",
                  {"Comment {<!-- a -- b -->}", "Text {x}"}},
        PartsCase{"empty_cdata_is_reported", "<![CDATA[]]>", {"CDATA {}"}},
        PartsCase{"cdata_keeps_white_space", "<![CDATA[ a  \n b ]]>", {"CDATA { a  \n b }"}},
        PartsCase{"empty_tag", "<a/><b />", {"Empty Tag a", "Empty Tag b"}},
        PartsCase{"end_tag_ending_in_slash_is_empty", "</a/>", {"Empty Tag a"}},
        PartsCase{"valueless_last_attribute", "<a b/>", {"Start Tag a"}},
        PartsCase{"duplicate_attribute_order", "<a b=\"1\" b=\"2\">", {"Start Tag a [b=2 b=1]"}},
        PartsCase{"doctype",
                  "<!DOCTYPE list SYSTEM \"l.dtd\"><list/>",
                  {"DTD Declaration list", "Empty Tag list"}},
        PartsCase{"doctype_subset_with_gt_in_quotes",
                  "<!DOCTYPE a [<!ENTITY e \"x>y\"><!-- ] > --> ]><a/>",
                  {"DTD Declaration a", "Empty Tag a"}},
        PartsCase{"bom_is_text",
                  "\xEF\xBB\xBF<?xml version=\"1.0\"?>",
                  {"Text {\xEF\xBB\xBF}", "XML Prolog [version=1.0]"}},
        PartsCase{"other_bang_forms_are_tags", "<!ELEMENT x>", {"Start Tag !ELEMENT"}},
        PartsCase{"lone_lt_at_end", "a<", {"Text {a}", "Start Tag "}},
        PartsCase{"empty_document", "", {}}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    LeftOpen, PartsTest,
    ::testing::Values(PartsCase{"comment",
                                "<a/><!-- never closed",
                                {"Empty Tag a", "Comment {<!-- never closed}"}},
                      PartsCase{"pi_drops_last_two_characters", "<?pi abcd", {"PI pi { ab}"}},
                      PartsCase{"cdata", "<![CDATA[abc", {"CDATA {abc}"}},
                      PartsCase{"tag", "<a b=\"1\"", {"Start Tag a [b=1]"}},
                      PartsCase{"attribute_value", "<a b=\"1>text", {"Start Tag a [b=1>text]"}},
                      PartsCase{"doctype", "<!DOCTYPE a [ <!ENTITY", {"DTD Declaration a"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Tokenizer, ByteZeroEndsTheDocument) {
  EXPECT_EQ(Parts(std::string("<a>x\0<b/>", 9)), (Strings{"Start Tag a", "Text {x}"}));
}

TEST(Tokenizer, WhiteSpaceBetweenTagsDependsOnNormalize) {
  const std::string document = "<a>\n  <b> x \t y\n</b>\n</a>";
  EXPECT_EQ(Parts(document, true),
            (Strings{"Start Tag a", "Start Tag b", "Text {x y}", "End Tag b", "End Tag a"}));
  EXPECT_EQ(Parts(document, false),
            (Strings{"Start Tag a", "Text {\n  }", "Start Tag b", "Text { x \t y\n}", "End Tag b",
                     "Text {\n}", "End Tag a"}));
}

TEST(Tokenizer, PartPositionsCoverTheDocument) {
  // Each part begins right after the previous one ends, so the parts put
  // together give the document back.
  TXmlTokenizer tokenizer;
  const std::string document =
      "<?xml version=\"1.0\"?>\n<!-- c --><a x='1'>text &amp; more<![CDATA[z]]></a><?p q?>tail";
  tokenizer.LoadText(document);
  tokenizer.SetNormalize(false);
  tokenizer.BeginScan();
  std::string rebuilt;
  while (tokenizer.NextPart())
    rebuilt.append(tokenizer.PartStart(), tokenizer.PartEnd() + 1);
  EXPECT_EQ(rebuilt, document);
}

TEST(Tokenizer, NextPartKeepsReturningFalse) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText("<a/>");
  tokenizer.BeginScan();
  EXPECT_TRUE(tokenizer.NextPart());
  EXPECT_FALSE(tokenizer.NextPart());
  EXPECT_FALSE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.PartKind(), TPartKind::EmptyTag) << "the last kind stays";
}

TEST(Tokenizer, ScanningAgainGivesTheSameParts) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText("<!DOCTYPE a><a b='1'>x</a>");
  const Strings first = testing::Scan(tokenizer);
  EXPECT_EQ(testing::Scan(tokenizer), first);
  EXPECT_EQ(first.size(), 4u);
}

TEST(Tokenizer, NothingLoadedGivesNoPart) {
  TXmlTokenizer tokenizer;
  tokenizer.BeginScan();
  EXPECT_FALSE(tokenizer.NextPart());
  EXPECT_EQ(tokenizer.DocumentSize(), 0u);
  EXPECT_STREQ(tokenizer.DocumentText(), "");
}

class LoadFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("brimlow_xml_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path folder;
};

TEST_F(LoadFileTest, ReadsTheWholeFile) {
  const std::string path = Write("list.xml", "<a>x</a>");
  TXmlTokenizer tokenizer;
  ASSERT_TRUE(tokenizer.LoadFile(path));
  EXPECT_EQ(tokenizer.SourceName(), path);
  EXPECT_EQ(tokenizer.DocumentSize(), 9u);
  EXPECT_EQ(testing::Scan(tokenizer), (Strings{"Start Tag a", "Text {x}", "End Tag a"}));
}

TEST_F(LoadFileTest, EmptyFileGivesNoPart) {
  TXmlTokenizer tokenizer;
  ASSERT_TRUE(tokenizer.LoadFile(Write("empty.xml", "")));
  EXPECT_TRUE(testing::Scan(tokenizer).empty());
}

TEST_F(LoadFileTest, FailureLeavesTheTokenizerEmpty) {
  TXmlTokenizer tokenizer;
  ASSERT_TRUE(tokenizer.LoadFile(Write("first.xml", "<a/>")));
  tokenizer.SetNormalize(false);
  EXPECT_FALSE(tokenizer.LoadFile((folder / "missing.xml").string()));
  EXPECT_EQ(tokenizer.SourceName(), "");
  EXPECT_TRUE(tokenizer.Normalize());
  EXPECT_TRUE(testing::Scan(tokenizer).empty());
  EXPECT_FALSE(tokenizer.LoadFile(folder.string())) << "a folder is no document";
}

TEST(Tokenizer, LoadFileGoesThroughThePlatform) {
  testing::FilesPlatform files;
  files.files["C:\\lists\\default.xml"] = "<a/>";
  platform::ScopedPlatform installed(files);
  TXmlTokenizer tokenizer;
  EXPECT_TRUE(tokenizer.LoadFile("C:\\lists\\default.xml"));
  EXPECT_EQ(testing::Scan(tokenizer), Strings{"Empty Tag a"});
  EXPECT_EQ(files.reads, Strings{"C:\\lists\\default.xml"});
}

TEST(Tokenizer, ResetKeepsTheCurrentEncoding) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText("<?xml version=\"1.0\" encoding=\"windows-1251\"?>");
  testing::Scan(tokenizer);
  EXPECT_EQ(tokenizer.CurrentEncoding(), "WINDOWS-1251");
  EXPECT_EQ(tokenizer.DeclaredEncoding(), "windows-1251");
  tokenizer.LoadText("<a/>");
  EXPECT_EQ(tokenizer.CurrentEncoding(), "WINDOWS-1251");
  EXPECT_EQ(tokenizer.DeclaredEncoding(), "");
}

TEST(Tokenizer, StandaloneOnlyWhenExactlyYes) {
  for (const auto& [declaration, standalone] :
       std::vector<std::pair<std::string, bool>>{{"standalone=\"yes\"", true},
                                                 {"standalone=\"YES\"", false},
                                                 {"standalone=\"no\"", false},
                                                 {"", false}}) {
    TXmlTokenizer tokenizer;
    tokenizer.LoadText("<?xml version=\"1.0\" " + declaration + "?>");
    testing::Scan(tokenizer);
    EXPECT_EQ(tokenizer.DeclaredStandalone(), standalone) << declaration;
    EXPECT_EQ(tokenizer.DeclaredVersion(), "1.0");
  }
}

}  // namespace
}  // namespace brimlow
