#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "platform/platform.h"

namespace brimlow::cli {
void runEvents(const Arguments& arguments, std::ostream& out);
}  // namespace brimlow::cli

using namespace brimlow;
using brimlow::cli::Arguments;

namespace {

class EventsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::temp_directory_path() /
             (std::string("brimlow_events_") + test->name() + "_" +
              std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string Write(const std::string& bytes, const std::string& name = "doc.xml") {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string Events(const Arguments& arguments) {
    std::ostringstream out;
    cli::runEvents(arguments, out);
    return out.str();
  }

  std::filesystem::path folder;
};

TEST_F(EventsCommandTest, PrintsOneObjectPerEvent) {
  const std::string file = Write(
      "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"
      "<!DOCTYPE list>\n<!-- \"c\" -->\n<?app go?>\n"
      "<list a=\"1\" b='x&amp;y'>\n <item/> text \\ more <![CDATA[ cd ]]></list>");
  EXPECT_EQ(
      Events({file}),
      R"({"event":"prolog","version":"1.0","encoding":"windows-1251","standalone":false})"
      "\n"
      R"({"event":"doctype","name":"list"})"
      "\n"
      R"({"event":"comment","text":"<!-- \"c\" -->"})"
      "\n"
      R"({"event":"pi","target":"app","content":" go"})"
      "\n"
      R"({"event":"start","name":"list","attrs":[["a","1","Normal","Unknown"],["b","x&y","Normal","Unknown"]]})"
      "\n"
      R"({"event":"empty","name":"item","attrs":[]})"
      "\n"
      R"({"event":"content","text":"text \\ more"})"
      "\n"
      R"({"event":"content","text":" cd "})"
      "\n"
      R"({"event":"end","name":"list"})"
      "\n");
}

TEST_F(EventsCommandTest, AttributesInTheOrderOfTheList) {
  const std::string file = Write("<a z=\"1\" b=\"2\" b=\"3\"/>");
  EXPECT_EQ(
      Events({file}),
      R"({"event":"empty","name":"a","attrs":[["b","3","Normal","Unknown"],["b","2","Normal","Unknown"],["z","1","Normal","Unknown"]]})"
      "\n");
}

TEST_F(EventsCommandTest, StandaloneYes) {
  const std::string file = Write("<?xml version=\"1.0\" standalone=\"yes\"?>");
  EXPECT_EQ(Events({file}), R"({"event":"prolog","version":"1.0","encoding":"","standalone":true})"
                            "\n");
}

TEST_F(EventsCommandTest, RawKeepsWhiteSpace) {
  const std::string file = Write("<a>\n\t<b> x </b>\n</a>");
  const std::string normalized = R"({"event":"start","name":"a","attrs":[]})"
                                 "\n"
                                 R"({"event":"start","name":"b","attrs":[]})"
                                 "\n"
                                 R"({"event":"content","text":"x"})"
                                 "\n"
                                 R"({"event":"end","name":"b"})"
                                 "\n"
                                 R"({"event":"end","name":"a"})"
                                 "\n";
  const std::string raw = R"({"event":"start","name":"a","attrs":[]})"
                          "\n"
                          R"({"event":"content","text":"\n\t"})"
                          "\n"
                          R"({"event":"start","name":"b","attrs":[]})"
                          "\n"
                          R"({"event":"content","text":" x "})"
                          "\n"
                          R"({"event":"end","name":"b"})"
                          "\n"
                          R"({"event":"content","text":"\n"})"
                          "\n"
                          R"({"event":"end","name":"a"})"
                          "\n";
  EXPECT_EQ(Events({file}), normalized);
  EXPECT_EQ(Events({"--raw", file}), raw);
  EXPECT_EQ(Events({file, "--raw"}), raw);
}

