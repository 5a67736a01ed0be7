#include "app/ansiText.h"

#include <gtest/gtest.h>

#include "../workflow/fakePlatform.h"

namespace brimlow {
namespace {

// A single-byte code page in which 0xC0..0xFF are the Cyrillic letters А..я,
// as in code page 1251.
class Cyrillic8Bit final : public test::FakePlatform {
 public:
  Cyrillic8Bit() { codePage = 1251; }
  std::u16string ansiToWide(std::string_view text) override {
    std::u16string wide;
    for (unsigned char c : text)
      wide += c >= 0xC0 ? static_cast<char16_t>(0x0410 + (c - 0xC0)) : static_cast<char16_t>(c);
    return wide;
  }
  std::string wideToAnsi(std::u16string_view text) override {
    std::string narrow;
    for (char16_t c : text)
      narrow += c >= 0x0410 && c <= 0x044F ? static_cast<char>(0xC0 + (c - 0x0410))
                : c < 0x80                 ? static_cast<char>(c)
                                           : '?';
    return narrow;
  }
};

TEST(AnsiText, SingleByteCodePageGoesThroughThePlatform) {
  Cyrillic8Bit cyrillic;
  platform::ScopedPlatform scoped(cyrillic);
  EXPECT_EQ(FromAnsi("\xCF\xF0\xE8 1"), QStringLiteral("При 1"));
  EXPECT_EQ(ToAnsi(QStringLiteral("При 1")), "\xCF\xF0\xE8 1");
  EXPECT_EQ(ToAnsi(QStringLiteral("€")), "?") << "a character the code page lacks";
}

TEST(AnsiText, Utf8CodePageIsTakenAsUtf8) {
  test::FakePlatform utf8;
  utf8.codePage = 65001;
  platform::ScopedPlatform scoped(utf8);
  EXPECT_EQ(FromAnsi("\xD0\x9F\xD1\x80\xD0\xB8"), QStringLiteral("При"));
  EXPECT_EQ(ToAnsi(QStringLiteral("При")), "\xD0\x9F\xD1\x80\xD0\xB8");
}

TEST(AnsiText, RoundTripUnderTheSystemsCodePage) {
  const QString text = QStringLiteral("C:\\Загрузки\\отчет.pdf");
  EXPECT_EQ(FromAnsi(ToAnsi(text)), text);
  EXPECT_EQ(FromAnsi(""), QString());
  EXPECT_EQ(ToAnsi(QString()), "");
}

}  // namespace
}  // namespace brimlow
