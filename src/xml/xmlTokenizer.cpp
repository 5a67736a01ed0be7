#include "xml/xmlTokenizer.h"

#include <algorithm>
#include <cstring>

#include "platform/path.h"
#include "platform/platform.h"
#include "xml/xmlChars.h"

namespace brimlow {

namespace {

// The text of a tokenizer with nothing loaded.
const char kEmptyText[] = "";

// Replacement text allowed per scan: 16 MiB, or a hundred times the
// document, whichever is larger.
constexpr std::size_t kMinimumExpansion = std::size_t{16} << 20;
constexpr std::size_t kExpansionFactor = 100;
// What opening a replacement costs beside its text, so that a great many
// references to tiny or empty texts end soon too; opening an external
// document reads a file and costs more.
constexpr std::size_t kReferenceCost = 32;
constexpr std::size_t kExternalOpenCost = 4096;

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// "http:", "ftp:" and the like: a scheme of two or more letters.  A single
// letter before the colon is a drive.
bool HasUrlScheme(std::string_view id) {
  const std::size_t colon = id.find(':');
  if (colon == std::string_view::npos || colon < 2) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = id[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !(i > 0 && other)) return false;
  }
  return true;
}

// "\\server\share\..." (or with "/"): a file of another machine.
bool IsNetworkPath(std::string_view id) {
  return id.size() >= 2 && (id[0] == '\\' || id[0] == '/') && (id[1] == '\\' || id[1] == '/');
}

}  // namespace

const char* DisplayName(TPartKind kind) {
  switch (kind) {
    case TPartKind::None: return "";
    case TPartKind::XmlProlog: return "XML Prolog";
    case TPartKind::Comment: return "Comment";
    case TPartKind::PI: return "PI";
    case TPartKind::DtdDeclaration: return "DTD Declaration";
    case TPartKind::StartTag: return "Start Tag";
    case TPartKind::EmptyTag: return "Empty Tag";
    case TPartKind::EndTag: return "End Tag";
    case TPartKind::Text: return "Text";
    case TPartKind::CData: return "CDATA";
  }
  return "";
}

// Entity stack.

void TEntityStack::Push(TPosition returnPosition, const TEntityDef* entity) {
  Push(nullptr, returnPosition, entity);
}

void TEntityStack::Push(std::unique_ptr<TXmlTokenizer> externalDocument, TPosition returnPosition,
                        const TEntityDef* entity) {
  TEntityStackNode& node = FNodes.emplace_back();
  node.ExternalDocument = std::move(externalDocument);
  node.SavedEncoding = OwnerTokenizer->FCurrentEncoding;
  node.ReturnPosition = returnPosition;
  node.ReturnTextEnd = OwnerTokenizer->FTextEnd;
  node.ReturnSemicolon = OwnerTokenizer->FNextSemicolon;
  node.Entity = entity;
}

TPosition TEntityStack::Pop() {
  if (FNodes.empty()) return nullptr;
  TEntityStackNode& node = FNodes.back();
  if (!node.SavedEncoding.empty()) OwnerTokenizer->SetCurrentEncoding(node.SavedEncoding);
  OwnerTokenizer->FTextEnd = node.ReturnTextEnd;
  OwnerTokenizer->FNextSemicolon = node.ReturnSemicolon;
  const TPosition position = node.ReturnPosition;
  FNodes.pop_back();  // releases the external document
  return position;
}

void TEntityStack::Clear() {
  FNodes.clear();
}

bool TEntityStack::IsOpen(const TEntityDef* entity) const {
  return std::any_of(FNodes.begin(), FNodes.end(),
                     [entity](const TEntityStackNode& node) { return node.Entity == entity; });
}

// Tokenizer.

TXmlTokenizer::TXmlTokenizer() = default;

TXmlTokenizer::~TXmlTokenizer() {
  // External documents on the stack refer back to nothing of ours, but free
  // them before the lists whose entities they were opened for.
  FEntityStack.Clear();
}

void TXmlTokenizer::SetCurrentEncoding(std::string encoding) {
  FCurrentEncoding = std::move(encoding);
  FUtf8 = FCurrentEncoding == "UTF-8";
}

