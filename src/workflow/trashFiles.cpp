#include "workflow/trashFiles.h"

#include <unordered_map>
#include <unordered_set>

#include "data/downloadsList.h"
#include "platform/path.h"
#include "workflow/fileStates.h"

namespace brimlow {

namespace {

// The key two names of one file share on this system: the path the file
// system is asked for, letter case ignored.
std::string FileKey(const std::string& name) {
  platform::Platform& os = platform::current();
  return os.lowerCase(platform::localPathOf(name));
}

// The last part of a name, letter case ignored: cheap, and equal for every
// two names of one file, so that only downloads sharing it with a trash file
// need the full mapping (which asks the file system).
std::string LastPartKey(const std::string& name) {
  const size_t slash = name.find_last_of("\\/");
  return platform::current().lowerCase(slash == std::string::npos
                                           ? std::string_view(name)
                                           : std::string_view(name).substr(slash + 1));
}

bool IsTrashEntry(const Tdownload& download,
                  const std::unordered_multimap<uint32_t, const Tdownload*>& trashById) {
  const auto [first, last] = trashById.equal_range(download.ID);
  for (auto item = first; item != last; ++item)
    if (*item->second == download) return true;
  return false;
}

// The keys of the files that downloads staying in the list name, among those
// whose last part is one of the trash's.
std::unordered_set<std::string> StayingFileKeys(const TDownloadsList& trash,
                                                const TDownloadsList& list) {
  std::unordered_multimap<uint32_t, const Tdownload*> trashById;
  std::unordered_set<std::string> lastParts;
  for (int i = 0; i < trash.Count(); ++i) {
    trashById.emplace(trash[i].ID, &trash[i]);
    if (!trash[i].FileName.empty()) lastParts.insert(LastPartKey(trash[i].FileName));
  }
  std::unordered_set<std::string> keys;
  for (int i = 0; i < list.Count(); ++i) {
    const Tdownload& download = list[i];
    if (download.FileName.empty() || !lastParts.count(LastPartKey(download.FileName))) continue;
    if (!IsTrashEntry(download, trashById)) keys.insert(FileKey(download.FileName));
  }
  return keys;
}

void RemoveFile(const Tdownload& entry, bool recycle, TFileStates& drives,
                TFilePassOutcome& outcome) {
  platform::Platform& os = platform::current();
  const std::string& file = entry.FileName;
  // A drive that is not connected holds the file still; it is not "absent".
  if (!drives.OnReachableDrive(file)) {
    ++outcome.failed;
    return;
  }
  if (recycle) {
    const platform::RecycleResult result = os.recycleFile(file);
    switch (result.outcome) {
      case platform::RecycleOutcome::Recycled:
        ++outcome.recycled;
        outcome.recycledSize += entry.Size;
        outcome.record.recycled.push_back(result.file);
        return;
      case platform::RecycleOutcome::NoRecycleBin: ++outcome.noBin; return;
      case platform::RecycleOutcome::Failed: break;
    }
  } else if (os.deleteFile(file)) {
    ++outcome.erased;
    outcome.record.erased.push_back(file);
    return;
  }
  if (os.fileExists(file))
    ++outcome.failed;
  else
    ++outcome.absent;
}

}  // namespace

TFilePassOutcome RemoveTrashFiles(const TDownloadsList& trash, const TDownloadsList& list,
                                  bool recycle) {
  // Each file stands alone: one that fails does not stop the others.
  TFilePassOutcome outcome;
  const std::unordered_set<std::string> staying = StayingFileKeys(trash, list);
  std::unordered_set<std::string> done;
  TFileStates drives;
  for (int i = 0; i < trash.Count(); ++i) {
    const Tdownload& entry = trash[i];
    if (entry.FileName.empty()) continue;
    std::string key = FileKey(entry.FileName);
    if (!done.insert(key).second) continue;
    if (staying.count(key))
      ++outcome.shared;
    else
      RemoveFile(entry, recycle, drives, outcome);
  }
  return outcome;
}

}  // namespace brimlow
