#include "workflow/filesRecord.h"

#include <sstream>

namespace brimlow {

namespace {

constexpr std::string_view kHeader = "brimlow files 1";
constexpr std::string_view kRecycled = "recycled";
constexpr std::string_view kErased = "erased";

// A field may hold any byte but the separators, which are written as "%"
// and two hex digits ("%" itself too).
std::string Escaped(std::string_view field) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : field) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      out += '%';
      out += kHex[static_cast<unsigned char>(c) >> 4];
      out += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unescaped(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      out += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return std::nullopt;
    const int high = HexDigit(field[i + 1]);
    const int low = HexDigit(field[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

}  // namespace

std::string FilesRecordPath(const std::string& backupPath) {
  return backupPath + ".files";
}

std::string FilesRecordText(const TFilesRecord& record) {
  std::string text = std::string(kHeader) + "\n";
  for (const platform::RecycledFile& file : record.recycled)
    text += std::string(kRecycled) + "\t" + Escaped(file.originalPath) + "\t" +
            Escaped(file.binPath) + "\t" + Escaped(file.info) + "\n";
  for (const std::string& file : record.erased)
    text += std::string(kErased) + "\t" + Escaped(file) + "\n";
  return text;
}

TFilesRecord ParseFilesRecord(const std::string& text) {
  TFilesRecord record;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string_view> fields = Fields(line);
    std::vector<std::string> values;
    for (size_t i = 1; i < fields.size(); ++i) {
      std::optional<std::string> value = Unescaped(fields[i]);
      if (!value) break;
      values.push_back(std::move(*value));
    }
    if (values.size() + 1 != fields.size()) continue;
    if (fields[0] == kRecycled && values.size() == 3)
      record.recycled.push_back({values[0], values[1], values[2]});
    else if (fields[0] == kErased && values.size() == 1)
      record.erased.push_back(values[0]);
  }
  return record;
}

std::optional<TFilesRecord> ReadFilesRecord(const std::string& backupPath) {
  const std::string path = FilesRecordPath(backupPath);
  platform::Platform& os = platform::current();
  if (!os.fileExists(path)) return std::nullopt;
  try {
    return ParseFilesRecord(os.readFile(path));
  } catch (const platform::EPlatformError&) {
    return std::nullopt;
  }
}

}  // namespace brimlow
