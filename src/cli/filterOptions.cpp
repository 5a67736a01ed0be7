#include "cli/filterOptions.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <vector>

#include "data/categories.h"
#include "data/convert.h"
#include "data/dateTime.h"
#include "workflow/filterChoices.h"

namespace brimlow::cli {

namespace {

// The words of a choice table, for the option's check and its help.
template <typename Value>
std::vector<std::string> WordsOf(std::span<const TChoice<Value>> choices) {
  std::vector<std::string> words;
  for (const TChoice<Value>& choice : choices)
    words.emplace_back(choice.word);
  return words;
}

// The value a checked word stands for; the first choice's without a word.
template <typename Value>
Value ValueOf(const std::optional<std::string>& word, std::span<const TChoice<Value>> choices) {
  const TChoice<Value>* choice = word ? ChoiceOfWord(choices, *word) : nullptr;
  return choice ? choice->value : choices.front().value;
}

std::string DateCheck(const std::string& text) {
  return dayOfIsoDate(text) ? std::string() : text + " is not a date of the form YYYY-MM-DD";
}

int32_t CategoryId(const std::string& name, const TCategoryList& categories) {
  // The first category of that name, as the window's list shows them.
  for (int i = 0; i < categories.Count(); ++i)
    if (categories[i].Name == name) return categories[i].ID;
  throw UsageError("--category: no category is named " + name);
}

}  // namespace

CLI::Option_group* addFilterOptions(CommandParser& parser, FilterOptions& options) {
  CLI::Option_group* group = parser.add_option_group("Filter", "Which downloads are marked");
  group->add_option("--file", options.file, "Presence of the file on disk")
      ->check(CLI::IsMember(WordsOf(FileChoices())));
  group->add_option("--state", options.state, "The download's state")
      ->check(CLI::IsMember(WordsOf(StateChoices())));
  group->add_option("--category", options.category, "The category of that name, not those below it")
      ->type_name("NAME");
  group->add_option("--size-from", options.sizeFrom, "Size at least this many kilobytes of 1024")
      ->type_name("KB");
  group->add_option("--size-to", options.sizeTo, "Size at most this many kilobytes of 1024")
      ->type_name("KB");
  const CLI::Validator date(DateCheck, "YYYY-MM-DD");
  group->add_option("--date-from", options.dateFrom, "Dated this day or later")->check(date);
  group->add_option("--date-to", options.dateTo, "Dated this day or earlier")->check(date);
  CLI::Option* contains =
      group->add_option("--contains", options.contains, "Contains this text, letter case ignored");
  group->add_option("--in", options.in, "Where --contains looks (default: anywhere)")
      ->check(CLI::IsMember(WordsOf(SearchChoices())))
      ->needs(contains);
  group
      ->add_flag("--duplicates", options.duplicates,
                 "Of each group of repeated downloads (the same address or the same file), all "
                 "but the one kept")
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
  return group;
}

std::optional<int64_t> dayOfIsoDate(std::string_view text) {
  const auto digits = [&text](size_t first, size_t count) {
    return std::all_of(text.begin() + first, text.begin() + first + count,
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  };
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !digits(0, 4) || !digits(5, 2) ||
      !digits(8, 2))
    return std::nullopt;
  const auto number = [&text](size_t first, size_t count) {
    return std::stoi(std::string(text.substr(first, count)));
  };
  try {
    TDateTimeParts parts;
    parts.Year = number(0, 4);
    parts.Month = number(5, 2);
    parts.Day = number(8, 2);
    return static_cast<int64_t>(EncodeDateTime(parts));
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

TFilterInputs filterInputs(const FilterOptions& options, const TCategoryList& categories) {
  TFilterInputs inputs;
  inputs.file = ValueOf(options.file, FileChoices());
  inputs.state = ValueOf(options.state, StateChoices());
  if (options.category) inputs.categoryId = CategoryId(*options.category, categories);
  if (options.sizeFrom) inputs.sizeFrom = std::to_string(*options.sizeFrom);
  if (options.sizeTo) inputs.sizeTo = std::to_string(*options.sizeTo);
  if (options.dateFrom) inputs.dayFrom = dayOfIsoDate(*options.dateFrom);
  if (options.dateTo) inputs.dayTo = dayOfIsoDate(*options.dateTo);
  inputs.searchText = options.contains.value_or(std::string());
  inputs.searchIn = ValueOf(options.in, SearchChoices());
  inputs.duplicatesOnly = options.duplicates;
  return inputs;
}

}  // namespace brimlow::cli
