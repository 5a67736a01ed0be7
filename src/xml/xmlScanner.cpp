#include "xml/xmlScanner.h"

namespace brimlow {

// Tokenizer of a scanner.

std::unique_ptr<TXmlTokenizer> TScannerTokenizer::OpenExternalEntity(
    const std::string& SystemId, const std::string& PublicId, const std::string& NotationId) {
  TCustomEventScanner& scanner = *OwnerScanner;
  if (!scanner.OnLoadExternal) {
    return TXmlTokenizer::OpenExternalEntity(SystemId, PublicId, NotationId);
  }
  std::unique_ptr<TXmlTokenizer> result;
  scanner.OnLoadExternal(scanner, SystemId, PublicId, NotationId, result);
  // A handler that supplies nothing makes the entity an empty text.
  if (!result) result = std::make_unique<TXmlTokenizer>();
  return result;
}

void TScannerTokenizer::TranslateText(std::string_view text, std::string& out) {
  TCustomEventScanner& scanner = *OwnerScanner;
  if (!scanner.OnTranslateEncoding) {
    TXmlTokenizer::TranslateText(text, out);
    return;
  }
  out += scanner.OnTranslateEncoding(scanner, CurrentEncoding(), std::string(text));
}

void TScannerTokenizer::DtdItemFound(const DtdItem& item) {
  TCustomEventScanner& scanner = *OwnerScanner;
  switch (item.Kind) {
    case TDtdItemKind::ElementDecl: scanner.FireElementDecl(*item.ElemDef); break;
    case TDtdItemKind::AttListDecl: scanner.FireAttListDecl(*item.ElemDef); break;
    case TDtdItemKind::EntityDecl: scanner.FireEntityDecl(*item.EntityDef); break;
    case TDtdItemKind::NotationDecl: scanner.FireNotationDecl(*item.NotationDef); break;
    case TDtdItemKind::PI: scanner.FirePI(*item.Target, *item.Content, *item.Attributes); break;
    case TDtdItemKind::Comment:
      scanner.FComment.assign(item.First, item.Last + 1);
      scanner.FireComment(scanner.FComment);
      break;
    case TDtdItemKind::Error: scanner.FireDtdSyntaxError(item.ErrorPosition); break;
  }
}

// Scanner.

TCustomEventScanner::TCustomEventScanner()
    : FTokenizer(std::make_unique<TScannerTokenizer>(*this)) {}

TCustomEventScanner::~TCustomEventScanner() = default;

void TCustomEventScanner::Run() {
  StopRequested = false;
  TScannerTokenizer& tokenizer = *FTokenizer;
  tokenizer.BeginScan();
  // The flag is looked at after each part has been analysed, so a stop ends
  // the run before the next part is dispatched.
  while (tokenizer.NextPart() && !StopRequested) {
    switch (tokenizer.PartKind()) {
      case TPartKind::XmlProlog:
        FireXmlProlog(tokenizer.DeclaredVersion(), tokenizer.DeclaredEncoding(),
                      tokenizer.DeclaredStandalone());
        break;
      case TPartKind::Comment:
        FComment.assign(tokenizer.PartStart(), tokenizer.PartEnd() + 1);
        FireComment(FComment);
        break;
      case TPartKind::PI:
        FirePI(tokenizer.PartName(), tokenizer.PartContent(), tokenizer.PartAttributes());
        break;
      case TPartKind::DtdDeclaration: FireDtdDeclaration(tokenizer.DoctypeName()); break;
      case TPartKind::StartTag:
        FireStartTag(tokenizer.PartName(), tokenizer.PartAttributes());
        break;
      case TPartKind::EmptyTag:
        FireEmptyTag(tokenizer.PartName(), tokenizer.PartAttributes());
        break;
      case TPartKind::EndTag: FireEndTag(tokenizer.PartName()); break;
      case TPartKind::Text: FireContent(tokenizer.PartContent()); break;
      case TPartKind::CData: FireCData(tokenizer.PartContent()); break;
      case TPartKind::None: break;
    }
  }
}

void TCustomEventScanner::FireXmlProlog(const std::string& version, const std::string& encoding,
                                        bool standalone) {
  if (OnXmlProlog) OnXmlProlog(*this, version, encoding, standalone);
}

void TCustomEventScanner::FireComment(const std::string& comment) {
  if (OnComment) OnComment(*this, comment);
}

void TCustomEventScanner::FirePI(const std::string& target, const std::string& content,
                                 const TAttrList& attributes) {
  if (OnPI) OnPI(*this, target, content, attributes);
}

void TCustomEventScanner::FireDtdDeclaration(const std::string& name) {
  if (OnDtdDeclaration) OnDtdDeclaration(*this, name);
}

void TCustomEventScanner::FireStartTag(const std::string& tagName, const TAttrList& attributes) {
  if (OnStartTag) OnStartTag(*this, tagName, attributes);
}

void TCustomEventScanner::FireEmptyTag(const std::string& tagName, const TAttrList& attributes) {
  if (OnEmptyTag) OnEmptyTag(*this, tagName, attributes);
}

void TCustomEventScanner::FireEndTag(const std::string& tagName) {
  if (OnEndTag) OnEndTag(*this, tagName);
}

void TCustomEventScanner::FireContent(const std::string& content) {
  if (OnContent) OnContent(*this, content);
}

void TCustomEventScanner::FireCData(const std::string& content) {
  if (OnCData) OnCData(*this, content);
}

void TCustomEventScanner::FireElementDecl(const TElemDef& element) {
  if (OnElementDecl) OnElementDecl(*this, element);
}

void TCustomEventScanner::FireAttListDecl(const TElemDef& element) {
  if (OnAttListDecl) OnAttListDecl(*this, element);
}

void TCustomEventScanner::FireEntityDecl(const TEntityDef& entity) {
  if (OnEntityDecl) OnEntityDecl(*this, entity);
}

void TCustomEventScanner::FireNotationDecl(const TNotationDef& notation) {
  if (OnNotationDecl) OnNotationDecl(*this, notation);
}

void TCustomEventScanner::FireDtdSyntaxError(TPosition errorPosition) {
  if (OnDtdSyntaxError) OnDtdSyntaxError(*this, errorPosition);
}

// The program's scanner.

void TXmlEventScanner::SetFilename(const std::string& fileName) {
  Tokenizer().LoadFile(fileName);
}

std::string TXmlEventScanner::Filename() const {
  return Tokenizer().SourceName();
}

void TXmlEventScanner::SetNormalize(bool normalize) {
  Tokenizer().SetNormalize(normalize);
}

bool TXmlEventScanner::Normalize() const {
  return Tokenizer().Normalize();
}

void TXmlEventScanner::FireCData(const std::string& content) {
  // CDATA reaches the content handler; OnCData is never called.
  TCustomEventScanner::FireContent(content);
}

}  // namespace brimlow
