#include "workflow/cleaner.h"

#include <algorithm>
#include <thread>

#include "data/categories.h"
#include "data/downloadsList.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/fileStates.h"

namespace brimlow {

namespace {

const std::string kHostKey = "Software\\Kelvane\\Tarvolt";
const std::string kListValue = "DefaultDownloadList";
const std::string kExeValue = "ExeFile";
const std::string kDefaultListPart = "Tarvolt\\lists\\default.xml";
const std::string kCategoryFilePart = "..\\nodelist.xml";

// The filter reports its progress after every so many downloads.
constexpr int kFilterChunk = 256;

TCleanerFrontEnd& Silent() {
  static TCleanerFrontEnd none;
  return none;
}

}  // namespace

void TCleanerFrontEnd::HostWaitPause(std::chrono::milliseconds pause) {
  std::this_thread::sleep_for(pause);
}

std::string TitleAfterLoad(const std::string& caption, const std::string& fileName) {
  const size_t dash = caption.find(" -");
  return (dash == std::string::npos ? caption : caption.substr(0, dash)) + " - " + fileName;
}

TCleaner::TCleaner(TCleanerFrontEnd* frontEnd)
    : FFrontEnd(frontEnd ? frontEnd : &Silent()),
      FDownloads(std::make_unique<TDownloadsList>()),
      FTrash(std::make_unique<TDownloadsList>()),
      FCategories(std::make_unique<TCategoryList>(std::string())) {}

TCleaner::~TCleaner() = default;

void TCleaner::SetFrontEnd(TCleanerFrontEnd* frontEnd) {
  FFrontEnd = frontEnd ? frontEnd : &Silent();
}

std::string TCleaner::GetDefaultListName() {
  platform::Platform& os = platform::current();
  std::string result;
  if (os.registryKeyExists(kHostKey)) {
    if (std::optional<std::string> list = os.readRegistryText(kHostKey, kListValue)) result = *list;
    if (std::optional<std::string> exe = os.readRegistryText(kHostKey, kExeValue))
      FHostExeFile = *exe;
  }
  if (result.empty())
    result = platform::JoinPath(os.environmentVariable("APPDATA").value_or(std::string()),
                                kDefaultListPart);
  return result;
}

void TCleaner::StartUp() {
  InitBackups();
  const std::string listName = GetDefaultListName();
  FFrontEnd->ListLocated(listName);
  LoadCategoriesFor(listName);
  ControlHost(false);
  OpenDefault();
  UpdateStatistics();
}

void TCleaner::LoadCategoriesFor(const std::string& listName) {
  FCategories = std::make_unique<TCategoryList>(
      platform::JoinPath(platform::ExtractFileDir(listName), kCategoryFilePart));
  FFrontEnd->CategoriesChanged();
}

void TCleaner::LoadList(const std::string& fileName) {
  // The new list is complete before the old ones go, so a list that cannot
  // be read leaves the lists, the marks and the loaded count as they were.
  const bool existed = platform::current().fileExists(fileName);
  std::unique_ptr<TDownloadsList> downloads;
  FFrontEnd->WhileLoading([&] { downloads = std::make_unique<TDownloadsList>(fileName); });
  FListFile =
      existed ? TListFileWitness::Holding(downloads->LoadedText()) : TListFileWitness::Missing();
  FDownloads.Replace(std::move(downloads));
  FTrash.Replace(std::make_unique<TDownloadsList>());
  FLoadedCount = FDownloads.Count();
  // What an execution wrote into the last list is undone only there.
  FUndoBackup.clear();
  RecountUnreachable();
  UpdateStatistics();
  FFrontEnd->ListLoaded(fileName);
}

void TCleaner::OpenDefault() {
  LoadList(GetDefaultListName());
}

void TCleaner::RunFilter(const TFilterInputs& inputs, const TFilterProgress& progress) {
  const TFilterCriteria criteria = MakeCriteria(inputs);
  const TDownloadsList& list = FDownloads.List();
  TFileStates files;
  const int count = list.Count();
  const std::vector<uint8_t> repeats =
      criteria.duplicatesOnly ? Repeats().RepeatMarks(list, files) : std::vector<uint8_t>();
  std::vector<uint8_t> marks(kFilterChunk);
  for (int first = 0; first < count; first += kFilterChunk) {
    if (progress) progress(first, count);
    const int size = std::min(kFilterChunk, count - first);
    for (int i = 0; i < size; ++i)
      marks[static_cast<size_t>(i)] = Matches(criteria, list[first + i], files) ? 1 : 0;
    if (!repeats.empty())
      for (int i = 0; i < size; ++i)
        marks[static_cast<size_t>(i)] &= repeats[static_cast<size_t>(first + i)];
    FDownloads.SetChecks(first, std::span<const uint8_t>(marks.data(), static_cast<size_t>(size)));
  }
  if (progress) progress(count, count);
  RecountUnreachable();
  UpdateStatistics();
}

void TCleaner::ClearMarks() {
  FDownloads.UncheckAll();
  UpdateStatistics();
}

void TCleaner::TransferChecked(TMarkedList& source, TMarkedList& target, bool unmark, bool remove) {
  // The marked records are appended to the target in the source's order; a
  // move then deletes them from the source in one pass, so that row i still
  // shows record i in both lists.
  const std::vector<int> rows = source.CheckedRows();
  target.AppendCopies(source.List(), rows);
  if (remove)
    source.RemoveRows(rows);
  else if (unmark)
    source.UncheckRows(rows);
  if (remove) RecountUnreachable();
  UpdateStatistics();
}

const TRepeatGroups& TCleaner::Repeats() const {
  if (FRepeatsRevision != FDownloads.Revision()) {
    FRepeats.Build(FDownloads.List());
    FRepeatsRevision = FDownloads.Revision();
  }
  return FRepeats;
}

TOverview TCleaner::Overview(TOverviewAxis axis) const {
  TFileStates files;
  return MakeOverview(FDownloads.List(), *FCategories, axis, files);
}

TStatistics TCleaner::Statistics() const {
  TStatistics statistics{FDownloads.Count(),       FDownloads.CheckedCount(),
                         FDownloads.CheckedSize(), FDownloads.TotalSize(),
                         FTrash.Count(),           FTrash.TotalSize()};
  statistics.unreachableCount = FUnreachableCount;
  statistics.repeatGroups = Repeats().GroupCount();
  return statistics;
}

void TCleaner::RecountUnreachable() {
  TFileStates drives;
  const TDownloadsList& list = FDownloads.List();
  FUnreachableCount = 0;
  for (int i = 0; i < list.Count(); ++i)
    if (!list[i].FileName.empty() && !drives.OnReachableDrive(list[i].FileName))
      ++FUnreachableCount;
}

void TCleaner::UpdateStatistics() {
  FFrontEnd->ShowStatistics(Statistics());
}

}  // namespace brimlow
