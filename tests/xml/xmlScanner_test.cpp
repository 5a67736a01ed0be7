// The event scanner: one callback per part, in document order.
#include "xml/xmlScanner.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "xmlTestSupport.h"

namespace brimlow {
namespace {

using Strings = std::vector<std::string>;

std::string AttributesText(const TAttrList& attributes) {
  std::string out;
  for (const TAttr& attribute : attributes)
    out += ' ' + attribute.Name + '=' + attribute.Value;
  return out;
}

// Assigns every handler of a scanner and writes down each event.
struct Recorder {
  explicit Recorder(TCustomEventScanner& scanner) {
    scanner.OnXmlProlog = [this](TCustomEventScanner&, const std::string& version,
                                 const std::string& encoding, bool standalone) {
      events.push_back("prolog " + version + ' ' + encoding + (standalone ? " yes" : " no"));
    };
    scanner.OnComment = [this](TCustomEventScanner&, const std::string& text) {
      events.push_back("comment " + text);
    };
    scanner.OnPI = [this](TCustomEventScanner&, const std::string& target,
                          const std::string& content, const TAttrList& attributes) {
      events.push_back("pi " + target + " {" + content + '}' + AttributesText(attributes));
    };
    scanner.OnDtdDeclaration = [this](TCustomEventScanner&, const std::string& name) {
      events.push_back("doctype " + name);
    };
    scanner.OnStartTag = [this](TCustomEventScanner&, const std::string& name,
                                const TAttrList& attributes) {
      events.push_back("start " + name + AttributesText(attributes));
    };
    scanner.OnEmptyTag = [this](TCustomEventScanner&, const std::string& name,
                                const TAttrList& attributes) {
      events.push_back("empty " + name + AttributesText(attributes));
    };
    scanner.OnEndTag = [this](TCustomEventScanner&, const std::string& name) {
      events.push_back("end " + name);
    };
    scanner.OnContent = [this](TCustomEventScanner&, const std::string& text) {
      events.push_back("content {" + text + '}');
    };
    scanner.OnCData = [this](TCustomEventScanner&, const std::string& text) {
      events.push_back("cdata {" + text + '}');
    };
  }
  Strings events;
};

// The Cyrillic code page, with the files of another platform.
class Cp1251Files : public testing::Cp1251Platform {
 public:
  explicit Cp1251Files(testing::FilesPlatform& files) : FFiles(files) {}
  std::string readFile(const std::string& path) override { return FFiles.readFile(path); }

