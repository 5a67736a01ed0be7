// brimlow-cli restore BACKUP [LIST] [--no-host-control] [--list-only]: puts a
// backup copy back in place of the list, byte for byte, in one step, and the
// files its execution moved to the recycle bin back where they were.  The
// list's current text is saved first as a new backup copy, so that the
// restore can be undone the same way.

#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
#include "cli/workList.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/cleaner.h"

namespace brimlow::cli {

namespace {

struct RestoreOptions {
  std::string backup;
  std::optional<std::string> list;
  bool noHostControl = false;
  bool listOnly = false;
};

// A path as given, or else a bare name of a copy in the backup folder.
std::string BackupPath(const std::string& given, const TCleaner& cleaner) {
  platform::Platform& os = platform::current();
  if (os.fileExists(given) || platform::ExtractFileName(given) != given) return given;
  const std::string inFolder = platform::JoinPath(cleaner.BackupDir(), given);
  return os.fileExists(inFolder) ? inFolder : given;
}

}  // namespace

void runRestore(const Arguments& arguments, std::ostream& out) {
  RestoreOptions options;
  CommandParser parser(
      "restore",
      "Puts a backup copy back in place of the list, byte for byte, after saving the list's "
      "current text as a new backup copy.");
  parser
      .add_option("BACKUP", options.backup,
                  "The backup copy: a path, or a name in the backup folder")
      ->required();
  parser.add_option("LIST", options.list, "The downloads list (default: the host's current list)");
  parser.addFlagOnce("--no-host-control", options.noHostControl,
                     "Does not ask a running host to exit");
  parser.addFlagOnce("--list-only", options.listOnly,
                     "Leaves in the recycle bin the files the copy's execution moved there");
  if (!parser.parseArguments(arguments, out)) return;

  TCleaner cleaner;
  const std::string list = workList(cleaner, options.list, !options.noHostControl);
  cleaner.InitBackups();
  const TRestoreReport report =
      cleaner.RestoreBackup(BackupPath(options.backup, cleaner), list, options.listOnly);

  out << "{\"list\":";
  writeJsonString(out, report.list);
  out << ",\"restored\":";
  writeJsonString(out, report.restored);
  out << ",\"backup\":";
  writeJsonString(out, report.backup);
  out << ",\"restoredFiles\":" << report.restoredFiles
      << ",\"filesLeftInBin\":" << report.placeTakenFiles
      << ",\"filesNotInBin\":" << report.goneFiles + report.failedFiles << "}\n";
}

}  // namespace brimlow::cli
