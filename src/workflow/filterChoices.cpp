#include "workflow/filterChoices.h"

#include "data/download.h"

namespace brimlow {

namespace {

constexpr TFileChoice kFileChoices[] = {
    {"Любые", "any", TFilePresence::Any},
    {"Отсутствует файл на диске", "missing", TFilePresence::Missing},
    {"Присутствует файл на диске", "present", TFilePresence::Present},
    {"Диск недоступен", "unreachable", TFilePresence::Unreachable},
};

constexpr TStateChoice kStateChoices[] = {
    {"Любое", "any", std::nullopt},
    {"Пауза", "paused", StatePaused},
    {"Закачано", "downloaded", StateComplete},
    {"Закачка", "downloading", StateDownloading},
    {"Ошибка", "error", StateError},
    {"Запланировано", "scheduled", StateScheduled},
};

constexpr TSearchChoice kSearchChoices[] = {
    {"Любом месте", "anywhere", TSearchField::Anywhere},
    {"Имени файла", "filename", TSearchField::FileName},
    {"Ссылке", "url", TSearchField::Url},
    {"Папке", "folder", TSearchField::Folder},
    {"Комментарии", "comment", TSearchField::Comment},
};

}  // namespace

std::span<const TFileChoice> FileChoices() {
  return kFileChoices;
}

std::span<const TStateChoice> StateChoices() {
  return kStateChoices;
}

std::span<const TSearchChoice> SearchChoices() {
  return kSearchChoices;
}

}  // namespace brimlow
