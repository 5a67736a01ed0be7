// TCleaner: the backup copies of the list in the folder "backup" next to the
// program file, or in the user's data folder where the program's cannot be
// written.
#include "data/downloadsList.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/backupNames.h"
#include "workflow/cleaner.h"

namespace brimlow {

namespace {

const std::string kBackupFolder = "backup";

// True when a file can be made in the folder: a temporary one is made there
// and removed.  A folder's permission bits alone do not tell (access lists,
// read-only mounts, a user with more rights).
bool CanWriteIn(const std::string& folder) {
  platform::Platform& os = platform::current();
  try {
    platform::WriteHandle probe = os.createTemporaryBeside(platform::JoinPath(folder, "probe"));
    os.discard(probe);
    return true;
  } catch (const platform::EPlatformError&) {
    return false;
  }
}

// Makes every missing level of the folder; true when it exists afterwards.
bool MakeFolders(const std::string& folder) {
  platform::Platform& os = platform::current();
  if (os.directoryExists(folder)) return true;
  std::string parent = platform::ExtractFileDir(folder);
  while (parent.size() > 1 && (parent.back() == '/' || parent.back() == '\\'))
    parent.pop_back();
  if (!parent.empty() && parent.size() < folder.size() && !parent.ends_with(':'))
    MakeFolders(parent);
  return os.createDirectory(folder) || os.directoryExists(folder);
}

// The backup folder: the program's own when it can be made and written, so
// that a portable copy keeps its copies beside it; else the user's.  When
// neither works the program's stays, and writing a copy fails later with the
// file's own error.
std::string ChooseBackupFolder() {
  const std::string programFolder = platform::ExtractFileDir(platform::current().programFilePath());
  const std::string beside = platform::JoinPath(programFolder, kBackupFolder);
  if (MakeFolders(beside) && CanWriteIn(beside)) return beside;
  const std::optional<std::string> user = platform::userDataFolder("Brimlow", "brimlow");
  if (!user) return beside;
  const std::string own = platform::JoinPath(*user, kBackupFolder);
  if (MakeFolders(own) && CanWriteIn(own)) return own;
  return beside;
}

}  // namespace

void TCleaner::InitBackups() {
  FBackupDir = ChooseBackupFolder();
  FillBackupMenu();
}

void TCleaner::FillBackupMenu() {
  FBackupNames.clear();
  for (std::string& name : platform::current().listDirectory(FBackupDir))
    if (IsBackupFileName(name)) FBackupNames.push_back(std::move(name));
  FFrontEnd->BackupNamesChanged();
}

std::string TCleaner::FreeBackupNameNow() const {
  return FreeBackupName(BackupStem(platform::current().localDate()), FBackupNames);
}

std::string TCleaner::MakeBackupName() {
  const std::string name = FreeBackupNameNow();
  FBackupNames.push_back(name);
  FFrontEnd->BackupNamesChanged();
  return platform::JoinPath(FBackupDir, name);
}

void TCleaner::OpenBackup(const std::string& name) {
  LoadList(platform::JoinPath(FBackupDir, name));
}

}  // namespace brimlow
