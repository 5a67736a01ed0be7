#pragma once

// Character data: text nodes, CDATA sections and comments, whose data is the
// node value.

#include "dom/domNode.h"

namespace brimlow {

class TDomCharacterData : public TDomNode {
 public:
  const char* className() const override { return "TDomCharacterData"; }
  std::u16string_view data() const { return textOf(FData); }
  std::u16string_view nodeValue() const override { return textOf(FData); }
  // Read-only check, then the data becomes data + text and the change is
  // reported.
  void appendData(std::u16string_view text);

 protected:
  TDomCharacterData(TDomNodeType type, uint8_t slots) : TDomNode(type, slots) {}
  ~TDomCharacterData() override;
  TDomString* valueSlot() override { return &FData; }

  TDomString FData;
};

class TDomText : public TDomCharacterData {
 public:
  std::u16string_view nodeName() const override { return u"#text"; }
  const char* className() const override { return "TDomText"; }
  // Carried along by normalize and the serializer; nothing on the writing path
  // sets it.
  bool flag() const { return (FFlags & flagText) != 0; }
  void setFlag(bool flag) { setFlagBit(flagText, flag); }

 protected:
  TDomText(TDomNodeType type, uint8_t slots) : TDomCharacterData(type, slots) {}
  explicit TDomText(uint8_t slots) : TDomCharacterData(ntText_Node, slots) {}
  friend class TDomCustomDocument;
};

class TDomCDATASection final : public TDomText {
 public:
  std::u16string_view nodeName() const override { return u"#cdata-section"; }
  const char* className() const override { return "TDomCDATASection"; }

 private:
  explicit TDomCDATASection(uint8_t slots) : TDomText(ntCDATA_Section_Node, slots) {}
  friend class TDomCustomDocument;
};

class TDomComment final : public TDomCharacterData {
 public:
  std::u16string_view nodeName() const override { return u"#comment"; }
  const char* className() const override { return "TDomComment"; }

 private:
  explicit TDomComment(uint8_t slots) : TDomCharacterData(ntComment_Node, slots) {}
  friend class TDomCustomDocument;
};

}  // namespace brimlow
