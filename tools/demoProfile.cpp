// brimlow-demo-profile DEST: builds a complete demo profile of the host in
// DEST (which stands in for the application-data folder):
//   DEST/Tarvolt/lists/default.xml  about 200 downloads in the host's format
//   DEST/Tarvolt/nodelist.xml       the category tree
//   DEST/Downloads/...              small files for some of the downloads
// The output depends only on DEST: a fixed seed drives every choice.
//
// Standard library only, so the demo does not depend on what it demonstrates.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kDownloads = 200;

struct Category {
  int id;
  int parentId;
  int imageIndex;
  const char* name;
  const char* folder;  // below DEST/Downloads
};

// Category 2 is the root the program keeps the children of; 11 and 12 lie
// one level deeper and are dropped when read.
const Category kCategories[] = {
    {2, 0, 0, "Все загрузки", ""},
    {3, 2, 7, "Программы", "Программы"},
    {4, 2, 12, "Музыка", "Музыка"},
    {5, 2, 23, "Видео", "Видео"},
    {6, 2, 31, "Документы", "Документы"},
    {7, 2, 38, "Архивы", "Архивы"},
    {8, 2, 44, "Изображения", "Изображения"},
    {9, 2, 50, "Игры", "Игры"},
    {10, 2, 54, "Разное", "Разное"},
    {11, 5, 25, "Сериалы", "Видео/Сериалы"},
    {12, 6, 33, "Книги", "Документы/Книги"},
};

struct Kind {
  int nodeId;
  const char* contentType;
  const char* const* names;  // null-terminated
};

const char* const kProgramNames[] = {"setup_v2.1.exe", "Установщик_драйвера.exe",
                                     "codec-pack-9.0.msi", "portable_editor.zip", nullptr};
const char* const kMusicNames[] = {"01 - Вступление.mp3", "track_07.ogg", "Концерт (live).flac",
                                   "podcast_episode_42.mp3", nullptr};
const char* const kVideoNames[] = {"Фильм.avi", "trailer_hd.mkv", "lecture-03.mp4", "Серия_05.avi",
                                   nullptr};
const char* const kDocumentNames[] = {"Отчёт за квартал.pdf", "manual_en.pdf", "Договор №15.doc",
                                      "Книга рецептов.djvu", nullptr};
const char* const kArchiveNames[] = {"backup_2009.rar", "Фотоальбом.zip", "sources-1.4.tar.gz",
                                     "Сборник & бонусы.7z", nullptr};
const char* const kImageNames[] = {"wallpaper_1920.jpg", "Обои зима.png", "scan_0001.tif", nullptr};
const char* const kGameNames[] = {"game_demo.exe", "Шахматы 3D.zip", "patch_1.05.exe", nullptr};
const char* const kOtherNames[] = {"readme.txt", "Список дел.txt", "data.bin", "index.html",
                                   nullptr};

const Kind kKinds[] = {
    {3, "application/octet-stream", kProgramNames},
    {4, "audio/mpeg", kMusicNames},
    {5, "video/x-msvideo", kVideoNames},
    {6, "application/pdf", kDocumentNames},
    {7, "application/zip", kArchiveNames},
    {8, "image/jpeg", kImageNames},
    {9, "application/octet-stream", kGameNames},
    {10, "text/plain", kOtherNames},
    {11, "video/mp4", kVideoNames},
    {12, "image/vnd.djvu", kDocumentNames},
    {0, "text/html", kOtherNames},
    {99, "application/x-unknown", kOtherNames},
};

const char* const kComments[] = {
    "",
    "",
    "Скачать ещё раз позже",
    "Нужно для работы",
    "Посмотреть на выходных",
    "от Сергея",
    "Проверить антивирусом!",
    "старая версия, можно удалить",
    "links: <a> & <b>",
    "Многострочный комментарий:\nвторая строка",
};

const char* const kHosts[] = {"http://files.example.com", "http://download.example.net",
                              "ftp://mirror.example.org/pub", "https://cdn.example.ru"};

// Deterministic everywhere: mt19937's sequence is fixed by the standard, and
// only its raw output is used (distributions differ between libraries).
class Random {
 public:
  uint32_t Next() { return static_cast<uint32_t>(engine_()); }
  uint32_t Below(uint32_t bound) { return Next() % bound; }
  bool Chance(uint32_t percent) { return Below(100) < percent; }

 private:
  std::mt19937 engine_{20260512u};
};

std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\r': out += "&#xD;"; break;
      default: out += c;
    }
  }
  return out;
}

// The host's files have CR LF line ends throughout.
class Writer {
 public:
  void Line(const std::string& text) { text_ += text + "\r\n"; }
  void Raw(const std::string& text) { text_ += text; }
  void Element(const char* name, const std::string& value) {
    std::string escaped = Escape(value);
    // Line feeds inside a text leave as line ends too.
    std::string withEnds;
    for (const char c : escaped)
      withEnds += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Raw("\r\n    <" + std::string(name) + ">" + withEnds + "</" + name + ">");
  }
  const std::string& Text() const { return text_; }
  void Save(const fs::path& path) const {
    std::ofstream out(path, std::ios::binary);
    out << text_;
    if (!out) throw std::runtime_error("cannot write " + path.string());
  }

 private:
  std::string text_;
};

std::string Date(Random& random) {
  static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int year = 2005 + static_cast<int>(random.Below(8));
  const int month = 1 + static_cast<int>(random.Below(12));
  const bool leap = year % 4 == 0;
  const int days = kDaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0);
  const int day = 1 + static_cast<int>(random.Below(static_cast<uint32_t>(days)));
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", month, day, year,
                static_cast<int>(random.Below(24)), static_cast<int>(random.Below(60)),
                static_cast<int>(random.Below(60)));
  return text;
}

