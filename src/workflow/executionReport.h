#pragma once

// What an execution of the trash action did, and the texts of the report
// dialog that shows it in either window.

#include <cstdint>
#include <string>
#include <vector>

namespace brimlow {

// What "Выполнить" does with the trash.
enum class TTrashAction { SaveSeparately, Delete, DeleteWithFiles, DeleteFilesOnly };

// The words the report puts before the number of trash entries, in the
// active code page.
std::string ReportWord(TTrashAction action);

// "N файлов": a count of files as the report's lines give it, in the
// active code page.
std::string FileCountText(int count);

// A line of the report beyond its fixed rows: a caption and its text.
struct TReportLine {
  std::string caption;
  std::string text;
  bool operator==(const TReportLine&) const = default;
};

// The report's texts, in the active code page.
struct TExecutionReportTexts {
  std::string listLabel;  // "удалено %d закачек": downloads that left the list
  std::string selLabel;   // the action's word and the trash entries done
  // What became of the files, one line each; none when there is nothing
  // to say.
  std::vector<TReportLine> fileLines;
  std::string Edit1;  // the backup copy's path; empty without one
  bool operator==(const TExecutionReportTexts&) const = default;
};

// What the report of an execution shows.
struct TExecutionReport {
  int removed = 0;     // downloads that left the list
  int trashCount = 0;  // entries of the trash
  TTrashAction action = TTrashAction::Delete;
  std::string backupPath;  // empty without a backup copy
  // What the file actions did, one count per file (two entries naming one
  // file count it once).  The files that stayed against the user's wish are
  // `undeletedFiles`, which the report does not count as done: locked or
  // failed ones, on a drive that is not there, and, when recycling, those
  // no recycle bin would take (`noRecycleBinFiles` of them).  Files that
  // another download of the list still names stay on purpose.
  int undeletedFiles = 0;
  int noRecycleBinFiles = 0;
  int recycledFiles = 0;
  int64_t recycledSize = 0;
  int erasedFiles = 0;
  int absentFiles = 0;
  int sharedFilesKept = 0;
  // The record of the recycled files could not be written beside the backup
  // copy, so undoing the execution cannot put them back.
  bool filesRecordLost = false;

  TExecutionReportTexts Texts() const;
};

}  // namespace brimlow
