#include "dom/domSerializer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dom/codecs/codecErrors.h"
#include "dom/domDocument.h"
#include "dom/domErrors.h"

using namespace brimlow;

namespace {

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[byte >> 4];
    out += digits[byte & 15];
  }
  return out;
}

// Compares bytes and shows both sides in hexadecimal when they differ.
::testing::AssertionResult SameBytes(std::string_view expected, std::string_view actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "\nexpected: " << Hex(expected) << "\n  actual: " << Hex(actual);
}

template <class Error, class Action>
std::string MessageOf(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

class Serializer : public ::testing::Test {
 protected:
  Serializer() { serializer.setDOMImpl(&implementation); }

  TDomElement* Root(std::u16string_view name = u"DownloadList") {
    TDomElement* root = document->createElement(name);
    document->appendChild(root);
    return root;
  }
  TDomText* Text(TDomNode* parent, std::u16string_view data) {
    TDomText* text = document->createTextNode(data);
    parent->appendChild(text);
    return text;
  }
  TDomElement* Element(TDomNode* parent, std::u16string_view name) {
    TDomElement* element = document->createElement(name);
    parent->appendChild(element);
    return element;
  }
  std::string Write(TDomNode* node, std::u16string_view encoding = u"utf-8") {
    std::string bytes;
    result = serializer.writeToString(node, encoding, bytes);
    return bytes;
  }
  std::string Write() { return Write(document); }

  TDomImplementation implementation;
  TDomDocument* document = new TDomDocument(&implementation);
  TDomSerializer serializer;
  bool result = false;
};

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

TEST_F(Serializer, AnEmptyRootGivesTheExactBytes) {
  Root();
  const std::string bytes = Write();
  EXPECT_TRUE(result);
  EXPECT_EQ(Hex(bytes),
            "3C 3F 78 6D 6C 20 76 65 72 73 69 6F 6E 3D 22 31 2E 30 22 20 65 6E 63 6F 64 69 6E 67 "
            "3D 22 75 74 66 2D 38 22 3F 3E 0D 0A 3C 44 6F 77 6E 6C 6F 61 64 4C 69 73 74 3E 3C 2F "
            "44 6F 77 6E 6C 6F 61 64 4C 69 73 74 3E 0D 0A");
}

TEST_F(Serializer, AttributesGoOutInTheOrderTheyWereSet) {
  TDomElement* root = Root();
  root->setAttribute(u"Version", u"4");
  root->setAttribute(u"NextID", u"12");
  root->setAttribute(u"Version", u"5");
  EXPECT_TRUE(SameBytes(
      std::string(kDeclaration) + "<DownloadList Version=\"5\" NextID=\"12\"></DownloadList>\r\n",
      Write()));
}

TEST_F(Serializer, WhiteSpaceComesOnlyFromTextNodes) {
  TDomElement* root = Root();
  Text(root, u"\n  ");
  TDomElement* file = Element(root, u"DownloadFile");
  Text(file, u"\n    ");
  Text(Element(file, u"ID"), u"7");
  Text(file, u"\n  ");
  EXPECT_TRUE(SameBytes(std::string(kDeclaration) +
                            "<DownloadList>\r\n  <DownloadFile>\r\n    <ID>7</ID>\r\n  "
                            "</DownloadFile></DownloadList>\r\n",
                        Write()));
}

TEST_F(Serializer, TextEscapesAmpersandAnglesAndCarriageReturnOnly) {
  const struct {
    std::u16string text;
    std::string written;
    const char* what;
  } cases[] = {
      {u"a&b<c>d\re", "a&amp;b&lt;c&gt;d&#xD;e", "the four escapes"},
      {u"say \"it's\"", "say \"it's\"", "quotes stay"},
      {u"x]]>y", "x]]&gt;y", "a section end in text"},
      {u"tab\there", "tab\there", "a tab stays"},
      {u"one\ntwo", "one\r\ntwo", "a line feed leaves as CR LF"},
      {u"\u0410\u042F", "\xD0\x90\xD0\xAF", "Cyrillic takes two bytes a letter"},
      {u"\u20AC", "\xE2\x82\xAC", "the euro sign takes three"},
      {u"\U0001F600", "\xF0\x9F\x98\x80", "a surrogate pair takes four"},
      {u"&amp;", "&amp;amp;", "text is plain text, not markup"},
  };
  for (const auto& each : cases) {
    TDomDocument* single = new TDomDocument(&implementation);
    TDomElement* root = single->createElement(u"r");
    single->appendChild(root);
    root->appendChild(single->createTextNode(each.text));
    EXPECT_TRUE(
        SameBytes(std::string(kDeclaration) + "<r>" + each.written + "</r>\r\n", Write(single)))
        << each.what;
    single->release();
  }
}

TEST_F(Serializer, AttributeValuesAreWrittenAsTheirLiteralText) {
  Root(u"r")->setAttribute(u"a", u"x&amp;<\"\r\t");
  EXPECT_TRUE(SameBytes(std::string(kDeclaration) + "<r a=\"x&amp;<\"\r\t\"></r>\r\n", Write()));
}

TEST_F(Serializer, AnElementWithAnEmptyTextHasNothingBetweenItsTags) {
  Text(Root(u"r"), u"");
  EXPECT_TRUE(SameBytes(std::string(kDeclaration) + "<r></r>\r\n", Write()));
}

TEST_F(Serializer, TheEncodingNameIsMatchedInAnyCaseAndRepeatedAsGiven) {
  Root(u"r");
  for (const std::u16string name : {u"UTF-8", u"Utf-8", u"uTf-8"}) {
    std::string expected = "<?xml version=\"1.0\" encoding=\"";
    for (char16_t c : name)
      expected += static_cast<char>(c);
    expected += "\"?>\r\n<r></r>\r\n";
    EXPECT_TRUE(SameBytes(expected, Write(document, name)));
  }
}

TEST_F(Serializer, AnUnknownEncodingFailsBeforeAnythingIsWritten) {
  Root(u"r");
  for (const std::u16string name : {u"UTF8", u"UTF_8", u" utf-8", u"utf-8 ", u"windows-1251"}) {
    std::string bytes = "left over";
    EXPECT_EQ(
        MessageOf<ENot_Supported_Err>([&] { serializer.writeToString(document, name, bytes); }),
        "Encoding not supported error.");
    EXPECT_TRUE(bytes.empty());
  }
  std::string bytes;
  EXPECT_THROW(serializer.writeToString(document, u"utf-\u0430", bytes), codecs::EConvertError);
}

TEST_F(Serializer, TheDeclarationFollowsTheDocumentsProperties) {
  Root(u"r");
  serializer.setIncludeXmlDecl(false);
  EXPECT_TRUE(SameBytes("\r\n<r></r>\r\n", Write()));
  serializer.setIncludeXmlDecl(true);
  document->setXmlStandalone(0);
  document->setXmlVersion(u"1.1");
  EXPECT_TRUE(SameBytes(
      "<?xml version=\"1.1\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n<r></r>\r\n", Write()));
  document->setXmlStandalone(1);
  EXPECT_NE(Write().find(" standalone=\"no\"?>"), std::string::npos);
  document->setXmlStandalone(7);
  EXPECT_EQ(Write().find("standalone"), std::string::npos);
}

TEST_F(Serializer, WithoutAConfiguredEncodingTheDocumentsOwnIsUsed) {
  Root(u"r");
  EXPECT_TRUE(SameBytes("<?xml version=\"1.0\"?>\r\n<r></r>\r\n", Write(document, u"")));
  document->setXmlEncoding(u"UTF-8");
  EXPECT_TRUE(
      SameBytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r></r>\r\n", Write(document, u"")));
  document->setXmlEncoding(u"no-such-encoding");
  EXPECT_EQ(Write(document, u""), "") << "nothing is written";
  EXPECT_FALSE(result);
}

TEST_F(Serializer, LineEndsFollowTheOption) {
  Text(Root(u"r"), u"a\nb");
  const struct {
    codecs::TLineFeedOption option;
    std::string end;
  } cases[] = {{codecs::lwLF, "\n"}, {codecs::lwCR, "\r"}, {codecs::lwCRLF, "\r\n"}};
  for (const auto& each : cases) {
    serializer.setWriteLFOption(each.option);
    EXPECT_TRUE(SameBytes("<?xml version=\"1.0\" encoding=\"utf-8\"?>" + each.end + "<r>a" +
                              each.end + "b</r>" + each.end,
                          Write()));
  }
}

TEST_F(Serializer, AByteOrderMarkOnlyWhenAskedForUtf8) {
  Root(u"r");
  serializer.setUseByteOrderMark({codecs::bomUTF8});
  EXPECT_TRUE(SameBytes("\xEF\xBB\xBF" + std::string(kDeclaration) + "<r></r>\r\n", Write()));
}

TEST_F(Serializer, OtherNodeKindsHaveTheirOwnForms) {
  document->appendChild(document->createDocumentTypeDecl(u"r", u"-//P//EN", u"r.dtd", u""));
  document->appendChild(document->createComment(u" top "));
  document->appendChild(document->createProcessingInstruction(u"pi", u""));
  TDomElement* root = Root(u"r");
  root->appendChild(document->createCDATASection(u"<raw> & \r"));
  root->appendChild(document->createComment(u"in"));
  root->appendChild(document->createProcessingInstruction(u"go", u"now"));
  root->appendChild(document->createEntityReference(u"ent"));
  EXPECT_TRUE(SameBytes(std::string(kDeclaration) +
                            "<!DOCTYPE r PUBLIC \"-//P//EN\" \"r.dtd\" >\r\n<!-- top -->\r\n"
                            "<?pi?>\r\n<r><![CDATA[<raw> & \r]]><!--in--><?go now?>&ent;</r>\r\n",
                        Write()));
}

TEST_F(Serializer, DocumentTypeDeclarationForms) {
  const struct {
    std::u16string publicId, systemId, subset;
    std::string written;
  } cases[] = {
      {u"", u"", u"", "<!DOCTYPE d >"},
      {u"", u"d.dtd", u"", "<!DOCTYPE d SYSTEM \"d.dtd\" >"},
      {u"", u"say\"x\".dtd", u"", "<!DOCTYPE d SYSTEM 'say\"x\".dtd' >"},
      {u"-//P", u"", u"", "<!DOCTYPE d PUBLIC \"-//P\" >"},
      {u"", u"", u"<!ENTITY e 'x'>", "<!DOCTYPE d [<!ENTITY e 'x'>] >"},
  };
  for (const auto& each : cases) {
    TDomDocument* single = new TDomDocument(&implementation);
    single->appendChild(
        single->createDocumentTypeDecl(u"d", each.publicId, each.systemId, each.subset));
    serializer.setIncludeXmlDecl(false);
    EXPECT_TRUE(SameBytes("\r\n" + each.written + "\r\n", Write(single)));
    single->release();
  }
}

TEST_F(Serializer, ANodeOtherThanADocumentIsWrittenWithoutDeclaration) {
  TDomElement* root = Root(u"r");
  TDomElement* inner = Element(root, u"inner");
  Text(inner, u"x");
  EXPECT_TRUE(SameBytes("<inner>x</inner>\r\n", Write(inner)));
  EXPECT_TRUE(result);
}

TEST_F(Serializer, NodesThatCannotBeSentAbort) {
  TDomElement* root = Root(u"r");
  TDomAttr* attribute = root->setAttribute(u"a", u"1");
  EXPECT_EQ(Write(attribute), "");
  EXPECT_FALSE(result);
  serializer.setUseByteOrderMark({codecs::bomUTF8});
  EXPECT_TRUE(SameBytes("\xEF\xBB\xBF", Write(document->createDocumentFragment())))
      << "the start of the fragment writes its mark, nothing else";
  EXPECT_FALSE(result);
}

TEST_F(Serializer, MisuseIsRaisedInItsOrder) {
  Root(u"r");
  TDomSerializer unset;
  codecs::TStringStream stream;
  using codecs::EAccessViolation;
  EXPECT_EQ(MessageOf<EAccessViolation>([&] { unset.writeToStream(nullptr, u"utf-8", nullptr); }),
            "DOMImplementation not specified.");
  EXPECT_EQ(
      MessageOf<EAccessViolation>([&] { serializer.writeToStream(nullptr, u"utf-8", nullptr); }),
      "Destination stream not specified.");
  EXPECT_EQ(
      MessageOf<EAccessViolation>([&] { serializer.writeToStream(nullptr, u"utf-8", &stream); }),
      "Source node not specified.");
  EXPECT_TRUE(stream.data().empty());
}

TEST_F(Serializer, BufferSizeHasAFloor) {
  EXPECT_EQ(serializer.BufferSize(), 4096);
  EXPECT_EQ(MessageOf<ENot_Supported_Err>([&] { serializer.setBufferSize(1023); }),
            "BufferSize must not be less than 1024.");
  EXPECT_EQ(serializer.BufferSize(), 4096);
  serializer.setBufferSize(1024);
  EXPECT_EQ(serializer.BufferSize(), 1024);
}

TEST_F(Serializer, DefaultsAfterConstruction) {
  TDomSerializer fresh;
  EXPECT_EQ(fresh.DOMImpl(), nullptr);
  EXPECT_TRUE(fresh.ErrorReportingEnabled());
  EXPECT_TRUE(fresh.IgnoreUnspecified());
  EXPECT_TRUE(fresh.IncludeXmlDecl());
  EXPECT_FALSE(fresh.StrictErrorChecking());
  EXPECT_FALSE(fresh.UseActiveCodePage());
  EXPECT_EQ(fresh.UseByteOrderMark(),
            (codecs::TByteOrderMarkSet{codecs::bomUTF16, codecs::bomUCS2}));
  EXPECT_EQ(fresh.WriteLFOption(), codecs::lwCRLF);
}

TEST_F(Serializer, AnUnpairedSurrogateEndsTheOutputAfterWhatWentBefore) {
  TDomElement* root = Root(u"r");
  Text(root, std::u16string(u"ok") + char16_t{0xD800} + u"lost");
  Element(root, u"after");
  EXPECT_TRUE(SameBytes(std::string(kDeclaration) + "<r>ok", Write()));
  EXPECT_FALSE(result);
}

TEST_F(Serializer, AReportThatLetsTheOutputGoOnSkipsTheRestOfTheString) {
  TDomElement* root = Root(u"r");
  Text(root, std::u16string(u"ok") + char16_t{0xDC00} + u"lost");
  Element(root, u"after");
  std::vector<TDomErrorKind> kinds;
  implementation.OnError = [&](TDomComponent* sender, const TDomError& error, bool& go) {
    EXPECT_EQ(sender, &serializer.reader());
    EXPECT_EQ(error.severity(), TDomSeverity::FatalError);
    kinds.push_back(error.kind());
    go = true;
  };
  const std::string expected = std::string(kDeclaration) + "<r>ok<after></after></r>\r\n";
  EXPECT_TRUE(SameBytes(expected, Write()));
  EXPECT_TRUE(result);
  EXPECT_EQ(kinds, std::vector<TDomErrorKind>{ekStringNotWritable});

  // Suspended reports fall back to the severity: fatal stops.
  implementation.suspendErrorEvents();
  Write();
  EXPECT_FALSE(result);
  implementation.resumeErrorEvents();

  // Without reporting nothing stops the output.
  implementation.OnError = nullptr;
  serializer.setErrorReportingEnabled(false);
  EXPECT_TRUE(SameBytes(expected, Write()));
  EXPECT_TRUE(result);
}

TEST_F(Serializer, ACharacterTheCodecLacksBecomesAReferenceWhereOneMayStand) {
  TDomElement* root = Root(u"r");
  root->setAttribute(u"a", u"\u00E9");
  Text(root, u"\u0410\U0001F600");
  EXPECT_TRUE(SameBytes(
      "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\r\n<r a=\"&#xE9;\">&#x410;&#x1F600;</r>\r\n",
      Write(document, u"US-ASCII")));
  EXPECT_TRUE(result);

  Element(root, u"\u00E9l");  // in a tag name no reference may stand
  const std::string bytes = Write(document, u"US-ASCII");
  EXPECT_FALSE(result);
  EXPECT_EQ(bytes.substr(bytes.size() - 10), "&#x1F600;<") << "everything up to the name";
}

TEST_F(Serializer, AFailingEventHandlerAbortsTheOutput) {
  Text(Element(Root(u"r"), u"a"), u"x");
  serializer.setOnBeforeWrite([](TXmlTextBuilder*, TDomPieceType type, const TDomLocator&) {
    if (type == xmlPCDATA) throw std::runtime_error("handler");
  });
  // The line feed after the declaration is the first text piece.
  EXPECT_TRUE(SameBytes("<?xml version=\"1.0\" encoding=\"utf-8\"?>", Write()));
  EXPECT_FALSE(result);
}

TEST_F(Serializer, EventsFrameEveryPiece) {
  TDomElement* root = Root(u"r");
  root->setAttribute(u"a", u"1");
  Text(root, u"t");
  std::vector<std::string> log;
  const auto record = [&](const char* when) {
    return [&log, when](TXmlTextBuilder*, TDomPieceType type, const TDomLocator& locator) {
      log.push_back(std::string(when) + std::to_string(type) +
                    (locator.relatedNode ? "" : " without node"));
    };
  };
  serializer.setOnBeforeWrite(record("+"));
  serializer.setOnAfterWrite(record("-"));
  Write();
  const std::vector<std::string> expected = {
      "+18", "-18",         // declaration
      "+3",  "-3",          // its line feed
      "+5",  "+10", "-10",  // start tag, attribute inside it
      "-5",  "+3",  "-3",   // the start tag closes before the text
      "+6",  "-6"};         // end tag
  EXPECT_EQ(log, expected);
}

TEST_F(Serializer, CountersFollowTheOutput) {
  Text(Root(u"r"), u"\u0410\tb\nc");
  Write();
  const TXmlTextBuilder& builder = serializer.builder();
  // The declaration line, "<r>А\tb", "c</r>" and the final line feed.
  EXPECT_EQ(builder.line(), 3);
  EXPECT_EQ(builder.column(), 0);
  EXPECT_EQ(builder.bytesWritten(), static_cast<int64_t>(Write().size()));
}

// UTF-8 output encodes plain text straight into the buffer, UTF-16 one
// character at a time: the counters after a text must not tell them apart.
TEST_F(Serializer, CountersAfterATextAreTheSameForEveryCodec) {
  const std::u16string texts[] = {
      u"plain",                 // ASCII only
      u"ab\n  cd\n e",          // printable ASCII and line feeds only
      u"a\tb\tc",               // tabs counted in the line
      u"x\n\ty\n\t\tz",         // line feeds restart the column and the tabs
      u"\u0410\u0431\u20AC\n",  // two- and three-byte characters, then a line feed
      u"a&b<\r>\t\n",           // escapes between plain runs
      u"\U0001F600\tq",         // a surrogate pair
  };
  int64_t before = 0;
  for (const std::u16string& text : texts) {
    SCOPED_TRACE(&text - texts);
    TDomImplementation own;
    auto* doc = new TDomDocument(&own);
    TDomElement* root = doc->createElement(u"r");
    doc->appendChild(root);
    root->appendChild(doc->createTextNode(text));
    // The declarations differ in length, so characters are counted from
    // the text's start.
    std::vector<std::vector<int64_t>> seen;
    serializer.setDOMImpl(&own);
    serializer.setOnBeforeWrite(
        [&before](TXmlTextBuilder* builder, TDomPieceType type, const TDomLocator&) {
          if (type == xmlPCDATA) before = builder->charactersWritten();
        });
    serializer.setOnAfterWrite(
        [&](TXmlTextBuilder* builder, TDomPieceType type, const TDomLocator&) {
          if (type == xmlPCDATA && builder->depth() == 1)
            seen.push_back({builder->line(), builder->column(), builder->tabsInLine(),
                            builder->charactersWritten() - before});
        });
    std::string bytes;
    std::u16string wide;
    EXPECT_TRUE(serializer.writeToString(doc, u"utf-8", bytes));
    EXPECT_TRUE(serializer.writeToWideString(doc, wide));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], seen[1]);
  }
  serializer.setDOMImpl(&implementation);
  serializer.setOnBeforeWrite(nullptr);
  // "<r>x", a line feed, the tab, "y", a line feed, two tabs and "z".
  TDomElement* root = Root(u"r");
  Text(root, u"x\n\ty\n\t\tz");
  int64_t column = -1;
  int64_t tabs = -1;
  serializer.setOnAfterWrite([&](TXmlTextBuilder* builder, TDomPieceType type, const TDomLocator&) {
    if (type == xmlPCDATA && builder->depth() == 1) {
      column = builder->column();
      tabs = builder->tabsInLine();
    }
  });
  Write();
  EXPECT_EQ(column, 3);
  EXPECT_EQ(tabs, 2);
}