int64_t Size(Random& random) {
  // From a few bytes over kilobytes and megabytes to several gigabytes.
  constexpr int64_t kKilo = 1024;
  const uint32_t scale = random.Below(10);
  const int64_t noise = random.Below(1024);
  if (scale == 0) return noise;
  if (scale < 4) return kKilo * (1 + random.Below(1000)) + noise;
  if (scale < 8) return kKilo * kKilo * (1 + random.Below(900)) + noise;
  return kKilo * kKilo * kKilo * (1 + random.Below(8)) + kKilo * kKilo * random.Below(1024);
}

const Category& CategoryOf(int nodeId) {
  for (const Category& category : kCategories)
    if (category.id == nodeId) return category;
  return kCategories[std::size(kCategories) - 3];  // "Разное"
}

// The texts here are UTF-8; on Windows a path takes a narrow text in the
// system's code page, so they pass as UTF-8 explicitly both ways.
fs::path Utf8Path(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8Text(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void WriteCategories(const fs::path& path) {
  Writer out;
  out.Line(R"(<?xml version="1.0" encoding="utf-8"?>)");
  out.Line("<NodeList>");
  for (const Category& category : kCategories) {
    out.Line("  <MyNode>");
    out.Line("    <ID>" + std::to_string(category.id) + "</ID>");
    out.Line("    <Name>" + Escape(category.name) + "</Name>");
    out.Line("    <ImageIndex>" + std::to_string(category.imageIndex) + "</ImageIndex>");
    out.Line("    <ParentID>" + std::to_string(category.parentId) + "</ParentID>");
    out.Line("  </MyNode>");
  }
  out.Line("</NodeList>");
  out.Save(path);
}

int WriteList(const fs::path& path, const fs::path& downloads) {
  Random random;
  Writer out;
  uint32_t id = 17;
  int created = 0;
  for (int i = 0; i < kDownloads; ++i) {
    id += 1 + random.Below(3);
    const Kind& kind = kKinds[random.Below(std::size(kKinds))];
    // Every state code 0 to 6 in turn for the first downloads, then mostly
    // finished ones with a few unnamed codes.
    static const int kLaterStates[] = {2, 2, 2, 2, 0, 3, 4, 6, 1, 5, 7, 9};
    const int state = i < 14 ? i % 7 : kLaterStates[random.Below(std::size(kLaterStates))];

    int count = 0;
    while (kind.names[count])
      ++count;
    const std::string base = kind.names[random.Below(static_cast<uint32_t>(count))];
    const std::string fileName = std::to_string(id) + "_" + base;
    const fs::path folder = downloads / Utf8Path(CategoryOf(kind.nodeId).folder);
    const fs::path file = folder / Utf8Path(fileName);
    const int64_t size = Size(random);

    // Finished downloads mostly have their file; some were deleted by hand.
    const bool present = state == 2 ? random.Chance(70) : random.Chance(10);
    if (present) {
      fs::create_directories(folder);
      std::ofstream data(file, std::ios::binary);
      data << "Demo download " << id << ": " << base << "\n";
      ++created;
    }

    std::string url = std::string(kHosts[random.Below(std::size(kHosts))]);
    if (random.Chance(25))
      url += "/get.php?id=" + std::to_string(id) + "&mirror=" + std::to_string(random.Below(5));
    else
      url += "/files/" + std::to_string(2005 + random.Below(8)) + "/" + base;

    out.Raw("\r\n  <DownloadFile>");
    out.Element("ID", std::to_string(id));
    out.Element("URL", url);
    out.Element("FileName", Utf8Text(file));
    out.Element("State", std::to_string(state));
    out.Element("Size", std::to_string(size));
    out.Element("SaveDir", Utf8Text(folder));
    out.Element("DownloadedSize", std::to_string(state == 2   ? size
                                                 : state == 6 ? 0
                                                              : size / (2 + i % 5)));
    out.Element("LastModified", random.Chance(60) ? "Tue, 04 Mar 2008 10:00:00 GMT" : "");
    out.Element("ResumeMode", std::to_string(random.Below(3)));
    out.Element("Date", Date(random));
    out.Element("DownloadTime", std::to_string(random.Below(7200)));
    out.Element("NodeID", std::to_string(kind.nodeId));
    out.Element("Comment", kComments[random.Below(std::size(kComments))]);
    out.Element("ContentType", kind.contentType);
    if (random.Chance(8))
      out.Element("Referer", "http://forum.example.com/topic?t=" + std::to_string(id));
    if (random.Chance(5)) out.Element("Mirror", "Зеркало №" + std::to_string(1 + random.Below(3)));
    out.Raw("\r\n  </DownloadFile>");
  }

  // NextID is known only now, so the root start tag goes in front of the
  // records.
  Writer list;
  list.Line(R"(<?xml version="1.0" encoding="utf-8"?>)");
  list.Raw(R"(<DownloadList Version="4" NextID=")" + std::to_string(id + 1) + "\">");
  list.Raw(out.Text());
  list.Line("</DownloadList>");
  list.Save(path);
  return created;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: brimlow-demo-profile DEST\n";
    return 2;
  }
  try {
    const fs::path dest = fs::absolute(argv[1]);
    const fs::path profile = dest / "Tarvolt";
    fs::create_directories(profile / "lists");
    WriteCategories(profile / "nodelist.xml");
    const int created = WriteList(profile / "lists" / "default.xml", dest / "Downloads");
    std::cout << "demo profile in " << profile.string() << ": " << kDownloads << " downloads, "
              << created << " of their files present\n";
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}