void TXmlTokenizer::Reset() {
  FEntityStack.Clear();
  FText = std::string();
  FLoaded = false;
  FDocumentEnd = nullptr;
  FSourceName.clear();
  FDeclaredVersion.clear();
  FDeclaredEncoding.clear();
  FDoctypeName.clear();
  FDeclaredStandalone = false;
  FDoctypeEnd = nullptr;
  FNormalize = true;
  FElementDecls.Clear();
  FGeneralEntities.Clear();
  FParameterEntities.Clear();
  FNotationDecls.Clear();
  FReadDoctypes.clear();
  FRetiredEntities.clear();
  FPartAttributes.Clear();
  // The buffers of the last part go too: one long part would otherwise stay
  // held for as long as the tokenizer lives.
  FPartName = std::string();
  FPartContent = std::string();
  FPartStart = FPartEnd = FNextStart = nullptr;
  FTextEnd = FNextSemicolon = nullptr;
  FFinished = false;
}

std::string TXmlTokenizer::ReleaseText() {
  std::string text = std::move(FText);
  Reset();
  return text;
}

bool TXmlTokenizer::LoadFile(const std::string& fileName) {
  Reset();
  try {
    FText = platform::current().readFile(fileName);
  } catch (const std::exception&) {
    Reset();
    return false;
  }
  FLoaded = true;
  FSourceName = fileName;
  return true;
}

void TXmlTokenizer::LoadText(std::string text, std::string sourceName) {
  Reset();
  FText = std::move(text);
  FLoaded = true;
  FSourceName = std::move(sourceName);
}

void TXmlTokenizer::LoadTextWithoutNul(std::string text, std::string sourceName) {
  LoadText(std::move(text), std::move(sourceName));
  FDocumentEnd = FText.c_str() + FText.size();
}

TPosition TXmlTokenizer::DocumentText() const {
  return FLoaded ? FText.c_str() : kEmptyText;
}

void TXmlTokenizer::BeginScan() {
  FPartKind = TPartKind::None;
  FPartName.clear();
  FPartContent.clear();
  FPartStart = FPartEnd = FNextStart = nullptr;
  FPartAttributes.Clear();
  FEntityStack.Clear();
  FOpenInValue.clear();
  FFinished = false;
  FCodePage = platform::current().activeCodePage();
  FCharactersLost = false;
  FExpansionBudget = std::max(kMinimumExpansion, kExpansionFactor * DocumentSize());
}

TPosition TXmlTokenizer::DocumentEnd() {
  if (FDocumentEnd == nullptr) {
    const TPosition text = DocumentText();
    const void* nul = FLoaded ? std::memchr(text, 0, FText.size()) : nullptr;
    FDocumentEnd = nul ? static_cast<TPosition>(nul) : text + (FLoaded ? FText.size() : 0);
  }
  return FDocumentEnd;
}

void TXmlTokenizer::EnterText(TPosition text) {
  // The document's own end is known once found; a replacement text is short.
  FTextEnd = text == DocumentText() ? DocumentEnd() : text + std::strlen(text);
  FNextSemicolon = nullptr;
}

void TXmlTokenizer::FinishDocument() {
  FEntityStack.Clear();
  const TPosition document = DocumentText();
  FTextEnd = DocumentEnd();
  FPartStart = FTextEnd;
  // The last character of the document, when it has one.
  FPartEnd = FTextEnd > document ? FTextEnd - 1 : FTextEnd;
  FNextStart = FTextEnd;
  FFinished = true;
}

bool TXmlTokenizer::ChargeExpansion(std::size_t size) {
  return Charge(size + kReferenceCost);
}

bool TXmlTokenizer::ChargeExternalOpen() {
  return Charge(kExternalOpenCost);
}

bool TXmlTokenizer::Charge(std::size_t cost) {
  if (cost > FExpansionBudget) {
    FExpansionBudget = 0;
    return false;
  }
  FExpansionBudget -= cost;
  return true;
}

TPosition TXmlTokenizer::Search(TPosition from, std::string_view what) const {
  const std::string_view text(from, static_cast<std::size_t>(FTextEnd - from));
  const std::size_t at = text.find(what);
  return at == std::string_view::npos ? nullptr : from + at;
}

