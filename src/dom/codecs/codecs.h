#pragma once

// Codecs turn one character into the bytes of an encoding and deliver them
// through their byte-output event.  A codec class is a constant record naming
// the class, creating instances and pointing at its encoding description.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace brimlow::codecs {

enum TLineFeedOption : uint8_t { lwLF, lwCR, lwCRLF };

enum TByteOrderMark : uint8_t { bomUTF8, bomUTF16, bomUCS2 };

// A set of TByteOrderMark values.
class TByteOrderMarkSet {
 public:
  constexpr TByteOrderMarkSet() = default;
  constexpr TByteOrderMarkSet(std::initializer_list<TByteOrderMark> marks) {
    for (auto mark : marks)
      FBits = static_cast<uint8_t>(FBits | (1u << mark));
  }
  constexpr bool contains(TByteOrderMark mark) const { return (FBits >> mark) & 1u; }
  constexpr bool operator==(const TByteOrderMarkSet&) const = default;

 private:
  uint8_t FBits = 0;
};

// The names and numbers of one encoding, as class-level data.
class TEncodingDescription {
 public:
  constexpr TEncodingDescription(std::span<const char* const> names, const char* registeredName,
                                 int mibEnum, const char* preferredMimeName)
      : FNames(names),
        FRegisteredName(registeredName),
        FMibEnum(mibEnum),
        FPreferredMimeName(preferredMimeName) {}

  // Fails with EAccessViolation "Index out of range" beyond the last name.
  std::string_view name(int index) const;
  int nameCount() const { return static_cast<int>(FNames.size()); }
  std::string_view registeredName() const { return FRegisteredName; }
  int mibEnum() const { return FMibEnum; }
  std::string_view preferredMimeName() const { return FPreferredMimeName; }

 private:
  std::span<const char* const> FNames;
  const char* FRegisteredName;
  int FMibEnum;
  const char* FPreferredMimeName;
};

class TCustomCodec;

struct TCodecClassInfo {
  const char* className;
  std::unique_ptr<TCustomCodec> (*create)();
  const TEncodingDescription* description;  // none: the class cannot be found by name
};
using TCodecClass = const TCodecClassInfo*;

// Where a codec delivers the bytes of each character.
using TByteOutputEvent = void (*)(void* context, const uint8_t* bytes, int count);

class TCustomCodec {
 public:
  virtual ~TCustomCodec() = default;
  TCustomCodec(const TCustomCodec&) = delete;
  TCustomCodec& operator=(const TCustomCodec&) = delete;

  virtual TCodecClass codecClass() const = 0;
  const TEncodingDescription* encodingDescription() const { return codecClass()->description; }

  TLineFeedOption lineFeedOption() const { return FLineFeedOption; }
  void setLineFeedOption(TLineFeedOption option) { FLineFeedOption = option; }
  void setByteOutput(TByteOutputEvent event, void* context) {
    FOnByteOutput = event;
    FByteOutputContext = context;
  }

  // Delivers the bytes of one code point and returns their count; fails with
  // EConvertError when the encoding has no bytes for it.
  virtual int encodeCharacter(char32_t codePoint) = 0;
  // The bytes of a whole wide string, code unit by code unit.
  std::string encodeString(std::u16string_view text);
  // A line feed becomes the line-end sequence of the option; anything else is
  // encoded as it is.
  virtual int writeCharacter(char32_t codePoint);

 protected:
  TCustomCodec() = default;
  int emit(const uint8_t* bytes, int count);

 private:
  TByteOutputEvent FOnByteOutput = nullptr;
  void* FByteOutputContext = nullptr;
  TLineFeedOption FLineFeedOption = lwLF;
};

// The UTF-8 bytes of a code point up to 1FFFFF into `out`; their count.
// Fails with EConvertError above that.
int encodeUtf8(char32_t codePoint, uint8_t out[4]);

class TUtf8Codec final : public TCustomCodec {
 public:
  static const TCodecClassInfo classInfo;
  TCodecClass codecClass() const override { return &classInfo; }
  int encodeCharacter(char32_t codePoint) override;
  int writeCharacter(char32_t codePoint) override;
};

class TUtf16BECodec final : public TCustomCodec {
 public:
  static const TCodecClassInfo classInfo;
  TCodecClass codecClass() const override { return &classInfo; }
  int encodeCharacter(char32_t codePoint) override;
};

class TUtf16LECodec final : public TCustomCodec {
 public:
  static const TCodecClassInfo classInfo;
  TCodecClass codecClass() const override { return &classInfo; }
  int encodeCharacter(char32_t codePoint) override;
};

class TUsAsciiCodec final : public TCustomCodec {
 public:
  static const TCodecClassInfo classInfo;
  TCodecClass codecClass() const override { return &classInfo; }
  int encodeCharacter(char32_t codePoint) override;
};

}  // namespace brimlow::codecs