TEST_F(EventsCommandTest, TextIsPrintedInTheCodePage) {
  // A UTF-8 document: the values arrive in the active code page and are
  // printed as those bytes; the tag name stays the file's own bytes.
  const std::string file = Write(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><\xD0\xB8 n=\"\xD0\xB0\">\xD0\xB1\x01</\xD0\xB8>");
  platform::Platform& system = platform::current();
  EXPECT_EQ(Events({file}),
            R"({"event":"prolog","version":"1.0","encoding":"UTF-8","standalone":false})"
            "\n"
            "{\"event\":\"start\",\"name\":\"\xD0\xB8\",\"attrs\":[[\"n\",\"" +
                system.wideToAnsi(u"\u0430") +
                "\",\"Normal\",\"Unknown\"]]}\n"
                "{\"event\":\"content\",\"text\":\"" +
                system.wideToAnsi(u"\u0431") +
                "\\u0001\"}\n"
                "{\"event\":\"end\",\"name\":\"\xD0\xB8\"}\n");
}

TEST_F(EventsCommandTest, DeclarationsOfTheDocumentType) {
  Write("<!ENTITY ext 'from the external subset'>", "list.dtd");
  const std::string file = Write(
      "<!DOCTYPE list SYSTEM \"list.dtd\" [\n"
      "<!ELEMENT list (item)*>\n"
      "<!ATTLIST item kind (a|b) 'a' ver CDATA #FIXED \"2\" id ID #REQUIRED>\n"
      "<!ENTITY pic SYSTEM 'p.gif' NDATA gif>\n"
      "<!NOTATION gif PUBLIC '-//gif' 'view.exe'>\n"
      "<?note here?><!-- c -->\n"
      "<junk/>\n"
      "]>\n"
      "<item ver='1' id=' x '/>&ext;");
  EXPECT_EQ(
      Events({file}),
      R"({"event":"entityDecl","name":"ext","value":"from the external subset","systemId":"","publicId":"","notationId":""})"
      "\n"
      R"({"event":"elementDecl","name":"list","contentKind":"Childs only","contentModel":"(item)*"})"
      "\n"
      R"({"event":"attListDecl","element":"item","attrs":[)"
      R"({"name":"id","type":"ID","typeText":"ID","defaultKind":"Required","value":""},)"
      R"({"name":"kind","type":"Enumeration","typeText":"a|b","defaultKind":"Default","value":"a"},)"
      R"({"name":"ver","type":"CDATA","typeText":"CDATA","defaultKind":"Fixed","value":"2"}]})"
      "\n"
      R"({"event":"entityDecl","name":"pic","value":"","systemId":"p.gif","publicId":"","notationId":"gif"})"
      "\n"
      R"({"event":"notationDecl","name":"gif","systemId":"view.exe","publicId":"-//gif"})"
      "\n"
      R"({"event":"pi","target":"note","content":" here"})"
      "\n"
      R"({"event":"comment","text":"<!-- c -->"})"
      "\n"
      R"({"event":"dtdError"})"
      "\n"
      R"({"event":"doctype","name":"list"})"
      "\n"
      R"({"event":"content","text":"]>"})"
      "\n"
      R"({"event":"empty","name":"item","attrs":[["id","x","Normal","ID"],)"
      R"(["kind","a","Default","Enumeration"],["ver","2","Fixed","CDATA"]]})"
      "\n"
      R"({"event":"content","text":"from the external subset"})"
      "\n");
}

TEST_F(EventsCommandTest, AnEmptyFileHasNoEvents) {
  EXPECT_EQ(Events({Write("")}), "");
}

TEST_F(EventsCommandTest, AnUnreadableFileIsAFailureWithItsReason) {
  const std::string missing = (folder / "missing.xml").string();
  for (const std::string& path : {missing, folder.string()}) {
    std::ostringstream out;
    try {
      cli::runEvents({path}, out);
      ADD_FAILURE() << "no failure for " << path;
    } catch (const platform::EFOpenError& error) {
      EXPECT_TRUE(std::string(error.what()).starts_with("Cannot open file \"" + path + "\". "))
          << error.what();
    }
    EXPECT_EQ(out.str(), "");
  }
}

TEST_F(EventsCommandTest, RefusesBadArguments) {
  const std::string file = Write("<a/>");
  for (const Arguments& arguments :
       {Arguments{}, Arguments{"--raw"}, Arguments{file, file}, Arguments{"--raw", "--raw", file},
        Arguments{"--pretty", file}}) {
    std::ostringstream out;
    EXPECT_THROW(cli::runEvents(arguments, out), cli::UsageError);
  }
}

}  // namespace
