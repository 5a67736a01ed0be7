#pragma once

// What an execution of the trash action did, and the texts of the report
// dialog that shows it in either window.

#include <string>
#include <vector>

namespace brimlow {

// What "Выполнить" does with the trash.
enum class TTrashAction { SaveSeparately, Delete, DeleteWithFiles, DeleteFilesOnly };

// The words the report puts before the number of trash entries, in the
// active code page.
std::string ReportWord(TTrashAction action);

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
  // Entries whose file could not be deleted; they are not counted as done.
  int undeletedFiles = 0;

  TExecutionReportTexts Texts() const;
};

}  // namespace brimlow
