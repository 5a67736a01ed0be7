#include "workflow/executionReport.h"

#include "workflow/workflowText.h"

namespace brimlow {

namespace {

// "закачек" follows every number, whatever the number.
std::string Counted(const std::string& what, int count) {
  return what + " " + std::to_string(count) + AnsiText(" закачек");
}

}  // namespace

std::string ReportWord(TTrashAction action) {
  switch (action) {
    // The first letter is the Latin "c", as the report has always shown it.
    case TTrashAction::SaveSeparately: return AnsiText("cохранено в отдельный список");
    case TTrashAction::Delete: return AnsiText("удалено");
    case TTrashAction::DeleteWithFiles: return AnsiText("удалено вместе с файлами");
    case TTrashAction::DeleteFilesOnly: return AnsiText("удалены только файлы");
  }
  return {};
}

TExecutionReportTexts TExecutionReport::Texts() const {
  TExecutionReportTexts texts;
  texts.listLabel = Counted(AnsiText("удалено"), removed);
  texts.selLabel = Counted(ReportWord(action), trashCount - undeletedFiles);
  if (undeletedFiles > 0)
    texts.fileLines.push_back(
        {AnsiText("Файлы:"), Counted(AnsiText("не удалось удалить файлы"), undeletedFiles)});
  texts.Edit1 = backupPath;
  return texts;
}

}  // namespace brimlow