 private:
  testing::FilesPlatform& FFiles;
};

class ScannerTest : public ::testing::Test {
 protected:
  void SetUp() override { installed = std::make_unique<platform::ScopedPlatform>(files); }
  void TearDown() override { installed.reset(); }
  // Loads `document` through the file name, as the list readers do.
  void Load(const std::string& document, const std::string& path = "C:\\doc.xml") {
    files.files[path] = document;
    scanner.SetFilename(path);
  }
  Strings Run() {
    recorder.events.clear();
    scanner.Run();
    return recorder.events;
  }
  testing::FilesPlatform files;
  std::unique_ptr<platform::ScopedPlatform> installed;
  TXmlEventScanner scanner;
  Recorder recorder{scanner};
};

TEST_F(ScannerTest, OneEventPerPartInDocumentOrder) {
  Load(
      "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?>\n"
      "<!-- first -->\n<!DOCTYPE list>\n<?app go=\"1\"?>\n"
      "<list a=\"1\" b='&lt;'>\n  text &amp; more\n  <item/><![CDATA[ raw ]]>\n</list>");
  EXPECT_EQ(Run(), (Strings{"prolog 1.0 windows-1251 yes", "comment <!-- first -->", "doctype list",
                            "pi app { go=\"1\"} go=1", "start list a=1 b=<",
                            "content {text & more}", "empty item", "content { raw }", "end list"}));
}

TEST_F(ScannerTest, CDataGoesToOnContentOnly) {
  Load("<a><![CDATA[]]><![CDATA[ x ]]></a>");
  EXPECT_EQ(Run(), (Strings{"start a", "content {}", "content { x }", "end a"}));
}

TEST(CustomScanner, CDataGoesToOnCData) {
  // The base scanner keeps the two kinds apart.
  TCustomEventScanner scanner;
  Recorder recorder(scanner);
  scanner.Tokenizer().LoadText("<a>x<![CDATA[y]]></a>");
  scanner.Run();
  EXPECT_EQ(recorder.events, (Strings{"start a", "content {x}", "cdata {y}", "end a"}));
}

TEST_F(ScannerTest, NormalizeWorksOnlyWhenWrittenAfterFilename) {
  const std::string document = "<a>\n  <b> x\n y </b>\n</a>";
  const Strings normalized{"start a", "start b", "content {x y}", "end b", "end a"};
  scanner.SetNormalize(false);
  Load(document);
  EXPECT_TRUE(scanner.Normalize());
  EXPECT_EQ(Run(), normalized);
  scanner.SetNormalize(false);
  EXPECT_EQ(Run(), (Strings{"start a", "content {\n  }", "start b", "content { x\n y }", "end b",
                            "content {\n}", "end a"}));
  Load(document);
  EXPECT_EQ(Run(), normalized) << "a new file normalizes again";
}

TEST_F(ScannerTest, FilenameReadsBackAndAFailedLoadFiresNothing) {
  Load("<a/>");
  EXPECT_EQ(scanner.Filename(), "C:\\doc.xml");
  scanner.SetFilename("C:\\missing.xml");
  EXPECT_EQ(scanner.Filename(), "");
  EXPECT_TRUE(Run().empty());
}

TEST_F(ScannerTest, RunningAgainStartsOver) {
  Load("<a>x</a>");
  const Strings first = Run();
  EXPECT_EQ(first.size(), 3u);
  EXPECT_EQ(Run(), first);
}

TEST_F(ScannerTest, StopRequestedEndsTheRun) {
  Load("<a><b/>x<c/></a>");
  scanner.OnEmptyTag = [this](TCustomEventScanner& sender, const std::string& name,
                              const TAttrList&) {
    recorder.events.push_back("empty " + name);
    sender.StopRequested = true;
  };
  EXPECT_EQ(Run(), (Strings{"start a", "empty b"}));
  EXPECT_EQ(Run(), (Strings{"start a", "empty b"})) << "each run clears the request";
}

TEST_F(ScannerTest, AnExceptionFromAHandlerLeavesRun) {
  Load("<a><b/><c/></a>");
  scanner.OnEmptyTag = [](TCustomEventScanner&, const std::string&, const TAttrList&) {
    throw std::runtime_error("stop here");
  };
  scanner.OnEndTag = [this](TCustomEventScanner&, const std::string& name) {
    recorder.events.push_back("end " + name);
  };
  recorder.events.clear();
  EXPECT_THROW(scanner.Run(), std::runtime_error);
  EXPECT_EQ(recorder.events, Strings{"start a"});
}

TEST_F(ScannerTest, TheAttributeListIsRefilledByTheNextTag) {
  Load("<a x=\"1\"><b y=\"2\"/></a>");
  const TAttrList* kept = nullptr;
  scanner.OnStartTag = [&kept](TCustomEventScanner&, const std::string&,
                               const TAttrList& attributes) { kept = &attributes; };
  scanner.OnEmptyTag = [&kept](TCustomEventScanner&, const std::string&, const TAttrList&) {
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->ValueOf("x"), "");
    EXPECT_EQ(kept->ValueOf("y"), "2");
  };
  scanner.Run();
  ASSERT_NE(kept, nullptr);
}

TEST_F(ScannerTest, TranslationHandlerReplacesTheConversion) {
  Load("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a v=\"\xD0\xB0&amp;\">\xD0\xB1&lt;c</a>");
  Strings calls;
  scanner.OnTranslateEncoding = [&calls](TCustomEventScanner&, const std::string& encoding,
                                         const std::string& source) {
    calls.push_back(encoding + ':' + source);
    return '[' + source + ']';
  };
  EXPECT_EQ(Run(), (Strings{"prolog 1.0 UTF-8 no", "start a v=[\xD0\xB0&]",
                            "content {[\xD0\xB1]<[c]}", "end a"}));
  // Once per attribute value, once per run of text between references.
  EXPECT_EQ(calls, (Strings{"UTF-8:\xD0\xB0&", "UTF-8:\xD0\xB1", "UTF-8:c"}));
}

TEST_F(ScannerTest, ReadersGetConvertedAttributesAndText) {
  Cp1251Files cp1251(files);
  platform::ScopedPlatform converting(cp1251);
  files.files["C:\\doc.xml"] =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DownloadFile "
      "Name=\"\xD0\xB0\t&#x431;&quot;\">\n  \xD0\xB2  \xD0\xB3\n</DownloadFile>";
  scanner.SetFilename("C:\\doc.xml");
  EXPECT_EQ(Run(), (Strings{"prolog 1.0 UTF-8 no", "start DownloadFile Name=\xE0 \xE1\"",
                            "content {\xE2 \xE3}", "end DownloadFile"}));
}

TEST_F(ScannerTest, TheEncodingCarriesOverToTheNextFile) {
  Cp1251Files cp1251(files);
  platform::ScopedPlatform converting(cp1251);
  Load("<a>\xD0\xB0</a>", "C:\\plain.xml");
  EXPECT_EQ(Run()[1], "content {\xD0\xB0}");
  Load("<?xml version=\"1.0\"?><a/>", "C:\\declared.xml");
  Run();
  Load("<a>\xD0\xB0</a>", "C:\\plain.xml");
  EXPECT_EQ(Run()[1], "content {\xE0}");
}

// An external entity declared by hand, as a document type definition would.
void DeclareExternal(TXmlTokenizer& tokenizer, const std::string& name,
                     const std::string& systemId) {
  TEntityDef& entity = tokenizer.GeneralEntities().Add(std::make_unique<TEntityDef>(name, ""));
  entity.SystemId = systemId;
  entity.PublicId = "-//public";
}

TEST_F(ScannerTest, LoadExternalHandlerSuppliesTheEntities) {
  Strings asked;
  scanner.OnLoadExternal = [&asked](TCustomEventScanner&, const std::string& systemId,
                                    const std::string& publicId, const std::string& notationId,
                                    std::unique_ptr<TXmlTokenizer>& result) {
    asked.push_back(systemId + '|' + publicId + '|' + notationId);
    if (systemId == "none") return;  // supplies nothing
    result = std::make_unique<TXmlTokenizer>();
    result->LoadText("<from/>" + systemId);
  };
  scanner.Tokenizer().LoadText("<a>&e;[&n;]</a>");
  DeclareExternal(scanner.Tokenizer(), "e", "e.xml");
  DeclareExternal(scanner.Tokenizer(), "n", "none");
  EXPECT_EQ(Run(), (Strings{"start a", "empty from", "content {e.xml[]}", "end a"}));
  EXPECT_EQ(asked, (Strings{"e.xml|-//public|", "none|-//public|"}));
  EXPECT_TRUE(files.reads.empty()) << "no file is read when the handler supplies them";
}

TEST_F(ScannerTest, WithoutAHandlerExternalEntitiesAreFiles) {
  files.files["C:\\lists\\e.xml"] = "from file";
  Load("<a>&e;</a>", "C:\\lists\\doc.xml");
  DeclareExternal(scanner.Tokenizer(), "e", "e.xml");
  EXPECT_EQ(Run(), (Strings{"start a", "content {from file}", "end a"}));
}

}  // namespace
}  // namespace brimlow
