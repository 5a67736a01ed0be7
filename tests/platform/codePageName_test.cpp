#include "platform/codePageName.h"

#include <gtest/gtest.h>

using namespace brimlow::platform;

namespace {

TEST(CtypeLocaleName, TakesTheFirstNonEmptyVariable) {
  EXPECT_EQ(ctypeLocaleName("ru_RU.CP1251", "de_DE.UTF-8", "C"), "ru_RU.CP1251");
  EXPECT_EQ(ctypeLocaleName("", "ru_RU.KOI8-R", "C.UTF-8"), "ru_RU.KOI8-R");
  EXPECT_EQ(ctypeLocaleName(nullptr, "", "ru_RU.CP1251"), "ru_RU.CP1251");
  EXPECT_EQ(ctypeLocaleName(nullptr, nullptr, nullptr), "");
}

struct CodesetCase {
  const char* label;
  const char* locale;
  const char* codeset;
};

class CodesetTest : public ::testing::TestWithParam<CodesetCase> {};

TEST_P(CodesetTest, IsTheDottedPart) {
  EXPECT_EQ(codesetOf(GetParam().locale), GetParam().codeset) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodesetTest,
    ::testing::Values(CodesetCase{"plain", "ru_RU.CP1251", "CP1251"},
                      CodesetCase{"modifier cut off", "be_BY.CP1251@latin", "CP1251"},
                      CodesetCase{"modifier without codeset", "ru_RU@euro", ""},
                      CodesetCase{"no codeset", "ru_RU", ""}, CodesetCase{"C", "C", ""},
                      CodesetCase{"C.UTF-8", "C.UTF-8", "UTF-8"},
                      CodesetCase{"dashes kept", "ru_RU.ISO-8859-5", "ISO-8859-5"}));

TEST(Utf8Codeset, AcceptsBothSpellingsInAnyCase) {
  EXPECT_TRUE(isUtf8Codeset("UTF-8"));
  EXPECT_TRUE(isUtf8Codeset("utf8"));
  EXPECT_TRUE(isUtf8Codeset("Utf-8"));
  EXPECT_FALSE(isUtf8Codeset("UTF-16"));
  EXPECT_FALSE(isUtf8Codeset("CP1251"));
  EXPECT_FALSE(isUtf8Codeset(""));
}

struct NumberCase {
  const char* codeset;
  unsigned number;
};

class CodePageNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(CodePageNumberTest, IsTheWindowsNumber) {
  EXPECT_EQ(windowsCodePageNumber(GetParam().codeset), GetParam().number) << GetParam().codeset;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageNumberTest,
    ::testing::Values(NumberCase{"CP1251", 1251}, NumberCase{"cp1251", 1251},
                      NumberCase{"WINDOWS-1251", 1251}, NumberCase{"CP1252", 1252},
                      NumberCase{"KOI8-R", 20866}, NumberCase{"koi8r", 20866},
                      NumberCase{"KOI8-U", 21866}, NumberCase{"ISO-8859-5", 28595},
                      NumberCase{"iso88595", 28595}, NumberCase{"ISO_8859-15", 28605},
                      NumberCase{"CP866", 866}, NumberCase{"IBM866", 866},
                      NumberCase{"UTF-8", 65001}, NumberCase{"ARMSCII-8", 0}, NumberCase{"", 0}));

}  // namespace
