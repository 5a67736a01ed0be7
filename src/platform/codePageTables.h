#pragma once

// The conversions and the lower-case map of the active 8-bit code page, as
// tables built once, so that the readers and the filter (which convert and
// lower-case every text of a list) pay a table look-up per character.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow::platform {

// The lower case of one character; the character itself when it has none.
using LowerCaseFunction = std::function<char32_t(char32_t)>;

class CodePage {
 public:
  virtual ~CodePage() = default;
  // UTF-16 to the code page; a character the code page lacks becomes "?".
  virtual std::string fromWide(std::u16string_view text) const = 0;
  virtual std::u16string toWide(std::string_view text) const = 0;
  virtual std::string lower(std::string_view text) const = 0;
};

// A code page of one byte per character, described by what each byte stands
// for.  Bytes the code page leaves undefined are best described by their own
// value, so that they round-trip.
class SingleByteCodePage final : public CodePage {
 public:
  SingleByteCodePage(const std::array<char16_t, 256>& toWide, const LowerCaseFunction& lowerCase);

  std::string fromWide(std::u16string_view text) const override;
  std::u16string toWide(std::string_view text) const override;
  std::string lower(std::string_view text) const override;

 private:
  std::array<char16_t, 256> toWide_{};
  // The byte of each UTF-16 unit; 0 marks a unit the code page lacks (except
  // for U+0000 itself).
  std::vector<unsigned char> fromWide_ = std::vector<unsigned char>(0x10000, 0);
  std::array<unsigned char, 256> lower_{};
};

// UTF-8 as the code page.  Bytes that are not well-formed UTF-8 are read as
// their Latin-1 characters and are left alone by lower().
class Utf8CodePage final : public CodePage {
 public:
  explicit Utf8CodePage(const LowerCaseFunction& lowerCase);

  std::string fromWide(std::u16string_view text) const override;
  std::u16string toWide(std::string_view text) const override;
  std::string lower(std::string_view text) const override;

 private:
  std::vector<char16_t> lowerBmp_ = std::vector<char16_t>(0x10000);
  LowerCaseFunction lowerCase_;  // beyond the basic plane, which is rare
};

}  // namespace brimlow::platform
