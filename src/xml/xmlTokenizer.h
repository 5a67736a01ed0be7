#pragma once

// A lenient, non-validating pull tokenizer for XML 1.0.  It holds one whole
// document in memory and cuts it, one NextPart call at a time, into parts:
// XML declaration, comment, processing instruction, document type
// declaration, start tag, empty-element tag, end tag, text and CDATA section.
// Bad markup never raises: whatever is left open runs to the end of the text.
// References are expanded, declared attribute defaults applied, and the text
// of UTF-8 documents is converted into the active 8-bit code page.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xml/xmlNameValue.h"

namespace brimlow {

class TXmlTokenizer;

enum class TPartKind : uint8_t {
  None = 0,
  XmlProlog = 1,
  Comment = 2,
  PI = 3,
  DtdDeclaration = 4,
  StartTag = 5,
  EmptyTag = 6,
  EndTag = 7,
  Text = 8,
  CData = 9,
};

// "XML Prolog", "Comment", ..., and an empty text for None.
const char* DisplayName(TPartKind kind);

enum class TDtdItemKind : uint8_t {
  ElementDecl = 0,
  AttListDecl = 1,
  EntityDecl = 2,
  NotationDecl = 3,
  PI = 4,
  Comment = 5,
  Error = 6,
};

// One item of a document type definition, as handed to DtdItemFound.
struct DtdItem {
  TPosition First = nullptr;  // the "<" that begins the item
  TPosition Last = nullptr;   // its last character
  TDtdItemKind Kind = TDtdItemKind::Error;
  TElemDef* ElemDef = nullptr;          // ElementDecl, AttListDecl
  TEntityDef* EntityDef = nullptr;      // EntityDecl
  TNotationDef* NotationDef = nullptr;  // NotationDecl
  const std::string* Target = nullptr;  // PI
  const std::string* Content = nullptr;
  const TAttrList* Attributes = nullptr;
  TPosition ErrorPosition = nullptr;  // Error
};

// One replacement text being read, and where reading returns after it.
struct TEntityStackNode {
  std::unique_ptr<TXmlTokenizer> ExternalDocument;
  std::string SavedEncoding;
  TPosition ReturnPosition = nullptr;
  // The text reading returns into: its end and the next ";" known in it.
  TPosition ReturnTextEnd = nullptr;
  TPosition ReturnSemicolon = nullptr;
  // The declared entity whose text this is, so that it is never opened again
  // inside itself.
  const TEntityDef* Entity = nullptr;
};

class TEntityStack {
 public:
  explicit TEntityStack(TXmlTokenizer& owner) : OwnerTokenizer(&owner) {}

  // Reading moves into `entity`'s replacement text (or the text of an
  // external document); the current text is remembered for the return.
  void Push(TPosition returnPosition, const TEntityDef* entity = nullptr);
  void Push(std::unique_ptr<TXmlTokenizer> externalDocument, TPosition returnPosition,
            const TEntityDef* entity = nullptr);
  // The position to return to, or none on an empty stack.
  TPosition Pop();
  void Clear();

  bool Empty() const { return FNodes.empty(); }
  int Count() const { return static_cast<int>(FNodes.size()); }
  bool IsOpen(const TEntityDef* entity) const;

  TXmlTokenizer* OwnerTokenizer;

 private:
  std::vector<TEntityStackNode> FNodes;
};

class TXmlTokenizer {
 public:
  // Replacement texts open inside one another at most.
  static constexpr int kMaxEntityDepth = 64;
  // What applying one declared attribute to a tag costs of the scan's
  // expansion cap, beside the value it adds.
  static constexpr std::size_t kDefinitionCost = 16;

  TXmlTokenizer();
  virtual ~TXmlTokenizer();
  TXmlTokenizer(const TXmlTokenizer&) = delete;
  TXmlTokenizer& operator=(const TXmlTokenizer&) = delete;

  // Reads the whole file as the document, opened so that other processes may
  // go on reading and writing it.  False, with nothing loaded, when it cannot
  // be read; never throws.
  bool LoadFile(const std::string& fileName);
  // Takes `text` as the document, for documents held in memory.  A source
  // name beginning with "<" says that there is no folder to resolve external
  // entities against.
  void LoadText(std::string text, std::string sourceName = "<text>");
  // The same for a text known to hold no byte 0, whose end is then not
  // looked for.
  void LoadTextWithoutNul(std::string text, std::string sourceName);
  // Forgets the document and its declarations; CurrentEncoding stays.
  void Reset();
  // Hands the document's text over to the caller, then forgets the document
  // as Reset does: for a reader that keeps the text once it is scanned.
  std::string ReleaseText();

  void BeginScan();
  // Analyses the next part; false when the document is exhausted, and again
  // on every later call.
  bool NextPart();

  // The first character of the document, or of an empty text.
  TPosition DocumentText() const;
  // Bytes reserved for the document: its size plus the terminating byte 0.
  std::size_t DocumentSize() const { return FLoaded ? FText.size() + 1 : 0; }

  const std::string& SourceName() const { return FSourceName; }
  const std::string& DeclaredVersion() const { return FDeclaredVersion; }
  const std::string& DeclaredEncoding() const { return FDeclaredEncoding; }
  bool DeclaredStandalone() const { return FDeclaredStandalone; }
  const std::string& DoctypeName() const { return FDoctypeName; }
  TPosition DoctypeEnd() const { return FDoctypeEnd; }
  bool Normalize() const { return FNormalize; }
  void SetNormalize(bool normalize) { FNormalize = normalize; }
  const std::string& CurrentEncoding() const { return FCurrentEncoding; }
  void SetCurrentEncoding(std::string encoding);

