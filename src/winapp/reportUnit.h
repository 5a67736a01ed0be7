#pragma once

// The report after an execution: how many downloads left the list, what
// happened to the trash, files that could not be deleted, and where the
// backup copy is.  Created hidden with the main window and shown modally.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "workflow/executionReport.h"

namespace brimlow {

class TreportForm {
 public:
  explicit TreportForm(HWND owner);
  ~TreportForm();
  TreportForm(const TreportForm&) = delete;
  TreportForm& operator=(const TreportForm&) = delete;

  HWND Handle() const { return FHandle; }
  // Fills the fields and selects the backup path; the caller shows it.
  void ShowReport(const TExecutionReportTexts& texts);

  HWND listLabel = nullptr;
  HWND selLabel = nullptr;
  // The first line of what became of the files; the dialog grows by a line
  // for each further one.
  HWND filesCaption = nullptr;
  HWND filesLabel = nullptr;
  HWND Edit1 = nullptr;
  HWND Button1 = nullptr;

 private:
  // Makes the file lines' labels, shows `count` of them and moves what
  // follows below the last.
  void LayOutFileLines(size_t count);

  HWND FHandle;
  HWND FBackupCaption = nullptr;
  std::vector<std::pair<HWND, HWND>> FFileLines;  // caption and text
};

}  // namespace brimlow
