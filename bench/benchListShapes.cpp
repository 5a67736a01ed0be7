#include "benchListShapes.h"

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace brimlow::bench {

namespace {

const char* const kRussian[] = {
    "отчёт",   "квартал",    "концерт",     "лекция",  "фото",   "альбом", "договор", "сборник",
    "рассказ", "музыка",     "фильм",       "сериал",  "книга",  "журнал", "карта",   "игра",
    "драйвер", "обновление", "презентация", "таблица", "письмо", "проект", "архив",   "дача",
    "отпуск",  "Москва",     "Питер",       "зима",    "весна",  "лето",   "осень",   "семья"};
const char* const kLatin[] = {
    "setup",   "sources", "patch",    "wallpaper", "lecture", "release", "beta",    "final",
    "manual",  "backup",  "driver",   "firmware",  "live",    "remix",   "season",  "episode",
    "report",  "invoice", "photos",   "holiday",   "linux",   "kernel",  "docs",    "demo",
    "trailer", "install", "portable", "update",    "tools",   "fonts",   "samples", "data"};
const char* const kPeople[] = {"Иван", "Мария", "Пётр", "Ольга", "admin", "user", "Сергей", "Anna"};
const char* const kTlds[] = {".com", ".net", ".org", ".ru", ".de", ".info", ".su", ".io"};
const char* const kSubdomains[] = {"www", "files", "download", "cdn", "mirror", "dl", "static", ""};
const char* const kSchemes[] = {"http://", "https://", "ftp://"};
const char* const kExtensions[] = {".pdf", ".exe", ".mp3", ".avi", ".zip",  ".tar.gz",
                                   ".doc", ".iso", ".mkv", ".rar", ".flac", ".djvu"};
const char* const kTypes[] = {"application/pdf",
                              "application/octet-stream",
                              "audio/mpeg",
                              "video/x-msvideo",
                              "application/zip",
                              "video/x-matroska",
                              "application/x-rar-compressed",
                              "image/vnd.djvu"};
const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kUnknown[] = {"Referer",  "Cookie",   "UserAgent", "Priority", "Mirror",
                                "Segments", "Checksum", "Category2", "Login",    "Speed"};
const char* const kPunctuation[] = {", ", ". ", "! ", "? ", " - ", "; ", " ", " ", " ", " "};

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}
  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(engine_()) % bound; }
  bool OneIn(uint32_t n) { return Below(n) == 0; }
  template <size_t N>
  const char* Pick(const char* const (&items)[N]) {
    return items[Below(N)];
  }

 private:
  std::mt19937 engine_;
};

// Numbers and dates must stay valid whatever the shape; texts take anything.
enum class Kind { Number, Date, Text };

struct Field {
  const char* Name;
  std::string Value;  // raw, unescaped
  Kind FieldKind;
};

