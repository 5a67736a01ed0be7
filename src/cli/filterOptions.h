#pragma once

// The window's filter as options of brimlow-cli clean: one option per
// control, turned into the very inputs the window's controls give, so that
// the same criteria and the same test of each download apply.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "workflow/filter.h"

namespace brimlow {
class TCategoryList;
}

namespace brimlow::cli {

struct FilterOptions {
  std::optional<std::string> file;   // a word of FileChoices()
  std::optional<std::string> state;  // a word of StateChoices()
  std::optional<std::string> category;
  std::optional<int64_t> sizeFrom;  // kilobytes
  std::optional<int64_t> sizeTo;
  std::optional<std::string> dateFrom;  // YYYY-MM-DD
  std::optional<std::string> dateTo;
  std::optional<std::string> contains;
  std::optional<std::string> in;  // a word of SearchChoices()
  bool duplicates = false;        // "Только повторы"
};

// Adds the filter's options to `parser`, all in one option group; answers
// the group, so that other options can exclude it.
CLI::Option_group* addFilterOptions(CommandParser& parser, FilterOptions& options);

// The day a "YYYY-MM-DD" text names, in days since 30 December 1899; none
// when the text is not such a date or the day does not exist.
std::optional<int64_t> dayOfIsoDate(std::string_view text);

// The window's filter inputs for these options.  A category name that none
// of `categories` has is thrown as UsageError.
TFilterInputs filterInputs(const FilterOptions& options, const TCategoryList& categories);

}  // namespace brimlow::cli
