#include "workflow/filter.h"

#include <charconv>
#include <limits>

#include "platform/platform.h"
#include "workflow/fileStates.h"

namespace brimlow {

namespace {

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

TFilterCriteria MakeCriteria(const TFilterInputs& inputs) {
  TFilterCriteria criteria;
  criteria.file = inputs.file;
  criteria.state = inputs.state;
  criteria.nodeId = inputs.categoryId;
  criteria.duplicatesOnly = inputs.duplicatesOnly;

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

  if (!inputs.searchText.empty()) {
    criteria.searchIn = inputs.searchIn;
    criteria.searchLower = platform::current().lowerCase(inputs.searchText);
  }
  return criteria;
}

namespace {

TFileState WantedState(TFilePresence presence) {
  switch (presence) {
    case TFilePresence::Present: return TFileState::Present;
    case TFilePresence::Unreachable: return TFileState::Unreachable;
    default: return TFileState::Absent;
  }
}

}  // namespace

bool TestsAnything(const TFilterCriteria& criteria) {
  return criteria.file != TFilePresence::Any || criteria.state || criteria.nodeId ||
         criteria.bySize || criteria.notBefore || criteria.before || criteria.searchIn ||
         criteria.duplicatesOnly;
}

bool Matches(const TFilterCriteria& criteria, const Tdownload& download, TFileStates& files) {
  if (criteria.file != TFilePresence::Any) {
    if (files.Of(download.FileName) != WantedState(criteria.file)) return false;
  }
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

bool Matches(const TFilterCriteria& criteria, const Tdownload& download) {
  TFileStates files;
  return Matches(criteria, download, files);
}

}  // namespace brimlow