TEST_F(Serializer, AWideStringHoldsLittleEndianTextAfterItsMark) {
  Text(Root(u"r"), u"\u0410");
  std::u16string text;
  EXPECT_TRUE(serializer.writeToWideString(document, text));
  EXPECT_EQ(text, u"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16LE\"?>\r\n<r>\u0410</r>\r\n");
}

TEST_F(Serializer, TheSystemsCodePageNamesTheEncodingWhenAsked) {
  Root(u"r");
  serializer.setUseActiveCodePage(true);
  serializer.ActiveCodePage = [] { return 65001u; };  // a page without a name: none configured
  EXPECT_TRUE(SameBytes("<?xml version=\"1.0\"?>\r\n<r></r>\r\n", Write(document, u"utf-8")));
  serializer.ActiveCodePage = [] { return 1251u; };  // named, but only UTF-8 is built in
  std::string bytes;
  EXPECT_THROW(serializer.writeToString(document, u"utf-8", bytes), ENot_Supported_Err);
  EXPECT_EQ(codePageEncodingName(1251), u"windows-1251");
  EXPECT_EQ(codePageEncodingName(1200), u"ISO-10646-UCS-2");
  EXPECT_EQ(codePageEncodingName(874), u"cp874");
  EXPECT_EQ(codePageEncodingName(437), u"");
}

