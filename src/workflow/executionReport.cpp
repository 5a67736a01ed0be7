#include "workflow/executionReport.h"

#include "data/download.h"
#include "workflow/workflowText.h"

namespace brimlow {

namespace {

// "закачек" follows every number, whatever the number.
std::string Counted(const std::string& what, int count) {
  return what + " " + std::to_string(count) + AnsiText(" закачек");
}

void AddLine(std::vector<TReportLine>& lines, int count, const char* caption,
             const std::string& text) {
  if (count > 0) lines.push_back({AnsiText(caption), text});
}

void AddFileLines(const TExecutionReport& report, std::vector<TReportLine>& lines) {
  const int failed = report.undeletedFiles - report.noRecycleBinFiles;
  AddLine(lines, failed, "Файлы:", Counted(AnsiText("не удалось удалить файлы"), failed));
  AddLine(lines, report.recycledFiles, "В корзину системы:",
          FileCountText(report.recycledFiles) + ", " + SizeToText(report.recycledSize));
  AddLine(lines, report.erasedFiles, "Стёрто:", FileCountText(report.erasedFiles));
  AddLine(lines, report.absentFiles, "Не было на диске:", FileCountText(report.absentFiles));
  AddLine(lines, report.sharedFilesKept,
          "Оставлено, их называют другие закачки:", FileCountText(report.sharedFilesKept));
  AddLine(lines, report.noRecycleBinFiles,
          "Оставлено, нет корзины системы:", FileCountText(report.noRecycleBinFiles));
  if (report.filesRecordLost)
    lines.push_back(
        {AnsiText("Отмена:"), AnsiText("запись о файлах не сохранена, их не вернуть отменой")});
}

}  // namespace

std::string FileCountText(int count) {
  return std::to_string(count) + AnsiText(" файлов");
}

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
  AddFileLines(*this, texts.fileLines);
  texts.Edit1 = backupPath;
  return texts;
}

}  // namespace brimlow
