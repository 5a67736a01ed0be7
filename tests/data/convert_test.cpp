#include "data/convert.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

using namespace brimlow;

namespace {

struct IntegerCase {
  const char* label;
  const char* text;
  std::optional<int64_t> value;  // none: the text must be refused
};

std::string InvalidMessage(const char* text) {
  return std::string("'") + text + "' is not a valid integer value";
}

// Runs one row against a converter, checking the message of a refusal.
template <class Convert>
void Check(const IntegerCase& row, Convert convert) {
  SCOPED_TRACE(row.label);
  if (row.value) {
    EXPECT_EQ(static_cast<int64_t>(convert(row.text)), *row.value);
    return;
  }
  try {
    convert(row.text);
    ADD_FAILURE() << "accepted '" << row.text << "'";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.what(), InvalidMessage(row.text));
  }
}

const IntegerCase kInt32Cases[] = {
    {"zero", "0", 0},
    {"plus sign", "+7", 7},
    {"leading zeros", "007", 7},
    {"lowest", "-2147483648", INT32_MIN},
    {"highest", "2147483647", INT32_MAX},
    {"one above the range", "2147483648", std::nullopt},
    {"one below the range", "-2147483649", std::nullopt},
    {"far out of range", "99999999999999999999999", std::nullopt},
    {"empty text", "", std::nullopt},
    {"sign alone", "-", std::nullopt},
    {"two signs", "+-1", std::nullopt},
    {"leading blank", " 1", std::nullopt},
    {"trailing blank", "1 ", std::nullopt},
    {"decimal point", "1.0", std::nullopt},
    {"hexadecimal", "0x10", std::nullopt},
    {"letter", "x", std::nullopt},
};

TEST(StrToInt32, AcceptsSignedDecimalsOfItsRangeOnly) {
  for (const IntegerCase& row : kInt32Cases)
    Check(row, StrToInt32);
}

const IntegerCase kInt64Cases[] = {
    {"five gigabytes", "5368709120", 5368709120},
    {"lowest", "-9223372036854775808", INT64_MIN},
    {"highest", "9223372036854775807", INT64_MAX},
    {"one above the range", "9223372036854775808", std::nullopt},
    {"one below the range", "-9223372036854775809", std::nullopt},
    {"thousands separator", "1,000", std::nullopt},
};

TEST(StrToInt64, AcceptsSignedDecimalsOfItsRangeOnly) {
  for (const IntegerCase& row : kInt64Cases)
    Check(row, StrToInt64);
}

const IntegerCase kIdCases[] = {
    {"highest unsigned, as the writer prints it", "4294967295", 4294967295},
    {"above the signed range", "2147483648", 2147483648},
    {"minus one keeps its bit pattern", "-1", 4294967295},
    {"lowest signed keeps its bit pattern", "-2147483648", 2147483648},
    {"beyond 32 bits", "4294967296", std::nullopt},
    {"below the signed range", "-2147483649", std::nullopt},
};

TEST(StrToDownloadID, AcceptsWhatEitherSignednessOfWriterPrints) {
  for (const IntegerCase& row : kIdCases)
    Check(row, StrToDownloadID);
}

}  // namespace
