#include "workflow/overview.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "data/categories.h"
#include "data/downloadsList.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "workflow/fileStates.h"
#include "workflow/filterChoices.h"

namespace brimlow {

namespace {

constexpr TOverviewAxisChoice kAxes[] = {
    {"По категориям", "category", TOverviewAxis::Category},
    {"По годам", "year", TOverviewAxis::Year},
    {"По состояниям", "state", TOverviewAxis::State},
    {"По файлам", "file", TOverviewAxis::File},
};

// Downloads of no kept category, and dates the calendar cannot name.
constexpr std::string_view kNoCategoryKey = "(none)";
constexpr std::string_view kNoCategoryCaption = "Без категории";
constexpr std::string_view kNoDateKey = "(none)";
constexpr std::string_view kNoDateCaption = "Без даты";

std::string Utf8Of(std::string_view ansi) {
  return platform::utf16ToUtf8(platform::current().ansiToWide(ansi));
}

// Rows found by a small integer key, in the order first met.
class TRowTable {
 public:
  template <typename MakeRow>
  TOverviewRow& At(int64_t key, MakeRow makeRow) {
    const auto [found, added] = FIndex.try_emplace(key, FRows.size());
    if (added) FRows.push_back(makeRow());
    return FRows[found->second];
  }
  std::vector<TOverviewRow> Take() { return std::move(FRows); }

 private:
  std::unordered_map<int64_t, size_t> FIndex;
  std::vector<TOverviewRow> FRows;
};

void Count(TOverviewRow& row, const Tdownload& download) {
  ++row.count;
  row.size =
      static_cast<int64_t>(static_cast<uint64_t>(row.size) + static_cast<uint64_t>(download.Size));
}

// The kept category that `nodeId` is, or lies below; -1 for none.  A loop
// in the file's parent links ends the climb.
int KeptPosition(int32_t nodeId, const TCategoryList& categories,
                 const std::unordered_map<int32_t, int>& positions) {
  int32_t id = nodeId;
  for (int steps = 0; steps <= static_cast<int>(positions.size()) + 64; ++steps) {
    const Tcategory* kept = categories.FindByID(id);
    if (kept) return positions.at(kept->ID);
    const std::optional<int32_t> parent = categories.ParentOf(id);
    if (!parent || *parent == id) return -1;
    id = *parent;
  }
  return -1;
}

std::vector<TOverviewRow> ByCategory(const TDownloadsList& list, const TCategoryList& categories) {
  // The first kept category of each ID is the one found, as for the icons.
  std::unordered_map<int32_t, int> positions;
  for (int i = 0; i < categories.Count(); ++i)
    positions.try_emplace(categories[i].ID, i);
  std::unordered_map<int32_t, int> keptOf;
  TRowTable rows;
  for (int i = 0; i < list.Count(); ++i) {
    const Tdownload& download = list[i];
    auto [found, added] = keptOf.try_emplace(download.NodeID, -1);
    if (added) found->second = KeptPosition(download.NodeID, categories, positions);
    const int position = found->second;
    Count(rows.At(position,
                  [&] {
                    TOverviewRow row;
                    if (position < 0) {
                      row.key = kNoCategoryKey;
                      row.caption = kNoCategoryCaption;
                      return row;
                    }
                    const Tcategory& category = categories[position];
                    row.key = category.Name;
                    row.caption = Utf8Of(category.Name);
                    row.filter = TFilterInputs{};
                    row.filter->categoryId = category.ID;
                    return row;
                  }),
          download);
  }
  return rows.Take();
}

std::optional<int> YearOf(TDateTime date) {
  try {
    return DecodeDateTime(date).Year;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::vector<TOverviewRow> ByYear(const TDownloadsList& list) {
  TRowTable rows;
  for (int i = 0; i < list.Count(); ++i) {
    const Tdownload& download = list[i];
    const std::optional<int> year = YearOf(download.Date);
    Count(rows.At(year ? *year : 0,
                  [&] {
                    TOverviewRow row;
                    if (!year) {
                      row.key = kNoDateKey;
                      row.caption = kNoDateCaption;
                      return row;
                    }
                    row.key = row.caption = std::to_string(*year);
                    TDateTimeParts first;
                    first.Year = *year;
                    first.Month = 1;
                    first.Day = 1;
                    TDateTimeParts last = first;
                    last.Month = 12;
                    last.Day = 31;
                    row.filter = TFilterInputs{};
                    row.filter->dayFrom = static_cast<int64_t>(EncodeDateTime(first));
                    row.filter->dayTo = static_cast<int64_t>(EncodeDateTime(last));
                    return row;
                  }),
          download);
  }
  return rows.Take();
}

std::vector<TOverviewRow> ByState(const TDownloadsList& list) {
  TRowTable rows;
  for (int i = 0; i < list.Count(); ++i) {
    const Tdownload& download = list[i];
    Count(rows.At(download.State,
                  [&] {
                    TOverviewRow row;
                    row.key = row.caption = std::to_string(download.State);
                    const std::optional<uint8_t> state = download.State;
                    for (const TStateChoice& choice : StateChoices()) {
                      if (choice.value != state) continue;
                      row.key = choice.word;
                      row.caption = choice.caption;
                      row.filter = TFilterInputs{};
                      row.filter->state = state;
                    }
                    return row;
                  }),
          download);
  }
  return rows.Take();
}

TOverviewRow FileRow(TFileState state) {
  TOverviewRow row;
  const auto filtered = [&row](TFilePresence presence) {
    const TFileChoice& choice =
        FileChoices()[static_cast<size_t>(ChoiceIndex(FileChoices(), presence))];
    row.key = choice.word;
    row.caption = choice.caption;
    row.filter = TFilterInputs{};
    row.filter->file = presence;
  };
  switch (state) {
    case TFileState::Present: filtered(TFilePresence::Present); break;
    case TFileState::Absent: filtered(TFilePresence::Missing); break;
    case TFileState::Unreachable: filtered(TFilePresence::Unreachable); break;
  }
  return row;
}

std::vector<TOverviewRow> ByFile(const TDownloadsList& list, TFileStates& files) {
  TRowTable rows;
  for (int i = 0; i < list.Count(); ++i) {
    const TFileState state = files.Of(list[i].FileName);
    Count(rows.At(static_cast<int64_t>(state), [&] { return FileRow(state); }), list[i]);
  }
  return rows.Take();
}

}  // namespace

std::span<const TOverviewAxisChoice> OverviewAxes() {
  return kAxes;
}

TOverview MakeOverview(const TDownloadsList& list, const TCategoryList& categories,
                       TOverviewAxis axis, TFileStates& files) {
  TOverview overview;
  switch (axis) {
    case TOverviewAxis::Category: overview.rows = ByCategory(list, categories); break;
    case TOverviewAxis::Year: overview.rows = ByYear(list); break;
    case TOverviewAxis::State: overview.rows = ByState(list); break;
    case TOverviewAxis::File: overview.rows = ByFile(list, files); break;
  }
  std::stable_sort(overview.rows.begin(), overview.rows.end(),
                   [](const TOverviewRow& a, const TOverviewRow& b) {
                     if (a.size != b.size) return a.size > b.size;
                     return a.count > b.count;
                   });
  for (const TOverviewRow& row : overview.rows) {
    overview.count += row.count;
    overview.size = static_cast<int64_t>(static_cast<uint64_t>(overview.size) +
                                         static_cast<uint64_t>(row.size));
  }
  return overview;
}

}  // namespace brimlow
