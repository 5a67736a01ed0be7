// The document type declaration: its name, its subsets and the parameter
// entities met while reading them.
#include "xml/xmlDtd.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "xml/xmlChars.h"

namespace brimlow {

namespace {

constexpr xmlchars::ByteSet kDoctypeNameEnd{"[", true};

// Moves one character on, but never past the end of a text.
inline void Advance(TPosition& p) {
  if (*p != 0) ++p;
}

}  // namespace

void TXmlTokenizer::ReadDoctype() {
  FPartKind = TPartKind::DtdDeclaration;
  // A document scanned again: a declaration read before is passed over
  // without reporting anything.  Only declarations of the document itself
  // are remembered; one inside a replacement text is read wherever it is met.
  // They are kept in document order.
  const auto read = std::lower_bound(
      FReadDoctypes.begin(), FReadDoctypes.end(), FPartStart,
      [](const TReadDoctype& done, TPosition start) { return std::less<>()(done.Start, start); });
  if (read != FReadDoctypes.end() && read->Start == FPartStart) {
    FPartEnd = read->End;
    FDoctypeName = read->Name;
  } else {
    const bool inDocument = FEntityStack.Empty();
    TDtdReader reader(*this);
    FPartEnd = reader.ReadDoctype();
    FDoctypeEnd = FPartEnd;
    if (inDocument) FReadDoctypes.insert(read, {FPartStart, FPartEnd, FDoctypeName});
  }
  FPartKind = TPartKind::DtdDeclaration;
  FPartName.clear();
  FPartContent.clear();
}

TDtdReader::TDtdReader(TXmlTokenizer& tokenizer)
    : FTokenizer(tokenizer), FFloor(tokenizer.FEntityStack.Count()) {}

TPosition TDtdReader::ReadDoctype() {
  TXmlTokenizer& t = FTokenizer;
  TEntityStack& stack = t.FEntityStack;
  TPosition p = t.FPartStart + 9;
  TDoctypeState state = TDoctypeState::BeforeName;
  for (;;) {
    const char c = *p;
    if (c == '>') break;
    if (c == 0) {
      if (Leave(p)) continue;
      p = LastOfText();
      break;
    }
    if (c == '%') {
      ReadParameterReference(p);
      continue;
    }
    if (c == '[') {
      state = TDoctypeState::InsideSubset;
      p = ReadDeclarations(p + 1);
      continue;
    }
    if (c == ']') {
      state = TDoctypeState::AfterSubset;
      ++p;
      continue;
    }
    if (xmlchars::IsWhite(c)) {
      ++p;
      continue;
    }
    switch (state) {
      case TDoctypeState::BeforeName:
        if (xmlchars::IsNameStart(c)) {
          const TPosition nameEnd = xmlchars::NameEnd(p, kDoctypeNameEnd);
          t.FDoctypeName.assign(p, nameEnd);
          p = nameEnd - 1;
          state = TDoctypeState::AfterName;
        }
        break;
      case TDoctypeState::AfterName:
        if (xmlchars::StartsWith(p, "SYSTEM") || xmlchars::StartsWith(p, "PUBLIC")) {
          const TExternalID id = ReadExternalID(p);
          ReadExternalSubset(id);
          p = id.End;
        }
        break;
      case TDoctypeState::InsideSubset:
      case TDoctypeState::AfterSubset: ReportError(t.FPartStart, p); break;
    }
    Advance(p);
  }
  if (stack.Count() > FFloor) {
    // The declaration ended inside a parameter entity's replacement text.
    // Reading goes back to the text the declaration began in, after the
    // reference that led there; the rest of that replacement is dropped.
    ReportError(t.FPartStart, p);
    TPosition back = p;
    while (stack.Count() > FFloor)
      back = stack.Pop();
    p = back - 1;
  }
  return p;
}

TPosition TDtdReader::ReadDeclarations(TPosition q) {
  using xmlchars::StartsWith;
  for (;;) {
    const char c = *q;
    if (c == 0) {
      if (Leave(q)) continue;
      return q;
    }
    if (c == '%') {
      ReadParameterReference(q);
      continue;
    }
    if (c == '>' || c == ']') return q;
    if (c != '<') {
      ++q;
      continue;
    }
    if (StartsWith(q, "<!ELEMENT")) {
      q = ReadElementDecl(q);
    } else if (StartsWith(q, "<!ATTLIST")) {
      q = ReadAttListDecl(q);
    } else if (StartsWith(q, "<!ENTITY")) {
      q = ReadEntityDecl(q);
    } else if (StartsWith(q, "<!NOTATION")) {
      q = ReadNotationDecl(q);
    } else if (StartsWith(q, "<?")) {
      q = ReadInstruction(q);
    } else if (StartsWith(q, "<!--")) {
      q = ReadComment(q);
    } else {
      ReportError(q, q);
    }
    Advance(q);
  }
}

TPosition TDtdReader::ReadInstruction(TPosition q) {
  TXmlTokenizer& t = FTokenizer;
  TPosition last = q;
  t.FPartKind = TPartKind::PI;
  t.ReadPI(q, last);
  DtdItem item;
  item.Target = &t.FPartName;
  item.Content = &t.FPartContent;
  item.Attributes = &t.FPartAttributes;
  Report(item, TDtdItemKind::PI, q, last);
  return last;
}

TPosition TDtdReader::ReadComment(TPosition q) {
  const TPosition close = FTokenizer.Search(q + 4, "-->");
  const TPosition last = close ? close + 2 : LastOfText();
  DtdItem item;
  Report(item, TDtdItemKind::Comment, q, last);
  return last;
}

void TDtdReader::ReadExternalSubset(const TExternalID& id) {
  TXmlTokenizer& t = FTokenizer;
  if (!t.ChargeExternalOpen()) return;
  const std::unique_ptr<TXmlTokenizer> document =
      t.OpenExternalEntity(id.SystemId, id.PublicId, std::string());
  if (!document) return;
  const TPosition text = document->DocumentText();
  const TPosition start = std::strstr(text, "<!");
  if (start == nullptr || !t.ChargeExpansion(std::strlen(text))) return;
  // The subset is a text of its own: reading ends at its end, and whatever
  // it left open on the stack is closed before the document goes away.
  struct Restore {
    TXmlTokenizer& t;
    TDtdReader& reader;
    int floor;
    TPosition textEnd = t.FTextEnd;
    TPosition semicolon = t.FNextSemicolon;
    ~Restore() {
      while (t.FEntityStack.Count() > floor)
        t.FEntityStack.Pop();
      t.FTextEnd = textEnd;
      t.FNextSemicolon = semicolon;
      reader.FFloor = floor;
    }
  } restore{t, *this, FFloor};
  FFloor = t.FEntityStack.Count();
  t.EnterText(start);
  ReadDeclarations(start);
}

bool TDtdReader::Leave(TPosition& p) {
  TEntityStack& stack = FTokenizer.FEntityStack;
  if (stack.Count() <= FFloor) return false;
  p = stack.Pop();
  return true;
}

void TDtdReader::ReadParameterReference(TPosition& p) {
  TXmlTokenizer& t = FTokenizer;
  const TPosition semicolon = t.FindSemicolon(p);
  if (semicolon == nullptr) {
    ++p;  // a "%" like any other character
    return;
  }
  const std::string_view name(p + 1, static_cast<std::size_t>(semicolon - p - 1));
  p = semicolon + 1;
  const TEntityDef* entity =
      t.FParameterEntities.Empty() ? nullptr : t.FParameterEntities.Find(name);
  // An undeclared or external entity contributes nothing, and so does one
  // already being read, one nested too deep, or any beyond the cap.
  if (entity == nullptr || entity->Value.empty()) return;
  TEntityStack& stack = t.FEntityStack;
  if (stack.IsOpen(entity) || stack.Count() >= TXmlTokenizer::kMaxEntityDepth) return;
  if (!t.ChargeExpansion(entity->Value.size())) return;
  stack.Push(p, entity);
  p = entity->Value.c_str();
  t.EnterText(p);
}

void TDtdReader::ReplaceParameterReferences(std::string& text) {
  if (text.find('%') == std::string::npos || FTokenizer.FParameterEntities.Empty()) return;
  std::string out;
  FOpenInText.clear();
  ReplaceParameterReferences(text, out, 0);
  text.swap(out);
}

void TDtdReader::ReplaceParameterReferences(std::string_view text, std::string& out, int depth) {
  TXmlTokenizer& t = FTokenizer;
  std::size_t done = 0;
  for (;;) {
    const std::size_t percent = text.find('%', done);
    if (percent == std::string_view::npos) break;
    const std::size_t semicolon = text.find(';', percent + 2);
    if (semicolon == std::string_view::npos) break;
    const std::string_view name = text.substr(percent + 1, semicolon - percent - 1);
    const TEntityDef* entity = t.FParameterEntities.Find(name);
    out.append(text.substr(done, percent - done));
    done = semicolon + 1;
    if (entity == nullptr) {
      out.append(text.substr(percent, done - percent));  // stays as written
      continue;
    }
    if (depth >= TXmlTokenizer::kMaxEntityDepth ||
        std::find(FOpenInText.begin(), FOpenInText.end(), entity) != FOpenInText.end() ||
        !t.ChargeExpansion(entity->Value.size())) {
      continue;
    }
    FOpenInText.push_back(entity);
    ReplaceParameterReferences(entity->Value, out, depth + 1);
    FOpenInText.pop_back();
  }
  out.append(text.substr(done));
}

void TDtdReader::ReplaceCharacterReferences(std::string& text) {
  FTokenizer.ExpandCharacterReferences(text);
}

TPosition TDtdReader::DeclarationEnd(TPosition p) const {
  const TPosition close = *p == 0 ? nullptr : FTokenizer.Search(p, ">");
  return close ? close : LastOfText();
}

std::string TDtdReader::Quoted(TPosition& p) const {
  const TPosition begin = p + 1;
  const TPosition close = FTokenizer.Search(begin, std::string_view(p, 1));
  const TPosition end = close ? close : FTokenizer.FTextEnd;
  p = close ? close : LastOfText();
  return std::string(begin, end);
}

void TDtdReader::Report(DtdItem& item, TDtdItemKind kind, TPosition first, TPosition last) {
  item.Kind = kind;
  item.First = first;
  item.Last = last;
  FTokenizer.DtdItemFound(item);
}

void TDtdReader::ReportError(TPosition first, TPosition at) {
  DtdItem item;
  item.ErrorPosition = at;
  Report(item, TDtdItemKind::Error, first, at);
}

}  // namespace brimlow