bool TXmlTokenizer::NextPart() {
  using xmlchars::StartsWith;
  if (FFinished) return false;
  for (;;) {
    FReportable = true;
    if (FNextStart == nullptr) {
      FPartStart = DocumentText();
      EnterText(FPartStart);
    } else {
      FPartStart = FNextStart;
    }
    // Leave every replacement text that has been read to its end.
    while (*FPartStart == 0 && !FEntityStack.Empty())
      FPartStart = FEntityStack.Pop();
    if (*FPartStart == 0) {
      FinishDocument();
      return false;
    }
    FPartEnd = FPartStart;
    const TPosition p = FPartStart;
    if (p[0] != '<') {
      ReadText();
    } else if (p[1] == '?') {
      if (StartsWith(p, "<?xml") && xmlchars::IsWhite(p[5])) {
        ReadXmlProlog();
      } else {
        FPartKind = TPartKind::PI;
        ReadPI(p, FPartEnd);
      }
    } else if (p[1] == '!' && StartsWith(p, "<!--")) {
      ReadComment();
    } else if (p[1] == '!' && StartsWith(p, "<!DOCTYPE")) {
      ReadDoctype();
    } else if (p[1] == '!' && StartsWith(p, "<![CDATA[")) {
      ReadCData();
    } else {
      ReadTag();
    }
    if (FPartKind != TPartKind::Text) FNextStart = FPartEnd + 1;
    if (FReportable) return true;
  }
}

void TXmlTokenizer::ReadXmlProlog() {
  FPartKind = TPartKind::XmlProlog;
  const TPosition stop = FPartAttributes.ParseFrom(FPartStart + 5);
  if (FEntityStack.Empty()) {
    FDeclaredVersion = FPartAttributes.ValueOf("version");
    FDeclaredEncoding = FPartAttributes.ValueOf("encoding");
    FDeclaredStandalone = FPartAttributes.ValueOf("standalone") == "yes";
  }
  const TPosition close = Search(stop, "?>");
  FPartEnd = close ? close + 1 : LastOfText();
  std::string encoding = UpperCase(FPartAttributes.ValueOf("encoding"));
  SetCurrentEncoding(encoding.empty() ? std::string("UTF-8") : std::move(encoding));
  FPartName.clear();
  FPartContent.clear();
}

void TXmlTokenizer::ReadComment() {
  FPartKind = TPartKind::Comment;
  const TPosition close = Search(FPartStart + 4, "-->");
  FPartEnd = close ? close + 2 : LastOfText();
}

void TXmlTokenizer::ReadPI(TPosition start, TPosition& end) {
  const TPosition close = Search(start + 2, "?>");
  end = close ? close + 1 : LastOfText();
  const TPosition target = start + 2;
  const TPosition targetEnd = xmlchars::NameEnd(target, xmlchars::kPITargetEnd);
  FPartName.assign(target, targetEnd);
  // The content runs from just after the target to two places before the
  // end, so it keeps the white space that separates it from the target.
  const TPosition contentEnd = end - 1;
  if (contentEnd > targetEnd) {
    FPartContent.assign(targetEnd, contentEnd);
  } else {
    FPartContent.clear();
  }
  FPartAttributes.ParseFrom(targetEnd);
}

void TXmlTokenizer::ReadCData() {
  FPartKind = TPartKind::CData;
  const TPosition content = FPartStart + 9;
  const TPosition close = Search(content, "]]>");
  const TPosition contentEnd = close ? close : FTextEnd;
  FPartContent.clear();
  TranslateText(std::string_view(content, static_cast<std::size_t>(contentEnd - content)),
                FPartContent);
  FPartEnd = close ? close + 2 : LastOfText();
}

std::unique_ptr<TXmlTokenizer> TXmlTokenizer::OpenExternalEntity(const std::string& SystemId,
                                                                 const std::string&,
                                                                 const std::string&) {
  auto document = std::make_unique<TXmlTokenizer>();
  // Only files are read, never anything named by a URL or on a network
  // share; an entity without a system identifier has nothing to read.
  if (SystemId.empty() || HasUrlScheme(SystemId) || IsNetworkPath(SystemId)) return document;
  std::string path = SystemId;
  const bool absolute = path.starts_with('/') || (path.size() > 1 && path[1] == ':');
  if (!FSourceName.starts_with('<') && !absolute) {
    const std::string folder = platform::ExtractFileDir(FSourceName);
    if (platform::isWindowsPath(folder)) std::replace(path.begin(), path.end(), '/', '\\');
    path = platform::JoinPath(folder, path);
  } else if (platform::isWindowsPath(path)) {
    std::replace(path.begin(), path.end(), '/', '\\');
  }
  document->LoadFile(path);
  return document;
}

void TXmlTokenizer::DtdItemFound(const DtdItem&) {}

}  // namespace brimlow