std::string Escape(const std::string& raw) {
  std::string out;
  out.reserve(raw.size());
  for (const char c : raw) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

class Generator {
 public:
  Generator(const ListShape& shape, long count)
      : shape_(shape), count_(count), random_(20261209u ^ static_cast<uint32_t>(count)) {}

  void Begin(std::string& out) {
    if (shape_.Bom) out += "\xEF\xBB\xBF";
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    Eol(out);
    out += "<DownloadList Version=\"" + std::to_string(3 + random_.Below(3)) + "\" NextID=\"" +
           std::to_string(count_ + 1) + "\">";
  }

  void Download(long index, std::string& out) {
    const auto id = static_cast<unsigned>(index + 1);
    if (shape_.LongComments && random_.OneIn(16)) {
      Eol(out);
      Indent(1, out);
      out += "<!-- " + Sentences(1000 + random_.Below(5000), true) + " -->";
    }
    std::vector<Field> fields = Fields(id);
    if (shape_.Shuffled) {
      for (size_t i = fields.size(); i > 1; --i)
        std::swap(fields[i - 1], fields[random_.Below(static_cast<uint32_t>(i))]);
    }
    Eol(out);
    Indent(1, out);
    out += "<DownloadFile>";
    for (const Field& field : fields)
      WriteField(field, out);
    if (shape_.Unknown) Unknown(out);
    Eol(out);
    Indent(1, out);
    out += "</DownloadFile>";
  }

  void End(std::string& out) {
    Eol(out);
    out += "</DownloadList>";
    Eol(out);
  }

 private:
  std::string Word() { return random_.OneIn(2) ? random_.Pick(kRussian) : random_.Pick(kLatin); }

  std::string Words(unsigned count, const char* separator) {
    std::string text = Word();
    for (unsigned i = 1; i < count; ++i)
      text += separator + Word();
    return text;
  }

  // A sentence-like text of about `length` bytes; with line breaks, it runs
  // over several lines as a text typed into a comment does.
  std::string Sentences(unsigned length, bool lines) {
    std::string text = Word();
    unsigned lineStart = 0;
    while (text.size() < length) {
      text += random_.Pick(kPunctuation);
      text += Word();
      if (lines && text.size() - lineStart > 60 + random_.Below(40)) {
        Eol(text);
        Indent(3, text);
        lineStart = static_cast<unsigned>(text.size());
      }
    }
    return text;
  }

  // Built one piece after the other, so that the random choices come in a
  // fixed order.
  std::string Host() {
    std::string host = random_.Pick(kSchemes);
    const std::string sub = random_.Pick(kSubdomains);
    if (!sub.empty()) host.append(sub).append(".");
    host += random_.Pick(kLatin);
    if (random_.OneIn(3)) host.append("-").append(Word());
    host += random_.Pick(kTlds);
    if (random_.OneIn(8)) host.append(":").append(std::to_string(8000 + random_.Below(1000)));
    return host;
  }

  std::string Folder() {
    std::string folder = random_.OneIn(3) ? "C:\\" : random_.OneIn(2) ? "D:\\" : "E:\\";
    folder += random_.OneIn(2) ? "Загрузки" : "Downloads";
    if (random_.OneIn(2)) folder.append("\\").append(random_.Pick(kPeople));
    for (unsigned i = random_.Below(3); i > 0; --i)
      folder.append("\\").append(Word());
    return folder;
  }

  std::string FileName(unsigned id) {
    const char* separators[] = {"_", "-", " ", "."};
    std::string name = Words(1 + random_.Below(4), separators[random_.Below(4)]);
    if (random_.OneIn(3))
      name += "_v" + std::to_string(random_.Below(10)) + "." + std::to_string(random_.Below(20));
    return name + "_" + std::to_string(id) + random_.Pick(kExtensions);
  }

  std::string Comment() {
    if (shape_.LongComments && random_.OneIn(8)) return Sentences(2000 + random_.Below(6000), true);
    switch (random_.Below(4)) {
      case 0: return "";
      case 1: return Words(1 + random_.Below(3), " ");
      default: return Sentences(10 + random_.Below(120), false);
    }
  }

  std::vector<Field> Fields(unsigned id) {
    const std::string saveDir = Folder();
    const std::string name = FileName(id);
    const unsigned year = 2003 + random_.Below(20);
    const int64_t size = static_cast<int64_t>(random_.Below(1u << 30)) * (1 + random_.Below(4));
    const unsigned state = random_.Below(8);
    char lastModified[64];
    std::snprintf(lastModified, sizeof lastModified, "%s, %02u %s %u %02u:%02u:%02u GMT",
                  random_.Pick(kDays), 1 + random_.Below(28), random_.Pick(kMonths), year,
                  random_.Below(24), random_.Below(60), random_.Below(60));
    char date[32];
    std::snprintf(date, sizeof date, "%02u/%02u/%u %02u:%02u:%02u", 1 + random_.Below(12),
                  1 + random_.Below(28), year, random_.Below(24), random_.Below(60),
                  random_.Below(60));
    std::string url = Host() + "/" + Words(1 + random_.Below(3), "/") + "/" + name;
    if (random_.OneIn(3))
      url += "?id=" + std::to_string(id) + "&mirror=" + std::to_string(random_.Below(9));
    return {
        {"ID", std::to_string(id), Kind::Number},
        {"URL", url, Kind::Text},
        {"FileName", saveDir + "\\" + name, Kind::Text},
        {"State", std::to_string(state), Kind::Number},
        {"Size", std::to_string(size), Kind::Number},
        {"SaveDir", saveDir, Kind::Text},
        {"DownloadedSize", std::to_string(state == 2 ? size : size / (2 + random_.Below(5))),
         Kind::Number},
        {"LastModified", lastModified, Kind::Text},
        {"ResumeMode", std::to_string(random_.Below(3)), Kind::Number},
        {"Date", date, Kind::Date},
        {"DownloadTime", std::to_string(random_.Below(100000)), Kind::Number},
        {"NodeID", std::to_string(3 + random_.Below(12)), Kind::Number},
        {"Comment", Comment(), Kind::Text},
        {"ContentType", random_.Pick(kTypes), Kind::Text},
    };
  }

  // Text with references in place of some of its characters: the five
  // predefined entities and character references, decimal and hexadecimal.
  std::string WithReferences(const std::string& raw, bool addText) {
    std::string out;
    for (const char c : raw) {
      const auto byte = static_cast<unsigned char>(c);
      if (c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') {
        out += c == '&'   ? "&amp;"
               : c == '<' ? "&lt;"
               : c == '>' ? "&gt;"
               : c == '"' ? "&quot;"
                          : "&apos;";
      } else if (byte < 0x80 && byte > ' ' && random_.OneIn(6)) {
        char reference[16];
        std::snprintf(reference, sizeof reference, random_.OneIn(2) ? "&#%u;" : "&#x%X;", byte);
        out += reference;
      } else {
        out += c;
      }
    }
    if (addText && random_.OneIn(2))
      out += " &quot;" + Word() + "&quot; &amp; &lt;" + Word() + "&gt;";
    return out;
  }

  void WriteField(const Field& field, std::string& out) {
    if (shape_.Sparse && random_.OneIn(6)) return;  // missing
    Eol(out);
    Indent(2, out);
    const std::string name = field.Name;
    if (shape_.Sparse && random_.OneIn(6)) {
      const char* empty[] = {"></", "/>", "> </"};
      const unsigned form = random_.Below(3);
      out += "<" + name + empty[form] + (form == 1 ? "" : name + ">");
      return;
    }
    out += "<" + name + ">";
    if (field.FieldKind != Kind::Number && shape_.CData && random_.OneIn(4)) {
      const bool markup = field.FieldKind == Kind::Text && random_.OneIn(3);
      out += "<![CDATA[" + field.Value + (markup ? " <b>&</b>" : "") + "]]>";
    } else if (field.FieldKind != Kind::Number && shape_.References && random_.OneIn(10)) {
      out += WithReferences(field.Value, field.FieldKind == Kind::Text);
    } else {
      out += Escape(field.Value);
    }
    out += "</" + name + ">";
  }

  void Unknown(std::string& out) {
    for (unsigned n = 1 + random_.Below(3); n > 0; --n) {
      const std::string name = random_.Pick(kUnknown);
      Eol(out);
      Indent(2, out);
      switch (random_.Below(4)) {
        case 0: out += "<" + name + "/>"; break;
        case 1:
          out += "<" + name + " kind=\"" + Word() + "\" n=\"" + std::to_string(random_.Below(99)) +
                 "\">" + Escape(Sentences(5 + random_.Below(60), false)) + "</" + name + ">";
          break;
        case 2:
          out += "<" + name + ">";
          for (unsigned i = 1 + random_.Below(3); i > 0; --i) {
            Eol(out);
            Indent(3, out);
            out += "<Item>" + Escape(Host() + "/" + Word()) + "</Item>";
          }
          Eol(out);
          Indent(2, out);
          out += "</" + name + ">";
          break;
        default:
          out += "<" + name + ">" + Escape(Words(1 + random_.Below(5), " ")) + "</" + name + ">";
      }
    }
  }

  void Eol(std::string& out) {
    if (shape_.MixedLines) {
      const unsigned kind = random_.Below(3);
      out += kind == 0 ? "\r\n" : kind == 1 ? "\n" : "\r";
    } else {
      out += shape_.LfOnly ? "\n" : "\r\n";
    }
  }

  void Indent(unsigned depth, std::string& out) {
    out.append(depth * (shape_.Tabs ? 1 : 2), shape_.Tabs ? '\t' : ' ');
  }

  const ListShape& shape_;
  long count_;
  Random random_;
};

}  // namespace

