#include "workflow/downloadColumns.h"

#include <chrono>
#include <cmath>

#include "workflow/workflowText.h"

namespace brimlow {

namespace {

constexpr TDownloadColumns kListColumns = {
    {{"Имя", 140, 100}, {"", 20, 20}, {"Размер", 60, 60}, {"Дата", 65, 65}}};
constexpr TDownloadColumns kTrashColumns = {
    {{"Имя", 140, 100}, {"", 20, 20}, {"Размер", 60, 60}, {"Дата", 60, 60}}};

// Beyond the years 1 to 9999 either way; a day count this size fits an int.
constexpr double kMaxDayMagnitude = 3.7e6;

constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / std::chrono::December / 30};

}  // namespace

const TDownloadColumns& DownloadColumns(TTreeKind kind) {
  return kind == TTreeKind::List ? kListColumns : kTrashColumns;
}

std::string ColumnHeader(int column) {
  if (column < 0 || column >= kDownloadColumnCount) return {};
  return AnsiText(kListColumns[static_cast<size_t>(column)].header);
}

std::optional<TCalendarDay> CalendarDayOf(TDateTime date) {
  if (!std::isfinite(date) || std::fabs(date) > kMaxDayMagnitude) return std::nullopt;
  const std::chrono::year_month_day day{kDayZero +
                                        std::chrono::days{static_cast<int>(std::trunc(date))}};
  // The years the list's date form can hold.
  if (day.year() < std::chrono::year{1} || day.year() > std::chrono::year{9999})
    return std::nullopt;
  return TCalendarDay{int(day.year()), unsigned(day.month()), unsigned(day.day())};
}

int64_t DayNumberOf(const TCalendarDay& day) {
  const std::chrono::year_month_day date{std::chrono::year{day.year}, std::chrono::month{day.month},
                                         std::chrono::day{day.day}};
  return (std::chrono::sys_days{date} - kDayZero).count();
}

}  // namespace brimlow
