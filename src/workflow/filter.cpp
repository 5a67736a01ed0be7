#include "workflow/filter.h"

#include <array>
#include <charconv>
#include <limits>

#include "data/categories.h"
#include "platform/platform.h"

namespace brimlow {

namespace {

// The state codes the choices of the state list stand for, after "Любое".
constexpr std::array<uint8_t, 5> kStateCodes = {StatePaused, StateComplete, StateDownloading,
                                                StateError, StateScheduled};
constexpr int kSearchChoiceCount = 5;
constexpr int64_t kKilobyte = 1024;

std::optional<int64_t> ParseInteger(std::string_view text) {
  // from_chars takes a minus but no plus.
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (negative) {
    if (magnitude > kMax + 1) return std::nullopt;
    return magnitude == kMax + 1 ? std::numeric_limits<int64_t>::min()
                                 : -static_cast<int64_t>(magnitude);
  }
  if (magnitude > kMax) return std::nullopt;
  return static_cast<int64_t>(magnitude);
}

bool Contains(std::string_view field, const std::string& lowerNeedle) {
  return platform::current().lowerCase(field).find(lowerNeedle) != std::string::npos;
}

bool TextMatches(const TFilterCriteria& criteria, const Tdownload& download) {
  const std::string& needle = criteria.searchLower;
  switch (*criteria.searchIn) {
    case TSearchField::Anywhere:
      return Contains(download.FileName, needle) || Contains(download.URL, needle) ||
             Contains(download.SaveDir, needle) || Contains(download.Comment, needle);
    case TSearchField::FileName: return Contains(download.FileName, needle);
    case TSearchField::Url: return Contains(download.URL, needle);
    case TSearchField::Folder: return Contains(download.SaveDir, needle);
    case TSearchField::Comment: return Contains(download.Comment, needle);
  }
  return false;
}

}  // namespace

int64_t KilobyteFieldBytes(std::string_view text) {
  const int64_t kilobytes = ParseInteger(text).value_or(0);
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / kKilobyte;
  if (kilobytes > kLimit) return std::numeric_limits<int64_t>::max();
  if (kilobytes < -kLimit) return std::numeric_limits<int64_t>::min();
  return kilobytes * kKilobyte;
}

TFilterCriteria MakeCriteria(const TFilterInputs& inputs, const TCategoryList& categories) {
  TFilterCriteria criteria;
  if (inputs.fileChoice == 1) criteria.file = TFilePresence::Missing;
  if (inputs.fileChoice == 2) criteria.file = TFilePresence::Present;

  if (inputs.stateChoice >= 1 && inputs.stateChoice <= static_cast<int>(kStateCodes.size()))
    criteria.state = kStateCodes[static_cast<size_t>(inputs.stateChoice - 1)];

  if (inputs.categoryChoice >= 1 && inputs.categoryChoice <= categories.Count())
    criteria.nodeId = categories[inputs.categoryChoice - 1].ID;

  if (!inputs.sizeFrom.empty() || !inputs.sizeTo.empty()) {
    criteria.bySize = true;
    criteria.minSize = inputs.sizeFrom.empty() ? 0 : KilobyteFieldBytes(inputs.sizeFrom);
    if (!inputs.sizeTo.empty()) criteria.maxSize = KilobyteFieldBytes(inputs.sizeTo);
  }

  // Only days after 30 December 1899 count as dates.  "до" takes in its
  // whole day: everything before the start of the next one passes.
  if (inputs.dayFrom && *inputs.dayFrom > 0)
    criteria.notBefore = static_cast<TDateTime>(*inputs.dayFrom);
  if (inputs.dayTo && *inputs.dayTo > 0)
    criteria.before = static_cast<TDateTime>(*inputs.dayTo + 1);

  if (!inputs.searchText.empty() && inputs.searchChoice >= 0 &&
      inputs.searchChoice < kSearchChoiceCount) {
    criteria.searchIn = static_cast<TSearchField>(inputs.searchChoice);
    criteria.searchLower = platform::current().lowerCase(inputs.searchText);
  }
  return criteria;
}

bool Matches(const TFilterCriteria& criteria, const Tdownload& download) {
  if (criteria.file != TFilePresence::Any &&
      download.FileExistsOnDisk() != (criteria.file == TFilePresence::Present))
    return false;
  if (criteria.state && download.State != *criteria.state) return false;
  if (criteria.nodeId && download.NodeID != *criteria.nodeId) return false;
  if (criteria.bySize) {
    if (download.Size < criteria.minSize) return false;
    if (criteria.maxSize && download.Size > *criteria.maxSize) return false;
  }
  if (criteria.notBefore && download.Date < *criteria.notBefore) return false;
  if (criteria.before && !(download.Date < *criteria.before)) return false;
  if (criteria.searchIn && !TextMatches(criteria, download)) return false;
  return true;
}

}  // namespace brimlow