TEST_F(Serializer, StrictCheckingRoutesThroughTheCheckerWithTheSameOutput) {
  Text(Root(u"r"), u"x");
  const std::string plain = Write();
  serializer.setStrictErrorChecking(true);
  EXPECT_EQ(Write(), plain);
}

TEST_F(Serializer, TheImplementationReferenceIsDroppedWhenItIsFreed) {
  auto* other = new TDomImplementation();
  serializer.setDOMImpl(other);
  EXPECT_EQ(serializer.DOMImpl(), other);
  delete other;
  EXPECT_EQ(serializer.DOMImpl(), nullptr);
  EXPECT_EQ(serializer.reader().DOMImpl(), nullptr);
}

TEST_F(Serializer, DeepTreesAreWrittenWithoutRecursion) {
  TDomElement* top = document->createElement(u"n");
  for (int i = 0; i < 100000; ++i) {
    TDomElement* parent = document->createElement(u"n");
    parent->appendChild(top);
    top = parent;
  }
  document->appendChild(top);
  const std::string bytes = Write();
  EXPECT_TRUE(result);
  EXPECT_EQ(bytes.size(), std::string(kDeclaration).size() + 100001 * 7 + 2);
}

}  // namespace

// A tree handed over in parts: each time the last child of the root has been
// written, the next part is appended and the parts before are let go.  The
// text is the same as from the whole tree at once.
TEST_F(Serializer, ChildrenAppendedWhenTheLastIsSentAreWrittenInOrder) {
  TDomElement* root = Root(u"r");
  int next = 0;
  size_t mostChildren = 0;
  const auto appendPart = [&] {
    for (const int end = std::min(next + 3, 10); next < end; ++next) {
      TDomElement* item = document->createElement(u"i");
      root->appendChild(item);
      Text(item, std::u16string(1, static_cast<char16_t>(u'0' + next)));
    }
  };
  appendPart();
  serializer.reader().GrowingNode = root;
  serializer.reader().OnMoreChildren = [&] {
    while (root->firstChild() != root->lastChild())
      root->firstChild()->release();
    appendPart();
    size_t children = 0;
    for (TDomNode* child = root->firstChild(); child; child = child->nextSibling())
      ++children;
    mostChildren = std::max(mostChildren, children);
  };
  EXPECT_EQ(Write(),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<r><i>0</i><i>1</i><i>2</i><i>3</i>"
            "<i>4</i><i>5</i><i>6</i><i>7</i><i>8</i><i>9</i></r>\r\n");
  EXPECT_EQ(mostChildren, 4u);  // the one just sent and the next three
}

