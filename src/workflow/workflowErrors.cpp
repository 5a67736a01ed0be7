#include "workflow/workflowErrors.h"

#include "workflow/workflowText.h"

namespace brimlow {

ENoListFile::ENoListFile()
    : std::runtime_error(
          AnsiText("Список закачек не загружен: откройте список, прежде чем выполнять действие.")) {
}

EListFileAppeared::EListFileAppeared(const std::string& fileName)
    : std::runtime_error(AnsiText("Файл списка \"") + fileName +
                         AnsiText("\" появился после того, как список был открыт пустым: "
                                  "откройте его заново.")) {}

EListFileChanged::EListFileChanged(const std::string& fileName)
    : std::runtime_error(AnsiText("Файл списка \"") + fileName +
                         AnsiText("\" изменился после того, как список был загружен (его мог "
                                  "сохранить Tarvolt): ничего не записано, корзина осталась как "
                                  "была. Откройте список заново.")) {}

}  // namespace brimlow
