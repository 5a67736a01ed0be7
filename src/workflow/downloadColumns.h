#pragma once

// What both windows show of a download list: its four columns with their
// headers, widths and minimums, and the calendar days of the date column and
// the date fields of the filter.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "data/dateTime.h"

namespace brimlow {

enum class TTreeKind { List, Trash };

// The columns in their order: name, state, size, date.
inline constexpr int kDownloadColumnCount = 4;

struct TDownloadColumn {
  const char* header;  // UTF-8
  int width;           // pixels at 96 dots per inch
  int minimum;
};
using TDownloadColumns = std::array<TDownloadColumn, kDownloadColumnCount>;

const TDownloadColumns& DownloadColumns(TTreeKind kind);
// A column's header in the active code page.
std::string ColumnHeader(int column);

struct TCalendarDay {
  int year;
  unsigned month;
  unsigned day;
};

// The day a date-time falls on: its integral part counts the days from
// 30 December 1899, toward zero also before it, as the stored form has it.
// None for a value that is no number or falls outside the years 1 to 9999.
std::optional<TCalendarDay> CalendarDayOf(TDateTime date);
// The filter's day number of a calendar day: days since 30 December 1899.
int64_t DayNumberOf(const TCalendarDay& day);

}  // namespace brimlow
