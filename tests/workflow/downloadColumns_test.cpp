#include "workflow/downloadColumns.h"

#include <gtest/gtest.h>

#include <limits>

namespace brimlow {
namespace {

TEST(CalendarDay, TheWholePartOfADateTimeNamesTheDay) {
  struct Case {
    const char* shows;
    TDateTime date;
    std::optional<TCalendarDay> day;
  };
  const Case cases[] = {
      {"the origin", 0, TCalendarDay{1899, 12, 30}},
      {"the time does not round up", 39508.999, TCalendarDay{2008, 3, 1}},
      {"before the origin, toward zero", -1.5, TCalendarDay{1899, 12, 29}},
      {"the first day the list can hold", -693593, TCalendarDay{1, 1, 1}},
      {"the last", 2958465.9, TCalendarDay{9999, 12, 31}},
      {"past the year 9999", 2958466, std::nullopt},
      {"before the year 1", -693594, std::nullopt},
      {"no number", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
      {"far away", 1e300, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shows);
    const std::optional<TCalendarDay> day = CalendarDayOf(c.date);
    ASSERT_EQ(day.has_value(), c.day.has_value());
    if (!day) continue;
    EXPECT_EQ(day->year, c.day->year);
    EXPECT_EQ(day->month, c.day->month);
    EXPECT_EQ(day->day, c.day->day);
    // The date fields hand the filter the same day number back.
    EXPECT_EQ(DayNumberOf(*day), static_cast<int64_t>(c.date));
  }
}

}  // namespace
}  // namespace brimlow
