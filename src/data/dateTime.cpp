#include "data/dateTime.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "data/convert.h"

namespace brimlow {

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = 1899y / December / 30;
constexpr int kSecondsPerDay = 86400;
// Day numbers of 1 January 0001 and 31 December 9999.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;

[[noreturn]] void ThrowInvalidDate(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid date and time");
}

std::string NumberText(TDateTime value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Reads minDigits to maxDigits decimal digits at `pos`.
bool ReadNumber(std::string_view text, size_t& pos, int minDigits, int maxDigits, int& value) {
  int digits = 0;
  value = 0;
  while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  return digits >= minDigits;
}

bool ReadSeparator(std::string_view text, size_t& pos, char separator) {
  if (pos >= text.size() || text[pos] != separator) return false;
  ++pos;
  return true;
}

bool ParseParts(std::string_view text, TDateTimeParts& parts) {
  size_t pos = 0;
  if (!ReadNumber(text, pos, 1, 2, parts.Month) || !ReadSeparator(text, pos, '/') ||
      !ReadNumber(text, pos, 1, 2, parts.Day) || !ReadSeparator(text, pos, '/') ||
      !ReadNumber(text, pos, 4, 4, parts.Year))
    return false;
  parts.Hour = parts.Minute = parts.Second = 0;
  if (pos == text.size()) return true;
  if (!ReadSeparator(text, pos, ' ') || !ReadNumber(text, pos, 1, 2, parts.Hour)) return false;
  if (ReadSeparator(text, pos, ':')) {
    if (!ReadNumber(text, pos, 1, 2, parts.Minute)) return false;
    if (ReadSeparator(text, pos, ':') && !ReadNumber(text, pos, 1, 2, parts.Second)) return false;
  }
  return pos == text.size();
}

bool IsValid(const TDateTimeParts& parts) {
  const year_month_day date{year{parts.Year}, month{static_cast<unsigned>(parts.Month)},
                            day{static_cast<unsigned>(parts.Day)}};
  return parts.Year >= 1 && parts.Year <= 9999 && date.ok() && parts.Hour >= 0 && parts.Hour < 24 &&
         parts.Minute >= 0 && parts.Minute < 60 && parts.Second >= 0 && parts.Second < 60;
}

TDateTime Encode(const TDateTimeParts& parts) {
  const sys_days date = year{parts.Year} / static_cast<int>(parts.Month) / parts.Day;
  const double days = static_cast<double>((date - kEpoch).count());
  const double time =
      (parts.Hour * 3600 + parts.Minute * 60 + parts.Second) / static_cast<double>(kSecondsPerDay);
  return days < 0 ? days - time : days + time;
}

}  // namespace

TDateTime EncodeDateTime(const TDateTimeParts& parts) {
  if (!IsValid(parts)) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", parts.Month, parts.Day,
                  parts.Year, parts.Hour, parts.Minute, parts.Second);
    ThrowInvalidDate(text);
  }
  return Encode(parts);
}

TDateTimeParts DecodeDateTime(TDateTime value) {
  if (!std::isfinite(value) || value <= kFirstDay - 1 || value >= kLastDay + 1)
    ThrowInvalidDate(NumberText(value));
  int64_t dayNumber = static_cast<int64_t>(std::trunc(value));
  // Milliseconds first, so that a half second stored as 59.4999... rounds up
  // as the written half would.
  const int64_t milliseconds =
      std::llround(std::fabs(value - static_cast<double>(dayNumber)) * kSecondsPerDay * 1000);
  int64_t seconds = (milliseconds + 500) / 1000;
  if (seconds >= kSecondsPerDay) {
    // Rounded up to midnight: the next calendar day, unless there is none.
    if (dayNumber < kLastDay) {
      ++dayNumber;
      seconds = 0;
    } else {
      seconds = kSecondsPerDay - 1;
    }
  }
  const year_month_day date{kEpoch + days{dayNumber}};
  TDateTimeParts parts;
  parts.Year = static_cast<int>(date.year());
  parts.Month = static_cast<int>(static_cast<unsigned>(date.month()));
  parts.Day = static_cast<int>(static_cast<unsigned>(date.day()));
  parts.Hour = static_cast<int>(seconds / 3600);
  parts.Minute = static_cast<int>(seconds / 60 % 60);
  parts.Second = static_cast<int>(seconds % 60);
  return parts;
}

TDateTime StrToDateTime(std::string_view text) {
  TDateTimeParts parts;
  if (!ParseParts(text, parts) || !IsValid(parts)) ThrowInvalidDate(text);
  return Encode(parts);
}

std::string DateTimeToText(TDateTime value) {
  // "MM/dd/yyyy hh:mm:ss", digit by digit: every list save writes one per
  // download, and the year is always 1 to 9999.
  const TDateTimeParts parts = DecodeDateTime(value);
  std::string text = "00/00/0000 00:00:00";
  const auto put = [&text](size_t at, int number, int width) {
    for (size_t i = at + static_cast<size_t>(width); i-- > at; number /= 10)
      text[i] = static_cast<char>('0' + number % 10);
  };
  put(0, parts.Month, 2);
  put(3, parts.Day, 2);
  put(6, parts.Year, 4);
  put(11, parts.Hour, 2);
  put(14, parts.Minute, 2);
  put(17, parts.Second, 2);
  return text;
}

}  // namespace brimlow
