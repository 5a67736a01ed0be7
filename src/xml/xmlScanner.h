#pragma once

// The event scanner: one pass of the tokenizer over a loaded document,
// delivered as one callback per part, in document order.  Every handler slot
// is optional; an empty one does nothing.  Handlers run synchronously on the
// caller's thread; an exception thrown by a handler leaves Run.

#include <functional>
#include <memory>
#include <string>

#include "xml/xmlTokenizer.h"

namespace brimlow {

class TCustomEventScanner;

// The tokenizer a scanner owns: it hands the items of a document type
// definition, external entities and translation to the scanner's handlers.
class TScannerTokenizer final : public TXmlTokenizer {
 public:
  explicit TScannerTokenizer(TCustomEventScanner& owner) : OwnerScanner(&owner) {}

  std::unique_ptr<TXmlTokenizer> OpenExternalEntity(const std::string& SystemId,
                                                    const std::string& PublicId,
                                                    const std::string& NotationId) override;
  void TranslateText(std::string_view text, std::string& out) override;
  void DtdItemFound(const DtdItem& item) override;

  TCustomEventScanner* OwnerScanner;
};

class TCustomEventScanner {
 public:
  using TCommentEvent =
      std::function<void(TCustomEventScanner& Sender, const std::string& Comment)>;
  using TPIEvent = std::function<void(TCustomEventScanner& Sender, const std::string& Target,
                                      const std::string& Content, const TAttrList& Attributes)>;
  using TStartTagEvent = std::function<void(TCustomEventScanner& Sender, const std::string& TagName,
                                            const TAttrList& Attributes)>;
  using TEndTagEvent = std::function<void(TCustomEventScanner& Sender, const std::string& TagName)>;
  using TContentEvent =
      std::function<void(TCustomEventScanner& Sender, const std::string& Content)>;
  using TExternalEvent = std::function<void(
      TCustomEventScanner& Sender, const std::string& SystemId, const std::string& PublicId,
      const std::string& NotationId, std::unique_ptr<TXmlTokenizer>& Result)>;
  using TEncodingEvent = std::function<std::string(
      TCustomEventScanner& Sender, const std::string& CurrentEncoding, const std::string& Source)>;
  using TXmlPrologEvent =
      std::function<void(TCustomEventScanner& Sender, const std::string& Version,
                         const std::string& Encoding, bool Standalone)>;
  using TDtdDeclarationEvent =
      std::function<void(TCustomEventScanner& Sender, const std::string& Name)>;
  using TElemDefEvent = std::function<void(TCustomEventScanner& Sender, const TElemDef& Element)>;
  using TEntityDefEvent =
      std::function<void(TCustomEventScanner& Sender, const TEntityDef& Entity)>;
  using TNotationDefEvent =
      std::function<void(TCustomEventScanner& Sender, const TNotationDef& Notation)>;
  using TDtdErrorEvent = std::function<void(TCustomEventScanner& Sender, TPosition ErrorPosition)>;

  TCustomEventScanner();
  virtual ~TCustomEventScanner();
  TCustomEventScanner(const TCustomEventScanner&) = delete;
  TCustomEventScanner& operator=(const TCustomEventScanner&) = delete;

  // One pass over the loaded document; may be called again for another.
  void Run();

  TScannerTokenizer& Tokenizer() { return *FTokenizer; }
  const TScannerTokenizer& Tokenizer() const { return *FTokenizer; }

  TXmlPrologEvent OnXmlProlog;
  TCommentEvent OnComment;
  TPIEvent OnPI;
  TDtdDeclarationEvent OnDtdDeclaration;
  TStartTagEvent OnStartTag;
  TStartTagEvent OnEmptyTag;
  TEndTagEvent OnEndTag;
  TContentEvent OnContent;
  TContentEvent OnCData;
  TElemDefEvent OnElementDecl;
  TElemDefEvent OnAttListDecl;
  TEntityDefEvent OnEntityDecl;
  TNotationDefEvent OnNotationDecl;
  TDtdErrorEvent OnDtdSyntaxError;
  TExternalEvent OnLoadExternal;
  TEncodingEvent OnTranslateEncoding;

  // A handler sets it to end the current run before the next part.
  bool StopRequested = false;

 protected:
  virtual void FireXmlProlog(const std::string& version, const std::string& encoding,
                             bool standalone);
  virtual void FireComment(const std::string& comment);
  virtual void FirePI(const std::string& target, const std::string& content,
                      const TAttrList& attributes);
  virtual void FireDtdDeclaration(const std::string& name);
  virtual void FireStartTag(const std::string& tagName, const TAttrList& attributes);
  virtual void FireEmptyTag(const std::string& tagName, const TAttrList& attributes);
  virtual void FireEndTag(const std::string& tagName);
  virtual void FireContent(const std::string& content);
  virtual void FireCData(const std::string& content);
  virtual void FireElementDecl(const TElemDef& element);
  virtual void FireAttListDecl(const TElemDef& element);
  virtual void FireEntityDecl(const TEntityDef& entity);
  virtual void FireNotationDecl(const TNotationDef& notation);
  virtual void FireDtdSyntaxError(TPosition errorPosition);

 private:
  friend class TScannerTokenizer;

  std::unique_ptr<TScannerTokenizer> FTokenizer;
  std::string FComment;  // reused for the text of each comment
};

// The scanner the program creates: a file name, white-space normalisation,
// and CDATA sections delivered as ordinary content.
class TXmlEventScanner : public TCustomEventScanner {
 public:
  TXmlEventScanner() = default;

  // Loads the file; a file that cannot be read leaves the scanner empty, and
  // Filename then reads back empty.  Normalize returns to true.
  void SetFilename(const std::string& fileName);
  std::string Filename() const;
  void SetNormalize(bool normalize);
  bool Normalize() const;

 protected:
  void FireCData(const std::string& content) override;
};

}  // namespace brimlow
