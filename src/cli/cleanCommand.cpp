// brimlow-cli clean [LIST] [filter options] [--all] [--copy] [--action ...]
// [--no-backup] [--recycle] [--dry-run] [--no-host-control]: the window's workflow from a
// script.  Marks what the filter matches, moves (or copies) it into the
// trash and executes the action as the window's "Выполнить" does, backup
// copy included.  Prints one JSON object per matched download, then the
// report.

#include <ostream>

#include "cli/commands.h"
#include "cli/filterOptions.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
#include "cli/workList.h"
#include "workflow/cleaner.h"

namespace brimlow::cli {

namespace {

struct ActionWord {
  const char* word;
  TTrashAction action;
};

const ActionWord kActionWords[] = {
    {"delete", TTrashAction::Delete},
    {"delete-with-files", TTrashAction::DeleteWithFiles},
    {"delete-files-only", TTrashAction::DeleteFilesOnly},
    {"save-separately", TTrashAction::SaveSeparately},
};

struct CleanOptions {
  std::optional<std::string> list;
  FilterOptions filter;
  bool all = false;
  bool copy = false;
  std::string action = "delete";
  bool noBackup = false;
  bool recycle = false;
  bool dryRun = false;
  bool noHostControl = false;
};

// The action's word and, for save-separately, the file after the "=".
struct ActionChoice {
  std::string word;
  TTrashAction action = TTrashAction::Delete;
  std::optional<std::string> separateList;
};

std::optional<ActionChoice> ParseAction(const std::string& text) {
  const size_t equals = text.find('=');
  ActionChoice choice;
  choice.word = text.substr(0, equals);
  if (equals != std::string::npos) choice.separateList = text.substr(equals + 1);
  for (const ActionWord& known : kActionWords) {
    if (choice.word != known.word) continue;
    choice.action = known.action;
    // Only the separate list takes a file, and it must have one.
    const bool wantsFile = known.action == TTrashAction::SaveSeparately;
    if (wantsFile != (choice.separateList && !choice.separateList->empty())) return std::nullopt;
    return choice;
  }
  return std::nullopt;
}

std::string ActionCheck(const std::string& text) {
  return ParseAction(text) ? std::string()
                           : text +
                                 " is not delete, delete-with-files, delete-files-only or "
                                 "save-separately=FILE";
}

void DescribeOptions(CommandParser& parser, CleanOptions& options) {
  parser.add_option("LIST", options.list, "The downloads list (default: the host's current list)");
  CLI::Option_group* filter = addFilterOptions(parser, options.filter);
  filter->excludes(parser.addFlagOnce("--all", options.all,
                                      "Marks every download; needed when no filter is given"));
  parser.addFlagOnce("--copy", options.copy, "Copies the marked downloads into the trash");
  parser.add_option("--action", options.action, "What becomes of the trash (default: delete)")
      ->type_name("delete|delete-with-files|delete-files-only|save-separately=FILE")
      ->check(CLI::Validator(ActionCheck, ""));
  parser.addFlagOnce("--no-backup", options.noBackup, "Makes no backup copy of the list");
  parser.addFlagOnce("--recycle", options.recycle,
                     "Moves the files to the system's recycle bin instead of erasing them "
                     "(with delete-with-files or delete-files-only)");
  parser.addFlagOnce("--dry-run", options.dryRun, "Reports what would be done, doing nothing");
  parser.addFlagOnce("--no-host-control", options.noHostControl,
                     "Does not ask a running host to exit");
}

void WriteReport(std::ostream& out, const TExecutionReport& report, size_t matched,
                 const std::string& actionWord, bool dryRun) {
  out << "{\"matched\":" << matched << ",\"removed\":" << report.removed
      << ",\"trash\":" << report.trashCount << ",\"action\":";
  writeJsonString(out, actionWord);
  out << ",\"backup\":";
  writeJsonString(out, report.backupPath);
  out << ",\"undeletedFiles\":" << report.undeletedFiles
      << ",\"recycledFiles\":" << report.recycledFiles
      << ",\"sharedFilesKept\":" << report.sharedFilesKept
      << ",\"dryRun\":" << (dryRun ? "true" : "false") << "}\n";
}

}  // namespace

void runClean(const Arguments& arguments, std::ostream& out) {
  CleanOptions options;
  CommandParser parser(
      "clean",
      "Marks the downloads the filter matches, moves (or copies) them into the trash and "
      "executes the action on it as the window does, after a backup copy of the list.");
  DescribeOptions(parser, options);
  if (!parser.parseArguments(arguments, out)) return;
  const ActionChoice action = *ParseAction(options.action);
  const bool fileAction = action.action == TTrashAction::DeleteWithFiles ||
                          action.action == TTrashAction::DeleteFilesOnly;
  if (options.recycle && !fileAction)
    throw UsageError("--recycle needs --action delete-with-files or delete-files-only");

  TCleaner cleaner;
  // A dry run starts nothing.
  const std::string list =
      workList(cleaner, options.list, !options.noHostControl && !options.dryRun);
  cleaner.LoadCategoriesFor(list);
  const TFilterInputs inputs = filterInputs(options.filter, cleaner.Categories());
  // A script that forgot its filter must not empty the list.  With --all no
  // filter option may be given, and the filter then passes every download.
  if (!options.all && !TestsAnything(MakeCriteria(inputs)))
    throw UsageError(
        "no filter option tests anything, so every download would match; "
        "give --all to mean that");

  // The trash written over the list would leave nothing of it.
  if (action.separateList && SameFileName(*action.separateList, list))
    throw UsageError("--action: the separate list cannot be the list itself");
  const TExecutionRequest request{action.action, !options.noBackup, action.separateList,
                                  options.recycle};
  // A dry run finds the backup name an execution would take, making nothing.
  if (request.makeBackup) cleaner.InitBackups(!options.dryRun);
  // As at the window's start-up, a running host is asked to exit before the
  // list is read: it saves its list as it ends, and the execution would
  // refuse to write over that.
  cleaner.ControlHost(false);
  cleaner.LoadList(list);
  cleaner.RunFilter(inputs);
  const std::vector<int> matched = cleaner.Downloads().CheckedRows();
  for (const int row : matched)
    writeDownloadJson(out, cleaner.Downloads().List()[row]);

  if (options.copy)
    cleaner.Copy(false);
  else
    cleaner.Move();
  const TExecutionReport report =
      options.dryRun ? cleaner.PreviewExecution(request) : cleaner.Execute(request).value();
  WriteReport(out, report, matched.size(), action.word, options.dryRun);
}

}  // namespace brimlow::cli