  TEntityStack& EntityStack() { return FEntityStack; }
  TElemList& ElementDecls() { return FElementDecls; }
  TNameValueList<TEntityDef>& GeneralEntities() { return FGeneralEntities; }
  TNameValueList<TEntityDef>& ParameterEntities() { return FParameterEntities; }
  TNameValueList<TNotationDef>& NotationDecls() { return FNotationDecls; }

  TPartKind PartKind() const { return FPartKind; }
  const std::string& PartName() const { return FPartName; }
  const std::string& PartContent() const { return FPartContent; }
  // Hands the current part's content over to the caller, leaving it empty:
  // for a handler that keeps the text, so that a long one is not held twice.
  std::string TakePartContent() { return std::exchange(FPartContent, std::string()); }
  TPosition PartStart() const { return FPartStart; }
  TPosition PartEnd() const { return FPartEnd; }
  const TAttrList& PartAttributes() const { return FPartAttributes; }

  // A new tokenizer holding the external entity's text; the caller owns it.
  // Its text is empty when the entity cannot be read.
  virtual std::unique_ptr<TXmlTokenizer> OpenExternalEntity(const std::string& SystemId,
                                                            const std::string& PublicId,
                                                            const std::string& NotationId);
  // Appends `text` converted for the program to `out`: UTF-8 into the active
  // code page when the current encoding is UTF-8, unchanged otherwise.
  virtual void TranslateText(std::string_view text, std::string& out);
  // Called for each item of a document type definition; does nothing here.
  virtual void DtdItemFound(const DtdItem& item);
  // Whether a character of this scan's text went missing in its conversion
  // to the active code page, which lacks it and put its default character
  // there.  Text of such a scan cannot be written back as it was read.
  bool CharactersLost() const { return FCharactersLost; }

 private:
  friend class TEntityStack;
  friend class TDtdReader;

  // The parts, by kind.
  void ReadXmlProlog();
  void ReadComment();
  void ReadPI(TPosition start, TPosition& end);
  void ReadTag();
  void ReadText();
  void ReadCData();
  void ReadDoctype();
  void CompleteAttributes();
  void ProcessAttributeValue(TAttr& attribute);

  // References.
  void ReadReference(TPosition& position, TPosition& last);
  TPosition FindSemicolon(TPosition from);
  void AppendCharacter(uint32_t codePoint, bool forTranslation, std::string& out);
  // Appends `wide` in the active code page to `out`, noting any character
  // the code page lacks.
  void AppendInCodePage(std::u16string_view wide, std::string& out);
  void ExpandGeneralEntities(std::string_view value, std::string& out, int depth);
  void ExpandCharacterReferences(std::string& value);
  void ApplyDeclaration(const TElemDef& element);

  // The last character of the current text.
  TPosition LastOfText() const { return FTextEnd - 1; }
  // The first occurrence of `what` at or after `from` in the current text.
  TPosition Search(TPosition from, std::string_view what) const;
  // Reading moves to the beginning of another text.
  void EnterText(TPosition text);
  // The byte 0 that ends the document: the first one of its text, found once
  // per document.
  TPosition DocumentEnd();
  void FinishDocument();
  // Charges `size` bytes of replacement text to the scan's budget; false
  // when the budget does not allow it, and the replacement is then dropped.
  bool ChargeExpansion(std::size_t size);
  // The same for opening an external document, before it is read.
  bool ChargeExternalOpen();
  bool Charge(std::size_t cost);

  std::string FText;  // the document; std::string keeps the byte 0 after it
  bool FLoaded = false;
  TPosition FDocumentEnd = nullptr;  // none until DocumentEnd has looked
  std::string FSourceName;
  std::string FDeclaredVersion;
  std::string FDeclaredEncoding;
  bool FDeclaredStandalone = false;
  std::string FDoctypeName;
  TPosition FDoctypeEnd = nullptr;
  bool FNormalize = true;
  TEntityStack FEntityStack{*this};
  std::string FCurrentEncoding;
  bool FUtf8 = false;  // CurrentEncoding is exactly "UTF-8"
  TElemList FElementDecls;
  TNameValueList<TEntityDef> FGeneralEntities;
  TNameValueList<TEntityDef> FParameterEntities;
  TNameValueList<TNotationDef> FNotationDecls;
  TPartKind FPartKind = TPartKind::None;
  std::string FPartName;
  std::string FPartContent;
  TPosition FPartStart = nullptr;
  TPosition FPartEnd = nullptr;
  TAttrList FPartAttributes;
  // Where the next part begins: usually the character after PartEnd.
  TPosition FNextStart = nullptr;

  // The current text: where its byte 0 stands, and the first ";" at or after
  // the last reference met in it (its byte 0 when there is none), so that
  // finding the end of each reference never rescans the text.
  TPosition FTextEnd = nullptr;
  TPosition FNextSemicolon = nullptr;
  bool FReportable = true;
  bool FFinished = false;
  unsigned FCodePage = 0;  // the active code page, asked once per scan
  bool FCharactersLost = false;

  // Replacement text produced in this scan, bounded against expansion bombs.
  std::size_t FExpansionBudget = 0;

  // Declarations of the document type read in this document: where each
  // began and ended and the name it gave, so that a second scan passes over
  // them.
  struct TReadDoctype {
    TPosition Start;
    TPosition End;
    std::string Name;
  };
  std::vector<TReadDoctype> FReadDoctypes;
  // Entity declarations replaced by later ones.  They are kept until the
  // next load, because reading may still be inside their texts.
  std::vector<std::unique_ptr<TEntityDef>> FRetiredEntities;

  // Entities being expanded inside an attribute value.
  std::vector<const TEntityDef*> FOpenInValue;

  // Scratch buffers reused from part to part.
  std::string FRun;
  std::string FValue;
  std::u16string FWide;
};

}  // namespace brimlow
