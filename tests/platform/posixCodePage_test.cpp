#include "platform/posix/posixCodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

#include "platform/platform.h"
#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::sameBytes;
using brimlow::platform::testing::ScopedEnvironment;

namespace {

// The suite runs once under LANG=C.UTF-8 and once under LANG=ru_RU.CP1251.
bool underCp1251() {
  const char* lang = std::getenv("LANG");
  return lang != nullptr && std::string_view(lang).find("CP1251") != std::string_view::npos;
}

class CodePage : public ::testing::Test {
 protected:
  void SetUp() override { rereadLocaleEnvironment(); }
  void TearDown() override { rereadLocaleEnvironment(); }
  Platform& os = system();
};

TEST_F(CodePage, TheNumberFollowsTheEnvironment) {
  EXPECT_EQ(os.activeCodePage(), underCp1251() ? 1251u : 65001u);
}

TEST_F(CodePage, WideToAnsi) {
  const std::string privet = underCp1251() ? "\xCF\xF0\xE8\xE2\xE5\xF2"
                                           : "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
  EXPECT_TRUE(sameBytes(privet, os.wideToAnsi(u"Привет")));
  // CP1251 has the euro sign (0x88) but no CJK.
  EXPECT_TRUE(sameBytes(std::string(underCp1251() ? "\x88" : "\xE2\x82\xAC"), os.wideToAnsi(u"€")));
  EXPECT_TRUE(sameBytes(std::string(underCp1251() ? "a?b"
                                                  : "a\xE4\xB8\xAD"
                                                    "b"),
                        os.wideToAnsi(u"a\u4E2Db")));
  EXPECT_TRUE(sameBytes(std::string("?"), os.wideToAnsi(std::u16string(1, char16_t(0xD800)))));
  EXPECT_TRUE(sameBytes(std::string(underCp1251() ? "?" : "\xF0\x9F\x98\x80"),
                        os.wideToAnsi(u"\U0001F600")));
}

TEST_F(CodePage, AnsiToWideIsTheReverse) {
  const std::u16string text = u"Отчет Ёж ABC 1.5 €";
  EXPECT_TRUE(sameBytes(text, os.ansiToWide(os.wideToAnsi(text))));
  // Bytes that are not UTF-8 keep their values under UTF-8; under CP1251 the
  // byte 0xC0 is А.
  EXPECT_TRUE(sameBytes(std::u16string(underCp1251() ? u"\u0410\u0435" : u"\u00C0\u00E5"),
                        os.ansiToWide("\xC0\xE5")));
}

TEST_F(CodePage, LowerCaseMapsCyrillicAndLatin) {
  EXPECT_TRUE(sameBytes(os.wideToAnsi(u"отчет ёлка readme.txt 123"),
                        os.lowerCase(os.wideToAnsi(u"ОТЧЕТ Ёлка ReadMe.TXT 123"))));
}

TEST_F(CodePage, LowerCaseLeavesWhatHasNoLowerCase) {
  const std::string text = os.wideToAnsi(u"отчет-№5_ё");
  EXPECT_TRUE(sameBytes(text, os.lowerCase(text)));
  if (!underCp1251()) {
    EXPECT_TRUE(sameBytes(std::string("a\xC0\xFF\xD0"), os.lowerCase("A\xC0\xFF\xD0")))
        << "bytes that are not UTF-8 pass unchanged";
  }
}

struct EnvironmentCase {
  const char* label;
  const char* lcAll;
  const char* lcCtype;
  const char* lang;
  unsigned number;
  std::string privet;  // Привет in that code page
};

const std::string kUtf8Privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

class CodePageChoice : public ::testing::TestWithParam<EnvironmentCase> {
 protected:
  void TearDown() override { rereadLocaleEnvironment(); }
};

TEST_P(CodePageChoice, IsReadFromTheEnvironment) {
  const EnvironmentCase& c = GetParam();
  const ScopedEnvironment all("LC_ALL",
                              c.lcAll ? std::optional<std::string>(c.lcAll) : std::nullopt);
  const ScopedEnvironment ctype("LC_CTYPE",
                                c.lcCtype ? std::optional<std::string>(c.lcCtype) : std::nullopt);
  const ScopedEnvironment lang("LANG", c.lang ? std::optional<std::string>(c.lang) : std::nullopt);
  rereadLocaleEnvironment();
  EXPECT_EQ(system().activeCodePage(), c.number) << c.label;
  EXPECT_TRUE(sameBytes(c.privet, system().wideToAnsi(u"Привет"))) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageChoice,
    ::testing::Values(
        EnvironmentCase{"no variable", nullptr, nullptr, nullptr, 65001, kUtf8Privet},
        EnvironmentCase{"C", nullptr, nullptr, "C", 65001, kUtf8Privet},
        EnvironmentCase{"POSIX", "POSIX", nullptr, nullptr, 65001, kUtf8Privet},
        EnvironmentCase{"no codeset", nullptr, nullptr, "ru_RU", 65001, kUtf8Privet},
        EnvironmentCase{"utf8 spelling", nullptr, nullptr, "ru_RU.utf8", 65001, kUtf8Privet},
        EnvironmentCase{"a multi-byte codeset", nullptr, nullptr, "ja_JP.EUC-JP", 65001,
                        kUtf8Privet},
        EnvironmentCase{"a codeset iconv lacks", nullptr, nullptr, "xx_XX.NOSUCH", 65001,
                        kUtf8Privet},
        EnvironmentCase{"LANG", nullptr, nullptr, "ru_RU.CP1251", 1251, "\xCF\xF0\xE8\xE2\xE5\xF2"},
        EnvironmentCase{"LC_CTYPE before LANG", nullptr, "ru_RU.KOI8-R", "ru_RU.CP1251", 20866,
                        "\xF0\xD2\xC9\xD7\xC5\xD4"},
        EnvironmentCase{"LC_ALL before both", "ru_RU.ISO-8859-5", "ru_RU.KOI8-R", "C.UTF-8", 28595,
                        "\xBF\xE0\xD8\xD2\xD5\xE2"},
        EnvironmentCase{"an empty LC_ALL does not count", "", nullptr, "ru_RU.CP866", 866,
                        "\x8F\xE0\xA8\xA2\xA5\xE2"},
        EnvironmentCase{"lower-case spelling with modifier", nullptr, nullptr, "ru_RU.koi8r@x",
                        20866, "\xF0\xD2\xC9\xD7\xC5\xD4"}));

TEST(DecimalSeparator, ALocaleThatIsNotInstalledGivesAPoint) {
  const ScopedEnvironment all("LC_ALL", "xx_XX.NOSUCH");
  rereadLocaleEnvironment();
  EXPECT_EQ(system().decimalSeparator(), '.');
  rereadLocaleEnvironment();
}

// Last in this program: the choice cannot be taken back.
TEST(DecimalSeparator, TheProgramsChoiceWins) {
  setDecimalSeparator(',');
  EXPECT_EQ(system().decimalSeparator(), ',');
}

}  // namespace
