// brimlow-cli restore BACKUP [LIST] [--no-host-control]: puts a backup copy
// back in place of the list, byte for byte, in one step.  The list's current
// text is saved first as a new backup copy, so that the restore can be
// undone the same way.

#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
#include "cli/workList.h"
#include "data/downloadsList.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "workflow/cleaner.h"
#include "workflow/listFileWitness.h"

namespace brimlow::cli {

namespace {

struct RestoreOptions {
  std::string backup;
  std::optional<std::string> list;
  bool noHostControl = false;
};

// A path as given, or else a bare name of a copy in the backup folder.
std::string BackupPath(const std::string& given, const TCleaner& cleaner) {
  platform::Platform& os = platform::current();
  if (os.fileExists(given) || platform::ExtractFileName(given) != given) return given;
  const std::string inFolder = platform::JoinPath(cleaner.BackupDir(), given);
  return os.fileExists(inFolder) ? inFolder : given;
}

// Saves the list file's text, as it is, under a new backup name; answers
// the name, or nothing when there is no list file.
std::string SaveCurrentText(TCleaner& cleaner, const std::string& list,
                            const TListFileWitness& witness) {
  if (witness == TListFileWitness::Missing()) return {};
  const std::string text = platform::current().readFile(list);
  const std::string path = cleaner.MakeBackupName();
  platform::replaceFileContents(path, text);
  return path;
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
  if (!parser.parseArguments(arguments, out)) return;

  TCleaner cleaner;
  const std::string list = workList(cleaner, options.list, !options.noHostControl);
  cleaner.InitBackups();
  const std::string backup = BackupPath(options.backup, cleaner);
  const std::string restored = platform::current().readFile(backup);
  // A file that is no list at all is not put in the host's way.
  (void)TDownloadsList(backup);

  // The host saves its list as it exits: the text saved below is the one it
  // left, and nothing it writes after that is written over.
  cleaner.ControlHost(false);
  const TListFileWitness witness = TListFileWitness::OfFile(list);
  const std::string newBackup = SaveCurrentText(cleaner, list, witness);
  witness.RequireUnchanged(list);
  platform::replaceFileContents(list, restored);

  out << "{\"list\":";
  writeJsonString(out, list);
  out << ",\"restored\":";
  writeJsonString(out, backup);
  out << ",\"backup\":";
  writeJsonString(out, newBackup);
  out << "}\n";
}

}  // namespace brimlow::cli
