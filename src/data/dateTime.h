#pragma once

// The date-time of the list files: days since 30 December 1899 00:00 as a
// double, read and written as "MM/dd/yyyy hh:mm:ss".
//
// Days before 30 December 1899 are negative; their fraction is still the time
// of day, counted away from zero (-1.25 is 29 December 1899 06:00), so that
// the whole part always names the calendar day.

#include <string>
#include <string_view>

namespace brimlow {

using TDateTime = double;

struct TDateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// Fails with EConvertError "'%s' is not a valid date and time" when a part is
// out of its range or the day does not exist in that month.
TDateTime EncodeDateTime(const TDateTimeParts& parts);

// Rounded to the nearest second; a time that rounds up to midnight moves to
// the next day.  Fails with EConvertError for a value outside the years 1 to
// 9999 (or not a number at all).
TDateTimeParts DecodeDateTime(TDateTime value);

// Reads "M/d/yyyy[ h[:m[:s]]]": month and day first, one or two digits for
// every part but the four-digit year; a missing time is 00:00:00.  Fails with
// EConvertError "'%s' is not a valid date and time".
TDateTime StrToDateTime(std::string_view text);

// "MM/dd/yyyy hh:mm:ss" with "/" and ":" whatever the locale; 0 gives
// "12/30/1899 00:00:00".
std::string DateTimeToText(TDateTime value);

}  // namespace brimlow
