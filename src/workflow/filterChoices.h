#pragma once

// The filter's choice lists as data: for each choice its caption in the
// window, the word brimlow-cli clean takes for it, and the value it stands
// for.  Both windows fill their lists from these tables and the command line
// parses its words from them, so a choice is added in one place.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "workflow/filter.h"

namespace brimlow {

template <typename Value>
struct TChoice {
  std::string_view caption;  // UTF-8
  std::string_view word;
  Value value;
};

using TFileChoice = TChoice<TFilePresence>;
using TStateChoice = TChoice<std::optional<uint8_t>>;
using TSearchChoice = TChoice<TSearchField>;

// "Любые", "Отсутствует файл на диске", "Присутствует файл на диске",
// "Диск недоступен".
std::span<const TFileChoice> FileChoices();
// "Любое", then the five named states.
std::span<const TStateChoice> StateChoices();
// "Любом месте", then the four fields.
std::span<const TSearchChoice> SearchChoices();

// The category list's first choice, before the categories themselves.
inline constexpr std::string_view kAnyCategoryCaption = "Любая";

// The value of the choice at `index` of a list filled from `choices`; the
// first choice's when nothing is chosen (-1) or the index is out of range.
template <typename Value>
Value ChoiceValue(std::span<const TChoice<Value>> choices, int index) {
  const bool inside = index >= 0 && static_cast<size_t>(index) < choices.size();
  return choices[inside ? static_cast<size_t>(index) : 0].value;
}

// The position of the choice with that value; 0 when none has it.
template <typename Value>
int ChoiceIndex(std::span<const TChoice<Value>> choices, const Value& value) {
  for (size_t i = 0; i < choices.size(); ++i)
    if (choices[i].value == value) return static_cast<int>(i);
  return 0;
}

// The choice that `word` names; none for a word of no choice.
template <typename Value>
const TChoice<Value>* ChoiceOfWord(std::span<const TChoice<Value>> choices, std::string_view word) {
  for (const TChoice<Value>& choice : choices)
    if (choice.word == word) return &choice;
  return nullptr;
}

}  // namespace brimlow