bool AddShape(std::string_view name, ListShape& shape) {
  if (name == "plain") return true;
  if (name == "all") {
    ListShape all{true, true, false, true, true, true, true, true, true, true};
    shape = all;
    return true;
  }
  const std::pair<const char*, bool ListShape::*> switches[] = {
      {"refs", &ListShape::References},
      {"cdata", &ListShape::CData},
      {"lf", &ListShape::LfOnly},
      {"mixed-eol", &ListShape::MixedLines},
      {"long-comments", &ListShape::LongComments},
      {"sparse", &ListShape::Sparse},
      {"shuffled", &ListShape::Shuffled},
      {"unknown", &ListShape::Unknown},
      {"bom", &ListShape::Bom},
      {"tabs", &ListShape::Tabs},
  };
  for (const auto& [switchName, member] : switches) {
    if (name == switchName) {
      shape.*member = true;
      return true;
    }
  }
  return false;
}

void WriteShapedList(long count, const ListShape& shape, std::ostream& out) {
  Generator generator(shape, count);
  std::string text;
  generator.Begin(text);
  for (long i = 0; i < count; ++i) {
    generator.Download(i, text);
    if (text.size() > (1u << 20)) {
      out << text;
      text.clear();
    }
  }
  generator.End(text);
  out << text;
}

}  // namespace brimlow::bench
