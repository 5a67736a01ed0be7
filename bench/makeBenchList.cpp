// brimlow-bench-list COUNT FILE [SHAPE...]: writes a downloads list of COUNT
// realistic downloads for the benchmarks.  Without a shape, the host's usual
// format (CR LF line ends, every field, Cyrillic names and comments,
// entities in URLs and texts, some extra elements), about 640 bytes per
// download.  With shapes (benchListShapes.h), a list of those shapes whose
// texts vary download by download.  The same arguments always give the same
// file.  Standard library only.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "benchListShapes.h"

namespace {

const char* const kHosts[] = {"http://files.example.com", "http://download.example.net",
                              "ftp://mirror.example.org/pub", "https://cdn.example.ru"};
const char* const kNames[] = {"Отчёт_за_квартал",  "setup_v2.1",  "Концерт_live", "lecture-03",
                              "Фотоальбом_2009",   "sources-1.4", "Договор_№15",  "wallpaper_1920",
                              "Сборник_рассказов", "patch_1.05"};
const char* const kExtensions[] = {".pdf", ".exe", ".mp3", ".avi", ".zip", ".tar.gz", ".doc"};
const char* const kComments[] = {
    "Скачать ещё раз позже",  "Нужно для работы &amp; для дома",          "Посмотреть на выходных",
    "Проверить антивирусом!", "старая версия &lt;1.0&gt;, можно удалить", "",
};
const char* const kTypes[] = {"application/pdf", "application/octet-stream", "audio/mpeg",
                              "video/x-msvideo", "application/zip"};

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}
  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(engine_()) % bound; }

 private:
  std::mt19937 engine_;
};

template <size_t N>
const char* Pick(Random& random, const char* const (&items)[N]) {
  return items[random.Below(N)];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: brimlow-bench-list COUNT FILE [SHAPE...]\n";
    return 2;
  }
  brimlow::bench::ListShape shape;
  for (int i = 3; i < argc; ++i) {
    if (!brimlow::bench::AddShape(argv[i], shape)) {
      std::cerr << "unknown shape " << argv[i] << '\n';
      return 2;
    }
  }
  const long count = std::strtol(argv[1], nullptr, 10);
  std::ofstream out(argv[2], std::ios::binary);
  if (count < 0 || !out) {
    std::cerr << "cannot write " << argv[2] << '\n';
    return 1;
  }
  if (argc > 3) {
    brimlow::bench::WriteShapedList(count, shape, out);
    return out ? 0 : 1;
  }
  Random random(20261209u);
  std::string text =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<DownloadList Version=\"4\" "
      "NextID=\"" +
      std::to_string(count + 1) + "\">";
  char buffer[4096];
  for (long i = 0; i < count; ++i) {
    const unsigned id = static_cast<unsigned>(i + 1);
    const std::string name =
        std::string(Pick(random, kNames)) + "_" + std::to_string(id) + Pick(random, kExtensions);
    const unsigned year = 2005 + random.Below(8);
    const int64_t size = static_cast<int64_t>(random.Below(1u << 30)) * (1 + random.Below(4));
    const unsigned state = random.Below(8);
    std::snprintf(buffer, sizeof buffer,
                  "\r\n  <DownloadFile>"
                  "\r\n    <ID>%u</ID>"
                  "\r\n    <URL>%s/get.php?file=%u&amp;mirror=%u</URL>"
                  "\r\n    <FileName>D:\\Загрузки\\Иван\\%s</FileName>"
                  "\r\n    <State>%u</State>"
                  "\r\n    <Size>%lld</Size>"
                  "\r\n    <SaveDir>D:\\Загрузки\\Иван</SaveDir>"
                  "\r\n    <DownloadedSize>%lld</DownloadedSize>"
                  "\r\n    <LastModified>Tue, %02u Mar %u 10:%02u:00 GMT</LastModified>"
                  "\r\n    <ResumeMode>%u</ResumeMode>"
                  "\r\n    <Date>%02u/%02u/%u %02u:%02u:%02u</Date>"
                  "\r\n    <DownloadTime>%u</DownloadTime>"
                  "\r\n    <NodeID>%u</NodeID>"
                  "\r\n    <Comment>%s</Comment>"
                  "\r\n    <ContentType>%s</ContentType>%s"
                  "\r\n  </DownloadFile>",
                  id, Pick(random, kHosts), id, random.Below(5), name.c_str(), state,
                  static_cast<long long>(size),
                  static_cast<long long>(state == 2 ? size : size / 3), 1 + random.Below(28), year,
                  random.Below(60), random.Below(3), 1 + random.Below(12), 1 + random.Below(28),
                  year, random.Below(24), random.Below(60), random.Below(60), random.Below(7200),
                  3 + random.Below(8), Pick(random, kComments), Pick(random, kTypes),
                  random.Below(10) == 0
                      ? "\r\n    <Referer>http://forum.example.com/topic?t=1&amp;p=2</Referer>"
                      : "");
    text += buffer;
    if (text.size() > (1 << 20)) {
      out << text;
      text.clear();
    }
  }
  text += "</DownloadList>\r\n";
  out << text;
  return out ? 0 : 1;
}
