#include "dom/domSerializer.h"

#include "dom/codecs/codecErrors.h"
#include "dom/codecs/outputSink.h"
#include "dom/domErrors.h"

namespace brimlow {

std::u16string_view codePageEncodingName(unsigned codePage) {
  switch (codePage) {
    case 874: return u"cp874";
    case 932: return u"cp932";
    case 936: return u"cp936";
    case 949: return u"cp949";
    case 950: return u"cp950";
    case 1200: return u"ISO-10646-UCS-2";
    case 1250: return u"windows-1250";
    case 1251: return u"windows-1251";
    case 1252: return u"windows-1252";
    case 1253: return u"windows-1253";
    case 1254: return u"windows-1254";
    case 1255: return u"windows-1255";
    case 1256: return u"windows-1256";
    case 1257: return u"windows-1257";
    default: return {};
  }
}

TDomSerializer::TDomSerializer(TDomComponent* owner)
    : TCustomSerializer(owner),
      FReader(new TDomTreeReader(this)),
      FBuilder(new TXmlTextBuilder(this)) {
  FReader->NextHandler = FBuilder;
}

void TDomSerializer::setDOMImpl(TDomImplementation* implementation) {
  if (FDOMImpl == implementation) return;
  if (FDOMImpl) removeFreeNotification(FDOMImpl);
  FDOMImpl = implementation;
  if (FDOMImpl) freeNotification(FDOMImpl);
}

void TDomSerializer::notification(TDomComponent* component) {
  if (component == FDOMImpl) FDOMImpl = nullptr;
}

void TDomSerializer::setBufferSize(int size) {
  if (size < 1024) throw ENot_Supported_Err("BufferSize must not be less than 1024.");
  FBufferSize = size;
}

bool TDomSerializer::writeToStream(TDomNode* node, std::u16string_view encoding,
                                   codecs::TStream* destination) {
  if (!FDOMImpl) throw codecs::EAccessViolation("DOMImplementation not specified.");
  if (!destination) throw codecs::EAccessViolation("Destination stream not specified.");
  if (!node) throw codecs::EAccessViolation("Source node not specified.");
  FReader->setDOMImpl(FDOMImpl);
  if (FUseActiveCodePage) encoding = codePageEncodingName(ActiveCodePage ? ActiveCodePage() : 0);
  FBuilder->setEncoding(encoding);

  // Freeing the sink at the end hands its last buffered bytes over.
  codecs::TOutputSink sink(destination, FBufferSize);
  sink.setLineFeedOption(FWriteLFOption);
  FBuilder->attachSink(&sink);
  bool result = false;
  try {
    result = FReader->parse(node);
  } catch (...) {
    FBuilder->detachSink();
    throw;
  }
  FBuilder->detachSink();
  return result;
}

bool TDomSerializer::writeToString(TDomNode* node, std::u16string_view encoding,
                                   std::string& bytes) {
  bytes.clear();
  codecs::TStringStream stream;
  bool result = false;
  try {
    result = writeToStream(node, encoding, &stream);
  } catch (...) {
    bytes = stream.take();
    throw;
  }
  bytes = stream.take();
  return result;
}

bool TDomSerializer::writeToWideString(TDomNode* node, std::u16string& text) {
  text.clear();
  codecs::TWideStringStream stream;
  bool result = false;
  try {
    result = writeToStream(node, u"UTF-16LE", &stream);
  } catch (...) {
    text = stream.data();
    throw;
  }
  text = stream.data();
  return result;
}

}  // namespace brimlow
