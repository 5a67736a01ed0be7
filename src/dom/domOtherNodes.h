#pragma once

// The node kinds the writing path does not build but the serializer knows:
// entity references, processing instructions, document fragments and
// document type declarations.

#include "dom/domNode.h"

namespace brimlow {

class TDomEntityReference final : public TDomNode {
 public:
  std::u16string_view nodeName() const override { return textOf(FName); }
  const char* className() const override { return "TDomEntityReference"; }

 private:
  TDomEntityReference(TDomString name, uint8_t slots)
      : TDomNode(ntEntity_Reference_Node, slots), FName(name) {}
  ~TDomEntityReference() override;
  TChildLinks* childLinks() override { return &FChildren; }
  TDomString* valueSlot() override { return &FValue; }

  TChildLinks FChildren;
  TDomString FName;
  TDomString FValue;
  friend class TDomCustomDocument;
};

class TDomProcessingInstruction final : public TDomNode {
 public:
  std::u16string_view nodeName() const override { return textOf(FTarget); }
  const char* className() const override { return "TDomProcessingInstruction"; }
  std::u16string_view target() const { return textOf(FTarget); }
  std::u16string_view data() const { return textOf(FData); }

 private:
  TDomProcessingInstruction(TDomString target, uint8_t slots)
      : TDomNode(ntProcessing_Instruction_Node, slots), FTarget(target) {}
  ~TDomProcessingInstruction() override;
  TChildLinks* childLinks() override { return &FChildren; }
  TDomString* valueSlot() override { return &FData; }

  TChildLinks FChildren;
  TDomString FTarget;
  TDomString FData;
  friend class TDomCustomDocument;
};

class TDomDocumentFragment final : public TDomNode {
 public:
  std::u16string_view nodeName() const override { return u"#document-fragment"; }
  const char* className() const override { return "TDomDocumentFragment"; }
  void setNodeValue(std::u16string_view) override {}

 private:
  explicit TDomDocumentFragment(uint8_t slots) : TDomNode(ntDocument_Fragment_Node, slots) {}
  TChildLinks* childLinks() override { return &FChildren; }

  TChildLinks FChildren;
  friend class TDomCustomDocument;
};

class TDomDocumentTypeDecl final : public TDomNode {
 public:
  std::u16string_view nodeName() const override { return textOf(FName); }
  const char* className() const override { return "TDomDocumentTypeDecl"; }
  std::u16string_view name() const { return textOf(FName); }
  std::u16string_view publicId() const { return textOf(FPublicId); }
  std::u16string_view systemId() const { return textOf(FSystemId); }
  std::u16string_view internalSubset() const { return textOf(FInternalSubset); }

 private:
  TDomDocumentTypeDecl(TDomString name, TDomString publicId, TDomString systemId,
                       TDomString internalSubset, uint8_t slots)
      : TDomNode(ntDocument_Type_Decl_Node, slots),
        FName(name),
        FPublicId(publicId),
        FSystemId(systemId),
        FInternalSubset(internalSubset) {}
  ~TDomDocumentTypeDecl() override;
  TChildLinks* childLinks() override { return &FChildren; }
  TDomString* valueSlot() override { return &FValue; }

  TChildLinks FChildren;
  TDomString FName, FPublicId, FSystemId, FInternalSubset, FValue;
  friend class TDomCustomDocument;
};

}  // namespace brimlow
