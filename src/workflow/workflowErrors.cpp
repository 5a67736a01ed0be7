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

ESeparateListIsTheList::ESeparateListIsTheList(const std::string& fileName)
    : std::runtime_error(AnsiText("Корзину нельзя сохранить в файл самого списка закачек \"") +
                         fileName + AnsiText("\": выберите для отдельного списка другое имя.")) {}

ECharactersLost::ECharactersLost(const std::string& fileName)
    : std::runtime_error(AnsiText("В списке \"") + fileName +
                         AnsiText("\" есть символы, которых нет в кодовой странице системы: при "
                                  "записи они стали бы знаками \"?\". Ничего не записано.")) {}

}  // namespace brimlow
