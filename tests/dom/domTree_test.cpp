#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dom/domDocument.h"
#include "dom/domErrors.h"

using namespace brimlow;

namespace {

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Every child of `node` as "#text:xy" or its name.
std::vector<std::string> Children(const TDomNode* node) {
  std::vector<std::string> out;
  for (TDomNode* child = node->firstChild(); child; child = child->nextSibling()) {
    if (child->nodeType() == ntText_Node)
      out.push_back("#text:" + Narrow(child->nodeValue()));
    else
      out.push_back(Narrow(child->nodeName()));
  }
  return out;
}

// A failure's message, or "no error".
template <class Error, class Action>
std::string MessageOf(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "no error";
}

class DomTree : public ::testing::Test {
 protected:
  TDomImplementation implementation;
  TDomDocument* document = new TDomDocument(&implementation);
};

TEST_F(DomTree, ANewDocumentIsEmptyUnspecifiedAndRegistered) {
  EXPECT_EQ(document->firstChild(), nullptr);
  EXPECT_TRUE(document->xmlVersion().empty());
  EXPECT_TRUE(document->xmlEncoding().empty());
  EXPECT_EQ(document->xmlStandalone(), 2);
  EXPECT_EQ(document->nodeType(), ntDocument_Node);
  EXPECT_EQ(document->nodeName(), u"#document");
  EXPECT_EQ(document->ownerDocument(), nullptr);
  EXPECT_EQ(document->referenceDocument(), document);
  ASSERT_EQ(implementation.documents().length(), 1);
  EXPECT_EQ(implementation.documents().item(0), document);

  TDomDocument* second = new TDomDocument(&implementation);
  EXPECT_EQ(implementation.documents().indexOf(second), 1);
  document->release();
  EXPECT_EQ(implementation.documents().length(), 1);
  EXPECT_EQ(implementation.documents().item(0), second);
  // The implementation frees the second document when it goes.
}

TEST_F(DomTree, NodesAnswerTheirKindNameAndOwner) {
  TDomElement* element = document->createElement(u"DownloadList");
  TDomText* text = document->createTextNode(u"x");
  TDomComment* comment = document->createComment(u"c");
  TDomCDATASection* section = document->createCDATASection(u"d");
  EXPECT_EQ(element->nodeType(), ntElement_Node);
  EXPECT_EQ(element->tagName(), u"DownloadList");
  EXPECT_EQ(text->nodeType(), ntText_Node);
  EXPECT_EQ(text->nodeName(), u"#text");
  EXPECT_EQ(comment->nodeType(), ntComment_Node);
  EXPECT_EQ(section->nodeType(), ntCDATA_Section_Node);
  EXPECT_EQ(section->nodeName(), u"#cdata-section");
  for (TDomNode* node : std::vector<TDomNode*>{element, text, comment, section}) {
    EXPECT_EQ(node->ownerDocument(), document);
    EXPECT_EQ(node->referenceDocument(), document);
    EXPECT_EQ(node->parentNode(), nullptr);
  }
  EXPECT_NE(element->attributes(), nullptr);
  EXPECT_EQ(text->attributes(), nullptr);
  EXPECT_FALSE(text->flag());
}

TEST_F(DomTree, ChildrenKeepInsertionOrderAndLinks) {
  TDomElement* root = document->createElement(u"root");
  EXPECT_EQ(document->appendChild(root), root);
  TDomElement* a = document->createElement(u"a");
  TDomText* b = document->createTextNode(u"b");
  TDomElement* c = document->createElement(u"c");
  root->appendChild(a);
  root->appendChild(b);
  root->appendChild(c);
  EXPECT_EQ(Children(root), (std::vector<std::string>{"a", "#text:b", "c"}));
  EXPECT_EQ(document->documentElement(), root);
  EXPECT_EQ(root->parentNode(), document);
  EXPECT_EQ(b->parentNode(), root);
  EXPECT_EQ(root->firstChild(), a);
  EXPECT_EQ(root->lastChild(), c);
  EXPECT_EQ(a->nextSibling(), b);
  EXPECT_EQ(c->previousSibling(), b);
  EXPECT_EQ(a->previousSibling(), nullptr);
  EXPECT_EQ(c->nextSibling(), nullptr);
  EXPECT_EQ(root->findFirstChildElement(), a);
  EXPECT_TRUE(document->modified());
}

TEST_F(DomTree, ItemOutsideTheListIsNone) {
  TDomElement* root = document->createElement(u"root");
  TDomText* only = document->createTextNode(u"t");
  root->appendChild(only);
  const TDomNodeList children = root->childNodes();
  EXPECT_EQ(children.length(), 1);
  EXPECT_EQ(children.item(0), only);
  EXPECT_EQ(children.item(-1), nullptr);
  EXPECT_EQ(children.item(1), nullptr);
  EXPECT_EQ(children.indexOf(root), -1);
  root->setAttribute(u"a", u"1");
  EXPECT_EQ(root->attributes()->item(-1), nullptr);
  EXPECT_EQ(root->attributes()->item(1), nullptr);
  EXPECT_EQ(implementation.documents().item(1), nullptr);
  EXPECT_EQ(implementation.documents().item(-1), nullptr);
}

TEST_F(DomTree, AppendingANodeWithAParentMovesIt) {
  TDomElement* from = document->createElement(u"from");
  TDomElement* to = document->createElement(u"to");
  TDomText* first = document->createTextNode(u"1");
  TDomText* moved = document->createTextNode(u"2");
  TDomText* last = document->createTextNode(u"3");
  from->appendChild(first);
  from->appendChild(moved);
  from->appendChild(last);
  to->appendChild(document->createTextNode(u"old"));
  to->appendChild(moved);
  EXPECT_EQ(Children(from), (std::vector<std::string>{"#text:1", "#text:3"}));
  EXPECT_EQ(Children(to), (std::vector<std::string>{"#text:old", "#text:2"}));
  EXPECT_EQ(first->nextSibling(), last);
  EXPECT_EQ(last->previousSibling(), first);
  EXPECT_EQ(moved->parentNode(), to);
  EXPECT_EQ(to->lastChild(), moved);
}

TEST_F(DomTree, HierarchyFailuresLeaveBothTreesAsTheyWere) {
  TDomElement* root = document->createElement(u"root");
  TDomElement* inner = document->createElement(u"inner");
  document->appendChild(root);
  root->appendChild(inner);
  const struct {
    const char* what;
    std::function<void()> action;
    std::string message;
  } cases[] = {
      {"a second element in the document",
       [&] { document->appendChild(document->createElement(u"x")); }, "Hierarchy request error."},
      {"a node appended to itself", [&] { inner->appendChild(inner); },
       "EHierarchy request error."},
      {"an element appended to its descendant", [&] { inner->appendChild(root); },
       "EHierarchy request error."},
      {"a text appended to the document",
       [&] { document->appendChild(document->createTextNode(u"t")); },
       "Nodes of type TDomText are not allowed as children of nodes of type TDomDocument"},
      {"a text appended to a text",
       [&] { document->createTextNode(u"a")->appendChild(document->createTextNode(u"b")); },
       "Nodes of type TDomText are not allowed as children of nodes of type TDomText"},
      {"an attribute appended to an element",
       [&] { inner->appendChild(root->setAttribute(u"a", u"1")); },
       "Nodes of type TDomAttr are not allowed as children of nodes of type TDomElement"},
      {"a document type declaration in an element",
       [&] { inner->appendChild(document->createDocumentTypeDecl(u"d", u"", u"", u"")); },
       "Nodes of type TDomDocumentTypeDecl are not allowed as children of nodes of type "
       "TDomElement"},
      {"a document type declaration after the element",
       [&] { document->appendChild(document->createDocumentTypeDecl(u"d", u"", u"", u"")); },
       "Hierarchy request error."},
  };
  for (const auto& each : cases) {
    EXPECT_EQ(MessageOf<EHierarchy_Request_Err>(each.action), each.message) << each.what;
    EXPECT_EQ(Children(document), std::vector<std::string>{"root"}) << each.what;
    EXPECT_EQ(Children(root), std::vector<std::string>{"inner"}) << each.what;
    EXPECT_EQ(inner->firstChild(), nullptr) << each.what;
  }
}

TEST_F(DomTree, NothingAndForeignNodesAreRefused) {
  TDomElement* root = document->createElement(u"root");
  EXPECT_EQ(MessageOf<ENot_Supported_Err>([&] { root->appendChild(nullptr); }),
            "Node not specified.");
  EXPECT_EQ(MessageOf<ENot_Supported_Err>([&] { document->appendChild(nullptr); }),
            "Not supported error.");

  TDomDocument* other = new TDomDocument(&implementation);
  TDomElement* foreign = other->createElement(u"foreign");
  EXPECT_EQ(MessageOf<EWrong_Document_Err>([&] { root->appendChild(foreign); }), "Wrong document.");
  EXPECT_EQ(MessageOf<EWrong_Document_Err>([&] { document->appendChild(foreign); }),
            "Wrong document.");
  EXPECT_EQ(root->firstChild(), nullptr);
  EXPECT_EQ(foreign->ownerDocument(), other);
}

TEST_F(DomTree, ReadOnlyNodesRefuseChanges) {
  TDomElement* parent = document->createElement(u"parent");
  TDomElement* locked = document->createElement(u"locked");
  TDomText* child = document->createTextNode(u"c");
  locked->appendChild(child);
  locked->setReadOnly(true);
  EXPECT_EQ(MessageOf<ENo_Modification_Allowed_Err>(
                [&] { locked->appendChild(document->createTextNode(u"x")); }),
            "No modification allowed.");
  EXPECT_EQ(MessageOf<ENo_Modification_Allowed_Err>([&] { parent->appendChild(child); }),
            "No modification allowed.");
  EXPECT_EQ(child->parentNode(), locked);
  EXPECT_EQ(MessageOf<ENo_Modification_Allowed_Err>([&] { locked->setAttribute(u"a", u"1"); }),
            "No modification allowed error.");
  child->setReadOnly(true);
  EXPECT_EQ(MessageOf<ENo_Modification_Allowed_Err>([&] { child->setNodeValue(u"x"); }),
            "No modification allowed error.");
  EXPECT_EQ(MessageOf<ENo_Modification_Allowed_Err>([&] { child->appendData(u"x"); }),
            "No modification allowed error.");
  EXPECT_EQ(child->data(), u"c");
}

TEST_F(DomTree, NamesFollowTheXmlNameRule) {
  const struct {
    std::u16string name;
    bool valid;
    const char* what;
  } cases[] = {
      {u"", false, "empty"},
      {u"1a", false, "starts with a digit"},
      {u"-a", false, "starts with a hyphen"},
      {u".a", false, "starts with a full stop"},
      {u"a b", false, "contains a space"},
      {u"a:b", true, "colon"},
      {u"_x", true, "underscore first"},
      {u"x.y-z", true, "full stop and hyphen inside"},
      {u"\u03A9", true, "Greek capital omega"},
      {u"a\u00B7\u0300", true, "middle dot and combining mark inside"},
      {u"\u00B7a", false, "middle dot first"},
      {u"\U00010000", true, "a surrogate pair first"},
      {u"a\U0010FFFF", true, "the last code point"},
      {std::u16string(1, char16_t{0xD800}), false, "a lone high surrogate"},
      {std::u16string(u"a") + char16_t{0xDC00}, false, "a lone low surrogate"},
      {u"a\u00D7", false, "multiplication sign"},
      {u"\uFFFE", false, "a non-character"},
  };
  for (const auto& each : cases) {
    const std::string message =
        MessageOf<EInvalid_Character_Err>([&] { document->createElement(each.name); });
    EXPECT_EQ(message, each.valid ? "no error" : "Invalid character error.") << each.what;
    const std::string attributeMessage = MessageOf<EInvalid_Character_Err>(
        [&] { document->createElement(u"e")->setAttribute(each.name, u"v"); });
    EXPECT_EQ(attributeMessage, message) << each.what;
  }
}

TEST_F(DomTree, SetAttributeUpdatesInPlaceAndKeepsInsertionOrder) {
  TDomElement* element = document->createElement(u"DownloadList");
  TDomAttr* version = element->setAttribute(u"Version", u"4");
  ASSERT_NE(version, nullptr);
  EXPECT_NE(element->setAttribute(u"NextID", u"12"), nullptr);
  EXPECT_EQ(element->setAttribute(u"Version", u"5"), nullptr);
  EXPECT_EQ(element->getAttributeNode(u"version"), nullptr) << "names are case-sensitive";
  const TDomNamedNodeMap& map = element->attributeMap();
  ASSERT_EQ(map.length(), 2);
  EXPECT_EQ(map.item(0), version);
  EXPECT_EQ(map.item(0)->value(), u"5");
  EXPECT_EQ(map.item(1)->name(), u"NextID");
  EXPECT_EQ(map.indexOf(version), 0);
  EXPECT_EQ(version->ownerElement(), element);
  EXPECT_TRUE(version->specified());
  EXPECT_EQ(version->parentNode(), nullptr);
}

TEST_F(DomTree, AttributeValuesAreStoredLiterally) {
  TDomElement* element = document->createElement(u"e");
  element->setAttribute(u"a", u"x<y & \"z\" &amp;");
  EXPECT_EQ(element->getAttributeNode(u"a")->nodeValue(), u"x<y & \"z\" &amp;");
}

TEST_F(DomTree, ElementValuesAreIgnoredOthersAreStored) {
  TDomElement* element = document->createElement(u"e");
  element->setNodeValue(u"ignored");
  EXPECT_EQ(element->nodeValue(), u"");
  document->setNodeValue(u"ignored");
  EXPECT_EQ(document->nodeValue(), u"");
  TDomText* text = document->createTextNode(u"old");
  text->setNodeValue(u"new");
  EXPECT_EQ(text->nodeValue(), u"new");
  TDomProcessingInstruction* instruction = document->createProcessingInstruction(u"pi", u"d");
  EXPECT_EQ(instruction->nodeName(), u"pi");
  instruction->setNodeValue(u"data");
  EXPECT_EQ(instruction->data(), u"data");
  TDomDocumentFragment* fragment = document->createDocumentFragment();
  fragment->setNodeValue(u"ignored");
  EXPECT_EQ(fragment->nodeValue(), u"");
}

TEST_F(DomTree, NormalizeJoinsRunsOfTextIntoTheirFirstNode) {
  TDomElement* root = document->createElement(u"root");
  TDomText* x = document->createTextNode(u"x");
  TDomText* y = document->createTextNode(u"y");
  TDomElement* inner = document->createElement(u"inner");
  TDomText* z = document->createTextNode(u"z");
  TDomText* empty = document->createTextNode(u"");
  TDomText* w = document->createTextNode(u"w");
  for (TDomNode* child : std::vector<TDomNode*>{x, y, inner, z, empty, w})
    root->appendChild(child);
  inner->appendChild(document->createTextNode(u"1"));
  inner->appendChild(document->createTextNode(u"2"));
  TDomText* lonelyEmpty = document->createTextNode(u"");
  TDomElement* holder = document->createElement(u"holder");
  holder->appendChild(lonelyEmpty);
  inner->appendChild(holder);
  w->setFlag(true);
  document->appendChild(root);

  document->normalize();

  EXPECT_EQ(Children(root), (std::vector<std::string>{"#text:xy", "inner", "#text:zw"}));
  EXPECT_EQ(root->firstChild(), x);
  EXPECT_EQ(root->lastChild(), z);
  EXPECT_TRUE(z->flag()) << "the merged node's flag is carried over";
  EXPECT_FALSE(x->flag());
  EXPECT_EQ(Children(inner), (std::vector<std::string>{"#text:12", "holder"}));
  EXPECT_EQ(holder->firstChild(), lonelyEmpty) << "an empty text with no text neighbour stays";
}

TEST_F(DomTree, FragmentsMoveTheirChildren) {
  TDomElement* root = document->createElement(u"root");
  TDomDocumentFragment* fragment = document->createDocumentFragment();
  fragment->appendChild(document->createTextNode(u"a"));
  fragment->appendChild(document->createElement(u"b"));
  root->appendChild(document->createTextNode(u"0"));
  EXPECT_EQ(root->appendChild(fragment), fragment);
  EXPECT_EQ(Children(root), (std::vector<std::string>{"#text:0", "#text:a", "b"}));
  EXPECT_EQ(fragment->firstChild(), nullptr);

  // A fragment may not bring a second element into a document.
  document->appendChild(document->createElement(u"only"));
  fragment->appendChild(document->createElement(u"second"));
  EXPECT_EQ(MessageOf<EHierarchy_Request_Err>([&] { document->appendChild(fragment); }),
            "Hierarchy request error.");
  EXPECT_EQ(Children(fragment), std::vector<std::string>{"second"});
}

TEST_F(DomTree, AFragmentCannotGoIntoItselfOrItsOwnChildren) {
  TDomDocumentFragment* fragment = document->createDocumentFragment();
  TDomElement* inner = document->createElement(u"inner");
  fragment->appendChild(inner);
  fragment->appendChild(document->createTextNode(u"t"));
  for (TDomNode* parent : {static_cast<TDomNode*>(fragment), static_cast<TDomNode*>(inner)}) {
    EXPECT_EQ(MessageOf<EHierarchy_Request_Err>([&] { parent->appendChild(fragment); }),
              "EHierarchy request error.");
    EXPECT_EQ(Children(fragment), (std::vector<std::string>{"inner", "#text:t"}))
        << "nothing moved";
  }
}

TEST_F(DomTree, ChangesAreReportedToTheDocumentThenTheImplementation) {
  std::vector<std::string> log;
  document->events.OnNodeInserted = [&](TDomNode* node) {
    log.push_back("document inserted " + Narrow(node->nodeName()));
  };
  implementation.OnNodeInserted = [&](TDomNode* node) {
    log.push_back("implementation inserted " + Narrow(node->nodeName()));
  };
  implementation.OnAttrModified = [&](TDomElement*, TDomAttrChange change, TDomAttr* attribute) {
    log.push_back("attribute " + std::to_string(change) + " " + Narrow(attribute->name()));
  };
  implementation.OnCharacterDataModified = [&](TDomNode* node) {
    log.push_back("data " + Narrow(node->nodeValue()));
  };
  TDomElement* root = document->createElement(u"root");
  document->appendChild(root);
  root->setAttribute(u"a", u"1");
  root->setAttribute(u"a", u"2");
  TDomText* text = document->createTextNode(u"x");
  text->setNodeValue(u"y");  // direct writes report nothing
  text->appendData(u"z");
  EXPECT_EQ(log, (std::vector<std::string>{"document inserted root", "implementation inserted root",
                                           "attribute 1 a", "attribute 0 a", "data yz"}));

  // The implementation hears of a change even when the document's handler fails.
  log.clear();
  document->events.OnNodeInserted = [](TDomNode*) { throw std::runtime_error("handler"); };
  EXPECT_THROW(root->appendChild(text), std::runtime_error);
  EXPECT_EQ(log, std::vector<std::string>{"implementation inserted #text"});
}

TEST_F(DomTree, ReleasingAnElementFreesItsSubtreeAndReportsItsAttributes) {
  std::vector<std::string> removed;
  implementation.OnAttrModified = [&](TDomElement* element, TDomAttrChange change,
                                      TDomAttr* attribute) {
    if (change == AC_REMOVAL)
      removed.push_back(Narrow(element->tagName()) + "." + Narrow(attribute->name()));
  };
  TDomElement* root = document->createElement(u"root");
  TDomElement* a = document->createElement(u"a");
  TDomElement* b = document->createElement(u"b");
  TDomElement* keep = document->createElement(u"keep");
  document->appendChild(root);
  root->appendChild(a);
  root->appendChild(keep);
  a->appendChild(b);
  a->setAttribute(u"x", u"1");
  a->setAttribute(u"y", u"2");
  b->setAttribute(u"z", u"3");
  b->appendChild(document->createTextNode(u"deep"));

  a->release();

  EXPECT_EQ(Children(root), std::vector<std::string>{"keep"});
  EXPECT_EQ(removed, (std::vector<std::string>{"a.x", "a.y", "b.z"}));
  // Their room is reused: a new node takes freed slots, the tree stays sound.
  root->appendChild(document->createElement(u"new"));
  EXPECT_EQ(Children(root), (std::vector<std::string>{"keep", "new"}));
}

TEST_F(DomTree, FreeingTheDocumentReportsRemainingAttributesOnce) {
  std::vector<std::string> removed;
  implementation.OnAttrModified = [&](TDomElement*, TDomAttrChange change, TDomAttr* attribute) {
    if (change == AC_REMOVAL) removed.push_back(Narrow(attribute->name()));
  };
  TDomElement* linked = document->createElement(u"linked");
  document->appendChild(linked);
  linked->setAttribute(u"a", u"1");
  TDomElement* detached = document->createElement(u"detached");
  detached->setAttribute(u"b", u"2");
  TDomElement* gone = document->createElement(u"gone");
  gone->setAttribute(u"c", u"3");
  gone->release();
  removed.clear();
  document->createTextNode(u"never linked");

  document->release();

  EXPECT_EQ(removed, (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(implementation.documentCount(), 0);
}

TEST_F(DomTree, DeepTreesAreFreedWithoutRecursion) {
  // Built from the leaf upwards, so that each append checks a short chain.
  TDomElement* top = document->createElement(u"leaf");
  for (int i = 0; i < 200000; ++i) {
    TDomElement* parent = document->createElement(u"n");
    parent->appendChild(top);
    top = parent;
  }
  document->appendChild(top);
  top->release();  // would overflow the stack if each level recursed
  EXPECT_EQ(document->firstChild(), nullptr);
}

TEST_F(DomTree, TheImplementationFreesItsDocuments) {
  auto* owned = new TDomImplementation();
  TDomDocument* first = new TDomDocument(owned);
  new TDomDocument(owned);
  first->createElement(u"e")->setAttribute(u"a", u"1");
  EXPECT_EQ(owned->documentCount(), 2);
  delete owned;  // the sanitizer build proves that nothing leaks or is freed twice
}

TEST(DomNodeSize, NodesOfTheListDocumentStaySmall) {
  // A list of 100,000 downloads has about 4.5 million nodes; these sizes keep
  // its tree within a few times the size of the file written from it.
  EXPECT_LE(sizeof(TDomText), 32u);
  EXPECT_LE(sizeof(TDomElement), 56u);
}

}  // namespace
