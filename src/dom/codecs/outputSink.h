#pragma once

// The output sink: a buffer in front of a destination stream, and the codec
// that turns each character into bytes for it.  UTF-8, the encoding the
// program writes, is encoded straight into the buffer.

#include <cstdint>
#include <memory>

#include "dom/codecs/codecs.h"
#include "dom/codecs/stream.h"

namespace brimlow::codecs {

class TBufferedOutputStream {
 public:
  // Fails with EOutputStreamError "Stream not specified." without a
  // destination.
  TBufferedOutputStream(TStream* destination, int64_t bufferSize);
  // Hands over what is still buffered; a destination failure here is lost, so
  // callers that care flush first.
  virtual ~TBufferedOutputStream();
  TBufferedOutputStream(const TBufferedOutputStream&) = delete;
  TBufferedOutputStream& operator=(const TBufferedOutputStream&) = delete;

  // Bytes written since construction.
  int64_t position() const;
  void setPosition(int64_t position);
  void write(const void* bytes, int64_t count);
  // Hands the buffered bytes to the destination; the count it reported.
  int64_t flush();

 protected:
  void putByte(uint8_t byte) {
    if (FBufferedCount == FBufferSize) flush();
    FBuffer[static_cast<size_t>(FBufferedCount++)] = byte;
  }

  TStream* FDestination;
  int64_t FStartPosition;
  std::unique_ptr<uint8_t[]> FBuffer;
  int64_t FBufferedCount = 0;
  int64_t FBufferSize;
};

class TOutputSink final : public TBufferedOutputStream {
 public:
  // Starts with the UTF-8 codec and CR LF line ends.
  TOutputSink(TStream* destination, int64_t bufferSize);
  ~TOutputSink() override;

  TCodecClass codecClass() const;
  TLineFeedOption lineFeedOption() const { return FLineFeedOption; }
  // Replaces the codec and keeps the line-feed option; none leaves no codec.
  void setCodecClass(TCodecClass codecClass);
  void setLineFeedOption(TLineFeedOption option);

  // Encodes one code point; the number of bytes produced.
  int writeCharacter(char32_t codePoint) {
    if (FUtf8 && codePoint < 0x80 && codePoint != U'\n') {
      putByte(static_cast<uint8_t>(codePoint));
      return 1;
    }
    return writeOtherCharacter(codePoint);
  }

  // Room straight in the buffer for bytes that need no codec, while
  // asciiTransparent(): at least one byte, the buffer being flushed first
  // when it is full, exactly as a byte written one by one would flush it.
  // commit() then counts the bytes put there.
  uint8_t* room(size_t& size) {
    if (FBufferedCount == FBufferSize) flush();
    size = static_cast<size_t>(FBufferSize - FBufferedCount);
    return FBuffer.get() + FBufferedCount;
  }
  void commit(size_t count) { FBufferedCount += static_cast<int64_t>(count); }

  // True when the codec writes each character below 80 hexadecimal as that
  // one byte, so runs of them can go through writeAsciiRun.
  bool asciiTransparent() const { return FUtf8; }
  // Code units below 80 hexadecimal, none a line feed; only while
  // asciiTransparent().  Same bytes and blocks as one writeCharacter each.
  void writeAsciiRun(const char16_t* units, size_t count);

 private:
  static void byteCallback(void* context, const uint8_t* bytes, int count);
  int writeOtherCharacter(char32_t codePoint);

  std::unique_ptr<TCustomCodec> FCodec;
  // The codec's option, kept here too for the serializer's fast path; CR LF
  // without a codec.
  TLineFeedOption FLineFeedOption = lwCRLF;
  bool FUtf8 = false;
};

}  // namespace brimlow::codecs
