#pragma once

// Destinations of the output sink: a stream with a position and a write
// operation, and the two in-memory streams behind the serializer's string
// operations.

#include <cstdint>
#include <string>

namespace brimlow::codecs {

class TStream {
 public:
  virtual ~TStream() = default;
  virtual int64_t position() const = 0;
  virtual void setPosition(int64_t position) = 0;
  // Writes `count` bytes at the position and moves it on; returns the number of
  // bytes taken.
  virtual int64_t write(const void* bytes, int64_t count) = 0;
};

// Bytes in an 8-bit string: each write extends the string to the position plus
// the count and copies the bytes there.  The string may be handed in with
// reserved capacity and taken out again without a copy.
class TStringStream final : public TStream {
 public:
  TStringStream() = default;
  explicit TStringStream(std::string initial) : FData(std::move(initial)) {}

  int64_t position() const override { return FPosition; }
  void setPosition(int64_t position) override { FPosition = position; }
  int64_t write(const void* bytes, int64_t count) override;

  const std::string& data() const { return FData; }
  std::string take() { return std::move(FData); }

 private:
  std::string FData;
  int64_t FPosition = 0;
};

// UTF-16 little-endian bytes collected as a wide string; an odd trailing byte
// waits for its partner.
class TWideStringStream final : public TStream {
 public:
  int64_t position() const override { return FPosition; }
  void setPosition(int64_t position) override { FPosition = position; }
  int64_t write(const void* bytes, int64_t count) override;

  // The complete code units written so far.
  std::u16string data() const;

 private:
  std::string FBytes;
  int64_t FPosition = 0;
};

}  // namespace brimlow::codecs