// Texts and names are copied many units at a time: a unit that needs more
// than its one byte, at any place in a text of any length, and names of
// every length come out as one unit at a time would write them.
TEST_F(Serializer, EveryUnitAtEveryPlaceIsWrittenAsItself) {
  const struct {
    char16_t unit;
    std::string bytes;
  } specials[] = {{u'&', "&amp;"},   {u'<', "&lt;"},
                  {u'>', "&gt;"},    {u'\r', "&#xD;"},
                  {u'\n', "\r\n"},   {u'\t', "\t"},
                  {u'"', "\""},      {u'\u0416', "\xD0\x96"},
                  {u'\x7F', "\x7F"}, {u'\u20AC', "\xE2\x82\xAC"}};
  const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  for (size_t length = 1; length <= 20; ++length) {
    const std::u16string name(length, u'n');
    const std::string nameBytes(length, 'n');
    for (size_t at = 0; at < length; ++at) {
      for (const auto& special : specials) {
        std::u16string text(length, u'a');
        text[at] = special.unit;
        std::string expected =
            std::string(at, 'a') + special.bytes + std::string(length - at - 1, 'a');
        TDomImplementation own;
        auto* doc = new TDomDocument(&own);
        TDomElement* root = doc->createElement(name);
        doc->appendChild(root);
        root->appendChild(doc->createTextNode(text));
        serializer.setDOMImpl(&own);
        std::string bytes;
        EXPECT_TRUE(serializer.writeToString(doc, u"utf-8", bytes));
        ASSERT_EQ(bytes, head + "<" + nameBytes + ">" + expected + "</" + nameBytes + ">\r\n")
            << "length " << length << " at " << at << " unit " << int{special.unit};
      }
    }
  }
  serializer.setDOMImpl(&implementation);
}
