#include "workflow/repeatGroups.h"

#include <functional>
#include <numeric>

#include "data/downloadsList.h"
#include "platform/platform.h"
#include "platform/winePath.h"
#include "workflow/fileStates.h"

namespace brimlow {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Union-find over positions, with path halving and union by size.
class TLinks {
 public:
  explicit TLinks(size_t count) : FParent(count), FSize(count, 1) {
    std::iota(FParent.begin(), FParent.end(), 0);
  }
  size_t Root(size_t i) {
    while (FParent[i] != i) {
      FParent[i] = FParent[FParent[i]];
      i = FParent[i];
    }
    return i;
  }
  void Join(size_t a, size_t b) {
    a = Root(a);
    b = Root(b);
    if (a == b) return;
    if (FSize[a] < FSize[b]) std::swap(a, b);
    FParent[b] = a;
    FSize[a] += FSize[b];
  }
  size_t SizeOf(size_t i) { return FSize[Root(i)]; }

 private:
  std::vector<size_t> FParent;
  std::vector<size_t> FSize;
};

// Links each download to the first one seen with the same key: an open
// hash table of eight-byte slots (a part of the hash and the first row), the
// keys kept end to end in one text, so that a list of any length costs a few
// allocations and each look-up touches one slot.
class TKeyIndex {
 public:
  explicit TKeyIndex(size_t count) : FKeyOf(count) {
    size_t size = 16;
    while (size < 2 * count)
      size *= 2;
    FSlots.assign(size, 0);
  }
  void Link(std::string_view key, size_t row, TLinks& links) {
    if (key.empty()) return;
    const size_t hash = std::hash<std::string_view>{}(key);
    const auto tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = FSlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      uint64_t& slot = FSlots[i];
      if (slot == 0) {
        slot = (uint64_t{tag} << 32) | static_cast<uint32_t>(row + 1);
        FKeyOf[row] = {static_cast<uint32_t>(FKeys.size()), static_cast<uint32_t>(key.size())};
        FKeys.append(key);
        return;
      }
      if (static_cast<uint32_t>(slot >> 32) != tag) continue;
      const size_t first = static_cast<uint32_t>(slot) - 1;
      const auto [offset, length] = FKeyOf[first];
      if (std::string_view(FKeys).substr(offset, length) == key) {
        links.Join(first, row);
        return;
      }
    }
  }

 private:
  std::vector<uint64_t> FSlots;                       // 0: empty
  std::vector<std::pair<uint32_t, uint32_t>> FKeyOf;  // a first row's key in FKeys
  std::string FKeys;
};

}  // namespace

std::string UrlKey(std::string_view url) {
  while (!url.empty() && IsBlank(url.front()))
    url.remove_prefix(1);
  while (!url.empty() && IsBlank(url.back()))
    url.remove_suffix(1);
  if (!url.empty() && url.back() == '/') url.remove_suffix(1);
  std::string key(url);
  const size_t scheme = key.find("://");
  if (scheme == std::string::npos) return key;
  const size_t hostStart = scheme + 3;
  size_t hostEnd = key.find_first_of("/?#", hostStart);
  if (hostEnd == std::string::npos) hostEnd = key.size();
  // The user name before an "@" keeps its letter case; the host does not.
  const size_t at = key.rfind('@', hostEnd);
  const size_t lowerFrom = at != std::string::npos && at >= hostStart ? at + 1 : hostStart;
  for (size_t i = 0; i < hostEnd; ++i)
    if (i < scheme || i >= lowerFrom) key[i] = AsciiLower(key[i]);
  return key;
}

std::string FileNameKey(const std::string& fileName) {
  if (fileName.empty()) return {};
  // The host's paths are mapped as the system finds their files (drive
  // letters onto the Wine prefix's drives, "." and ".." taken apart, either
  // separator), but every part is taken as written: letter case is ignored
  // anyway, so the disk need not be asked how a name is spelt there, and the
  // key costs no file-system query.  Two names give one key exactly when
  // SameFileName holds for them on a system that maps them; on one that does
  // not, the parts "." and ".." and the separators are told apart no more
  // than the system itself tells them apart.
  static const platform::FolderLookup kAsWritten{
      [](const std::string&) { return true; },
      [](const std::string&) { return std::vector<std::string>(); },
      [](std::string_view name) { return std::string(name); },
  };
  platform::Platform& os = platform::current();
  return os.lowerCase(platform::mapHostPath(fileName, std::string(), kAsWritten));
}

void TRepeatGroups::Build(const TDownloadsList& list) {
  const size_t count = static_cast<size_t>(list.Count());
  TLinks links(count);
  {
    TKeyIndex urls(count);
    TKeyIndex files(count);
    for (size_t row = 0; row < count; ++row) {
      const Tdownload& download = list[static_cast<int>(row)];
      urls.Link(UrlKey(download.URL), row, links);
      files.Link(FileNameKey(download.FileName), row, links);
    }
  }
  FGroupOf.assign(count, -1);
  FGroupCount = 0;
  std::vector<int> groupOfRoot(count, -1);
  for (size_t row = 0; row < count; ++row) {
    if (links.SizeOf(row) < 2) continue;
    int& group = groupOfRoot[links.Root(row)];
    if (group < 0) group = FGroupCount++;
    FGroupOf[row] = group;
  }
}

std::vector<uint8_t> TRepeatGroups::RepeatMarks(const TDownloadsList& list,
                                                TFileStates& files) const {
  struct TKept {
    int row = -1;
    bool present = false;
  };
  std::vector<TKept> kept(static_cast<size_t>(FGroupCount));
  std::vector<uint8_t> marks(FGroupOf.size(), 0);
  for (size_t row = 0; row < FGroupOf.size(); ++row) {
    const int group = FGroupOf[row];
    if (group < 0) continue;
    marks[row] = 1;
    const Tdownload& download = list[static_cast<int>(row)];
    const bool present = files.Of(download.FileName) == TFileState::Present;
    TKept& best = kept[static_cast<size_t>(group)];
    // A later download of equal standing wins: the last in the list is kept.
    const bool better = best.row < 0 || present > best.present ||
                        (present == best.present && !(download.Date < list[best.row].Date));
    if (better) best = {static_cast<int>(row), present};
  }
  for (const TKept& best : kept)
    marks[static_cast<size_t>(best.row)] = 0;
  return marks;
}

}  // namespace brimlow
