#pragma once

// Where the space of a list goes: the downloads broken down by category, by
// year, by state or by the state of their files, each row with its count and
// total size and the filter setting that marks the downloads it stands for.
// One pass over the list per breakdown.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workflow/filter.h"

namespace brimlow {

class TCategoryList;
class TDownloadsList;
class TFileStates;

enum class TOverviewAxis { Category, Year, State, File };

struct TOverviewAxisChoice {
  std::string_view caption;  // UTF-8, the window's tab
  std::string_view word;     // brimlow-cli summary --by
  TOverviewAxis axis;
};

// The four breakdowns in the order the windows show them.
std::span<const TOverviewAxisChoice> OverviewAxes();

struct TOverviewRow {
  std::string key;      // in the active code page: a name, a year, a word or a number
  std::string caption;  // UTF-8, as a window shows it
  int count = 0;
  int64_t size = 0;
  // The filter controls' values that mark exactly the row's downloads; none
  // when no setting of the controls stands for the row.
  std::optional<TFilterInputs> filter;
};

struct TOverview {
  std::vector<TOverviewRow> rows;  // biggest size first
  int count = 0;
  int64_t size = 0;
};

// By category: each kept category with the downloads of the categories below
// it in the category file, and a row for downloads of no kept category.  By
// year of Date.  By state: the named states and each other code.  By file:
// present, absent, on a drive that cannot be reached.  Rows without
// downloads are left out.
TOverview MakeOverview(const TDownloadsList& list, const TCategoryList& categories,
                       TOverviewAxis axis, TFileStates& files);

}  // namespace brimlow
