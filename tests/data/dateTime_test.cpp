#include "data/dateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data/convert.h"

using namespace brimlow;

namespace {

constexpr double kSecond = 1.0 / 86400;

struct ReadCase {
  const char* label;
  const char* text;
  const char* written;  // the value as the writer prints it
};

const ReadCase kReadCases[] = {
    {"full form", "12/31/2008 23:59:59", "12/31/2008 23:59:59"},
    {"missing time is midnight", "12/31/2008", "12/31/2008 00:00:00"},
    {"one-digit month and day, no seconds", "3/7/2008 14:05", "03/07/2008 14:05:00"},
    {"hours only", "1/1/2009 7", "01/01/2009 07:00:00"},
    {"one-digit time parts", "2/29/2008 1:2:3", "02/29/2008 01:02:03"},
    {"leap day of a century leap year", "02/29/2000 12:00:00", "02/29/2000 12:00:00"},
    {"the zero date", "12/30/1899 00:00:00", "12/30/1899 00:00:00"},
    {"the day before the zero date", "12/29/1899 06:00:00", "12/29/1899 06:00:00"},
    {"first representable day", "01/01/0001 00:00:00", "01/01/0001 00:00:00"},
    {"last representable second", "12/31/9999 23:59:59", "12/31/9999 23:59:59"},
};

TEST(StrToDateTime, ReadsTheListFormAndItsLeniencies) {
  for (const ReadCase& row : kReadCases) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(DateTimeToText(StrToDateTime(row.text)), row.written);
  }
}

TEST(StrToDateTime, CountsDaysFromTheEndOf1899) {
  EXPECT_EQ(StrToDateTime("12/30/1899"), 0.0);
  EXPECT_EQ(StrToDateTime("01/01/1900"), 2.0);
  EXPECT_DOUBLE_EQ(StrToDateTime("12/31/2008 23:59:59"), 39813 + 86399 * kSecond);
  // Before the zero date the fraction is the time of day away from zero.
  EXPECT_DOUBLE_EQ(StrToDateTime("12/29/1899 06:00"), -1.25);
}

const char* const kInvalidDates[] = {
    "13/01/2008 10:00:00",     // month 13
    "0/1/2008",                // month 0
    "1/0/2008",                // day 0
    "02/29/2009",              // no leap day in 2009
    "02/29/1900",              // nor in 1900
    "04/31/2008",              // April has 30 days
    "12/31/2008 24:00:00",     // hour 24
    "12/31/2008 23:60:00",     // minute 60
    "12/31/2008 23:59:60",     // second 60
    "12/31/08",                // two-digit year
    "01/01/0000",              // year 0
    "12/31/2008 10:00:00 PM",  // 12-hour suffix
    "12/31/2008 10:00:00.5",   // fraction of a second
    "12/31/2008 10:",          // separator without minutes
    "12/31/2008 ",             // blank without a time
    "12/31/2008  10:00",       // two blanks
    "2008-12-31",              // another order
    "123/1/2008",              // three-digit month
    "",                        // nothing
};

TEST(StrToDateTime, RefusesWhatIsNoValidDateAndTime) {
  for (const char* text : kInvalidDates) {
    SCOPED_TRACE(text);
    try {
      StrToDateTime(text);
      ADD_FAILURE() << "accepted";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.what(), std::string("'") + text + "' is not a valid date and time");
    }
  }
}

struct WriteCase {
  const char* label;
  double value;
  const char* expected;
};

const WriteCase kWriteCases[] = {
    {"zero", 0, "12/30/1899 00:00:00"},
    {"just under half a second rounds down", 39813 + 86399 * kSecond + 0.49 * kSecond,
     "12/31/2008 23:59:59"},
    {"half a second rounds up into the next minute", 39813 + 59.5 * kSecond, "12/31/2008 00:01:00"},
    {"rounding up at midnight moves to the next day", 39813 + 86399.6 * kSecond,
     "01/01/2009 00:00:00"},
    {"negative dates keep their time of day", -1.25, "12/29/1899 06:00:00"},
    {"negative date rounding up to midnight", -1 - 86399.7 * kSecond, "12/30/1899 00:00:00"},
    {"last second cannot round into year 10000", 2958465 + 86399.9 * kSecond,
     "12/31/9999 23:59:59"},
};

TEST(DateTimeToText, WritesTwoDigitPartsRoundedToTheSecond) {
  for (const WriteCase& row : kWriteCases) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(DateTimeToText(row.value), row.expected);
  }
}

TEST(DateTimeToText, RefusesValuesOutsideTheCalendar) {
  for (const double value : {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), 2958466.0, -693594.0}) {
    SCOPED_TRACE(value);
    EXPECT_THROW(DateTimeToText(value), EConvertError);
  }
}

TEST(DateTimeToText, EveryWrittenDateReadsBackToItself) {
  // Steps through the whole calendar with a time of day that changes at every
  // step, so that leap years, month ends and negative days are all crossed.
  int seconds = 0;
  for (int64_t day = -693593; day <= 2958465; day += 367) {
    seconds = (seconds + 4007) % 86400;
    const double value = day < 0 ? day - seconds * kSecond : day + seconds * kSecond;
    const std::string text = DateTimeToText(value);
    ASSERT_EQ(DateTimeToText(StrToDateTime(text)), text) << "day " << day;
    ASSERT_NEAR(StrToDateTime(text), value, 1e-6) << text;
  }
}

TEST(EncodeDateTime, RefusesImpossibleParts) {
  EXPECT_THROW(EncodeDateTime({2009, 2, 29, 0, 0, 0}), EConvertError);
  EXPECT_EQ(DecodeDateTime(EncodeDateTime({2008, 2, 29, 13, 4, 5})).Minute, 4);
}

}  // namespace
