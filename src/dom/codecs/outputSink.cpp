#include "dom/codecs/outputSink.h"

#include <algorithm>
#include <cstring>

#include "dom/codecs/codecErrors.h"

namespace brimlow::codecs {

namespace {

TStream* requireDestination(TStream* destination) {
  if (!destination) throw EOutputStreamError("Stream not specified.");
  return destination;
}

}  // namespace

TBufferedOutputStream::TBufferedOutputStream(TStream* destination, int64_t bufferSize)
    : FDestination(requireDestination(destination)),
      FStartPosition(destination->position()),
      FBuffer(new uint8_t[static_cast<size_t>(bufferSize)]),
      FBufferSize(bufferSize) {}

TBufferedOutputStream::~TBufferedOutputStream() {
  try {
    flush();
  } catch (...) {
  }
}

int64_t TBufferedOutputStream::position() const {
  return FDestination->position() + FBufferedCount - FStartPosition;
}

void TBufferedOutputStream::setPosition(int64_t position) {
  flush();
  FDestination->setPosition(FStartPosition + position);
}

void TBufferedOutputStream::write(const void* bytes, int64_t count) {
  if (count <= 0) return;
  if (FBufferedCount + count > FBufferSize) flush();
  if (count > FBufferSize) {
    FDestination->write(bytes, count);
    return;
  }
  std::memcpy(FBuffer.get() + FBufferedCount, bytes, static_cast<size_t>(count));
  FBufferedCount += count;
}

int64_t TBufferedOutputStream::flush() {
  if (FBufferedCount == 0) return 0;
  const int64_t count = FBufferedCount;
  FBufferedCount = 0;
  return FDestination->write(FBuffer.get(), count);
}

TOutputSink::TOutputSink(TStream* destination, int64_t bufferSize)
    : TBufferedOutputStream(destination, bufferSize) {
  setCodecClass(&TUtf8Codec::classInfo);
}

TOutputSink::~TOutputSink() {
  FCodec.reset();
}

TCodecClass TOutputSink::codecClass() const {
  return FCodec ? FCodec->codecClass() : nullptr;
}

void TOutputSink::setCodecClass(TCodecClass codecClass) {
  FCodec.reset();
  FUtf8 = false;
  if (!codecClass) {
    FLineFeedOption = lwCRLF;
    return;
  }
  FCodec = codecClass->create();
  FCodec->setByteOutput(&TOutputSink::byteCallback, this);
  FCodec->setLineFeedOption(FLineFeedOption);
  FUtf8 = codecClass == &TUtf8Codec::classInfo;
}

void TOutputSink::setLineFeedOption(TLineFeedOption option) {
  if (!FCodec) return;
  FLineFeedOption = option;
  FCodec->setLineFeedOption(option);
}

void TOutputSink::byteCallback(void* context, const uint8_t* bytes, int count) {
  static_cast<TOutputSink*>(context)->write(bytes, count);
}

int TOutputSink::writeOtherCharacter(char32_t codePoint) {
  if (!FUtf8) return FCodec ? FCodec->writeCharacter(codePoint) : 0;
  if (codePoint == U'\n') {
    switch (FLineFeedOption) {
      case lwLF: putByte(0x0A); return 1;
      case lwCR: putByte(0x0D); return 1;
      case lwCRLF:
        putByte(0x0D);
        putByte(0x0A);
        return 2;
    }
  }
  uint8_t bytes[4];
  const int count = encodeUtf8(codePoint, bytes);
  write(bytes, count);
  return count;
}

void TOutputSink::writeAsciiRun(const char16_t* units, size_t count) {
  while (count > 0) {
    if (FBufferedCount == FBufferSize) flush();
    const size_t room = static_cast<size_t>(FBufferSize - FBufferedCount);
    const size_t take = std::min(room, count);
    uint8_t* out = FBuffer.get() + FBufferedCount;
    for (size_t i = 0; i < take; ++i)
      out[i] = static_cast<uint8_t>(units[i]);
    FBufferedCount += static_cast<int64_t>(take);
    units += take;
    count -= take;
  }
}

}  // namespace brimlow::codecs
