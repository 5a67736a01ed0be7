#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

#include "platform/platform.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::sameBytes;

namespace {

bool russianLocale() {
  const char* lang = std::getenv("LANG");
  return lang != nullptr && std::string_view(lang).starts_with("ru_RU");
}

TEST(Win32CodePage, IsTheSystemsActiveCodePage) {
  // The Russian run exists to exercise code page 1251: make sure it does.
  if (russianLocale()) {
    EXPECT_EQ(::GetACP(), 1251u);
  }
  EXPECT_EQ(system().activeCodePage(), ::GetACP());
}

TEST(Win32CodePage, EverySingleByteSurvivesTheRoundTrip) {
  CPINFO info{};
  ASSERT_TRUE(::GetCPInfo(CP_ACP, &info));
  if (info.MaxCharSize != 1) GTEST_SKIP() << "not a single-byte code page";
  std::string all(256, '\0');
  for (int byte = 0; byte < 256; ++byte)
    all[static_cast<size_t>(byte)] = static_cast<char>(byte);
  const std::u16string wide = system().ansiToWide(all);
  EXPECT_EQ(wide.size(), 256u);
  EXPECT_TRUE(sameBytes(all, system().wideToAnsi(wide)));
}

struct ToAnsiCase {
  const char* label;
  std::u16string wide;
  std::string ansi;
};

class Cp1251 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1251) GTEST_SKIP() << "needs code page 1251 (LANG=ru_RU.UTF-8 under Wine)";
  }
};

TEST_F(Cp1251, WideToAnsi) {
  const ToAnsiCase cases[] = {
      {"Cyrillic", u"Привет, Мир", "\xCF\xF0\xE8\xE2\xE5\xF2, \xCC\xE8\xF0"},
      {"yo and the quotes", u"Ёё «»", "\xA8\xB8 \xAB\xBB"},
      {"a character the code page lacks", u"a\u4E2Db", "a?b"},
      {"no look-alike for a Latin letter with an accent", u"caf\u00E9", "caf?"},
      {"no look-alike for a wide backslash", u"..\uFF3Cx", "..?x"},
      {"an unpaired surrogate", std::u16string(u"a") + char16_t(0xD800) + u"b", "a?b"},
      {"a zero inside", std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
      {"nothing", u"", ""},
  };
  for (const ToAnsiCase& c : cases)
    EXPECT_TRUE(sameBytes(c.ansi, system().wideToAnsi(c.wide))) << c.label;
}

TEST_F(Cp1251, AnsiToWide) {
  EXPECT_EQ(system().ansiToWide("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8 \xB9"), u"Привет Ёё №");
  EXPECT_EQ(system().ansiToWide(std::string("x\0y", 3)), std::u16string(u"x\0y", 3));
  EXPECT_EQ(system().ansiToWide(""), u"");
}

TEST_F(Cp1251, LowerCaseOfCyrillicAndLatin) {
  EXPECT_TRUE(sameBytes(system().wideToAnsi(u"привет, мир! abc ё 123"),
                        system().lowerCase(system().wideToAnsi(u"ПРИВЕТ, Мир! ABC Ё 123"))));
  // Every capital of the code page has its small letter, and small letters
  // stay as they are.
  const std::string capitals = system().wideToAnsi(u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  const std::string smalls = system().wideToAnsi(u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
  EXPECT_TRUE(sameBytes(smalls, system().lowerCase(capitals)));
  EXPECT_TRUE(sameBytes(smalls, system().lowerCase(smalls)));
}

TEST(Win32CodePage, LowerCaseKeepsTheLengthAndTheNonLetters) {
  const std::string text("A\0Z[`{~09", 9);
  EXPECT_TRUE(sameBytes(std::string("a\0z[`{~09", 9), system().lowerCase(text)));
}

TEST(Win32Locale, TheDecimalSeparatorIsTheUsers) {
  // Wine keeps one user locale for the whole prefix, which a run under
  // another language may change at any time: the locale is asked right
  // before the separator's first use, which takes it.
  char expected[8] = {};
  ASSERT_EQ(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, expected, sizeof expected), 2);
  EXPECT_EQ(system().decimalSeparator(), expected[0]);
}

}  // namespace
