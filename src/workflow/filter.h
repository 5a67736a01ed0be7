#pragma once

// The filter that marks downloads: the criteria taken from the filter
// controls' values, and the test of one download against them.  Plain code,
// so that it runs and is tested without a window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/download.h"

namespace brimlow {

class TFileStates;

// Missing and Present test files on drives that can be reached; Unreachable
// marks the downloads whose drive or share cannot be reached now.
enum class TFilePresence { Any, Missing, Present, Unreachable };
enum class TSearchField { Anywhere, FileName, Url, Folder, Comment };

// The values of the filter controls as the user left them, typed: each
// window maps its lists' positions to them through the choice tables
// (filterChoices.h).  A day counts days since 30 December 1899.
struct TFilterInputs {
  TFilePresence file = TFilePresence::Any;
  std::optional<uint8_t> state;       // none: any state
  std::optional<int32_t> categoryId;  // the category's ID; none: any category
  std::string sizeFrom;               // kilobytes, as typed
  std::string sizeTo;
  std::optional<int64_t> dayFrom;
  std::optional<int64_t> dayTo;
  std::string searchText;  // in the active code page; empty: no text criterion
  TSearchField searchIn = TSearchField::Anywhere;
  // "Только повторы": of each group of repeated downloads all but the one
  // kept (repeatGroups.h).
  bool duplicatesOnly = false;
  bool operator==(const TFilterInputs&) const = default;
};

struct TFilterCriteria {
  TFilePresence file = TFilePresence::Any;
  std::optional<uint8_t> state;
  std::optional<int32_t> nodeId;
  bool bySize = false;
  int64_t minSize = 0;  // bytes, inclusive
  std::optional<int64_t> maxSize;
  std::optional<TDateTime> notBefore;  // the first moment that passes
  std::optional<TDateTime> before;     // the first moment that fails
  std::optional<TSearchField> searchIn;
  std::string searchLower;  // the search text, lower-cased once
  // Tested by the pass over the whole list (TCleaner::RunFilter), since it
  // depends on the other downloads; Matches leaves it out.
  bool duplicatesOnly = false;
};

// The text of a size field as a count of bytes: a whole, optionally signed
// 64-bit number of kilobytes; any other text counts as 0.  Products beyond the
// 64-bit range stop at its ends.
int64_t KilobyteFieldBytes(std::string_view text);

TFilterCriteria MakeCriteria(const TFilterInputs& inputs);

// True when the criteria test anything at all.
bool TestsAnything(const TFilterCriteria& criteria);

// True when the download meets every criterion, tested in the order file
// presence, state, category, size, date, text; each only while the earlier
// ones pass.  `files` answers for the files of one pass over a list.
bool Matches(const TFilterCriteria& criteria, const Tdownload& download, TFileStates& files);
// The same for one download on its own.
bool Matches(const TFilterCriteria& criteria, const Tdownload& download);

}  // namespace brimlow
