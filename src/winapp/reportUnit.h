#pragma once

// The report after an execution: how many downloads left the list, what
// happened to the trash, files that could not be deleted, and where the
// backup copy is.  Created hidden with the main window and shown modally.

#include <windows.h>

#include <string>

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
  HWND filesCaption = nullptr;
  HWND filesLabel = nullptr;
  HWND Edit1 = nullptr;
  HWND Button1 = nullptr;

 private:
  HWND FHandle;
};

}  // namespace brimlow
