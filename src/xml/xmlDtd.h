#pragma once

// The reading of a document type declaration, for the tokenizer only: the
// document type's name, the external subset, the internal subset with its
// element, attribute-list, entity and notation declarations, parameter
// entities, processing instructions and comments.  Each item is handed to
// DtdItemFound as soon as it has been read.  Nothing is validated.
//
// Parameter-entity references are read through the tokenizer's entity
// stack.  The reading never leaves the stack below the level it found, so a
// declaration met inside a replacement text, or in an external subset, never
// unwinds the texts that enclose it.

#include <cstddef>
#include <string>

#include "xml/xmlTokenizer.h"

namespace brimlow {

class TDtdReader {
 public:
  explicit TDtdReader(TXmlTokenizer& tokenizer);

  // Reads the declaration that begins at the tokenizer's PartStart and
  // returns the position of its last character.
  TPosition ReadDoctype();

 private:
  enum class TDoctypeState { BeforeName, AfterName, InsideSubset, AfterSubset };

  // Reads declarations from `q` until a ">" or "]" or the end of the text
  // at the current floor of the stack; returns where reading stopped.
  TPosition ReadDeclarations(TPosition q);
  // Each reads the declaration whose "<" is at `q` and returns the position
  // of its last character.
  TPosition ReadElementDecl(TPosition q);
  TPosition ReadAttListDecl(TPosition q);
  TPosition ReadEntityDecl(TPosition q);
  TPosition ReadNotationDecl(TPosition q);
  TPosition ReadInstruction(TPosition q);
  TPosition ReadComment(TPosition q);
  TExternalID ReadExternalID(TPosition p);
  void ReadExternalSubset(const TExternalID& id);

  // A "%" at `p`: reading moves into the entity's replacement text, or past
  // the reference, or past the "%" alone when no ";" follows.
  void ReadParameterReference(TPosition& p);
  // The end of a text at `p`: back into the enclosing replacement text, or
  // false when the text is the one reading began in.
  bool Leave(TPosition& p);
  // Replaces the parameter-entity references written in `text`.
  void ReplaceParameterReferences(std::string& text);
  void ReplaceParameterReferences(std::string_view text, std::string& out, int depth);
  void ReplaceCharacterReferences(std::string& text);

  // The first ">" at or after `p`, or the last character of the current text.
  TPosition DeclarationEnd(TPosition p) const;
  // The quoted text at `p` (a double quote or an apostrophe); `p` moves to
  // the closing quote, or to the last character of the current text.
  std::string Quoted(TPosition& p) const;
  TPosition LastOfText() const { return FTokenizer.LastOfText(); }

  void Report(DtdItem& item, TDtdItemKind kind, TPosition first, TPosition last);
  void ReportError(TPosition first, TPosition at);

  TXmlTokenizer& FTokenizer;
  // The stack depth reading began at: texts below it are not ours to leave.
  int FFloor = 0;
  // Parameter entities being replaced inside a declaration's text.
  std::vector<const TEntityDef*> FOpenInText;
};

}  // namespace brimlow
