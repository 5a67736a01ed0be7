#include "platform/registryFile.h"

#include <algorithm>
#include <cctype>

#include "platform/unicode.h"

namespace brimlow::platform {

namespace {

char16_t foldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads an escaped text from `line` at `pos` up to (not including) `stop`,
// leaving `pos` on the stop character or at the end.
std::u16string readEscaped(std::string_view line, size_t& pos, char stop) {
  std::u16string out;
  size_t runStart = pos;
  auto flush = [&] { out += utf8ToUtf16(line.substr(runStart, pos - runStart)); };
  while (pos < line.size() && line[pos] != stop) {
    if (line[pos] != '\\' || pos + 1 >= line.size()) {
      ++pos;
      continue;
    }
    flush();
    const char escape = line[pos + 1];
    pos += 2;
    switch (escape) {
      case 'n': out += u'\n'; break;
      case 'r': out += u'\r'; break;
      case 't': out += u'\t'; break;
      case 'a': out += u'\a'; break;
      case 'b': out += u'\b'; break;
      case 'f': out += u'\f'; break;
      case 'v': out += u'\v'; break;
      case 'e': out += u'\x1b'; break;
      case 'x': {
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0) {
          value = value * 16 + static_cast<unsigned>(hexDigit(line[pos++]));
          ++digits;
        }
        if (digits == 0) {
          out += u'x';
        } else {
          out += static_cast<char16_t>(value);
        }
        break;
      }
      default:
        if (escape >= '0' && escape <= '7') {
          unsigned value = static_cast<unsigned>(escape - '0');
          for (int digits = 1;
               digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits) {
            value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
          }
          out += static_cast<char16_t>(value);
        } else {
          out += utf8ToUtf16(std::string_view(&escape, 1));
        }
    }
    runStart = pos;
  }
  flush();
  return out;
}

std::u16string normalisedKey(std::u16string_view key) {
  while (!key.empty() && key.front() == u'\\')
    key.remove_prefix(1);
  while (!key.empty() && key.back() == u'\\')
    key.remove_suffix(1);
  return std::u16string(key);
}

// The bytes of a hex: value, e.g. "01,02,ff".
std::vector<unsigned char> readHexBytes(std::string_view text) {
  std::vector<unsigned char> bytes;
  int high = -1;
  for (const char c : text) {
    const int digit = hexDigit(c);
    if (digit < 0) {
      high = -1;
      continue;
    }
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<unsigned char>(high * 16 + digit));
      high = -1;
    }
  }
  return bytes;
}

// The value text after "=".
RegistryValue readValue(std::string_view text) {
  RegistryValue value;
  size_t pos = 0;
  auto textAt = [&](size_t quote) {
    pos = quote + 1;
    value.type = RegistryValue::Type::Text;
    value.text = readEscaped(text, pos, '"');
  };
  if (text.starts_with('"')) {
    textAt(0);
  } else if (text.starts_with("str(")) {
    const size_t colon = text.find("):\"");
    if (colon != std::string_view::npos) {
      const std::string_view kind = text.substr(4, colon - 4);
      if (kind == "1" || kind == "2") textAt(colon + 2);
    }
  } else if (text.starts_with("dword:")) {
    const std::vector<unsigned char> digits = readHexBytes(text.substr(6));
    if (digits.size() == 4) {
      value.type = RegistryValue::Type::Integer;
      for (const unsigned char byte : digits)
        value.integer = (value.integer << 8) | byte;
    }
  } else if (text.starts_with("hex")) {
    // Text and integer types stored as bytes read as the registry gives them
    // back: UTF-16LE text without its terminating zero, a little-endian word.
    const size_t colon = text.find(':');
    const std::string_view kind = text.substr(0, colon == std::string_view::npos ? 0 : colon);
    const std::vector<unsigned char> bytes =
        readHexBytes(colon == std::string_view::npos ? "" : text.substr(colon + 1));
    if (kind == "hex(1)" || kind == "hex(2)") {
      value.type = RegistryValue::Type::Text;
      for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        value.text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
      }
      if (!value.text.empty() && value.text.back() == 0) value.text.pop_back();
    } else if (kind == "hex(4)" && bytes.size() == 4) {
      value.type = RegistryValue::Type::Integer;
      value.integer = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                      (static_cast<uint32_t>(bytes[2]) << 16) |
                      (static_cast<uint32_t>(bytes[3]) << 24);
    }
  }
  return value;
}

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const size_t end = std::min(text_.find('\n', pos_), text_.size());
    line = text_.substr(pos_, end - pos_);
    if (line.ends_with('\r')) line.remove_suffix(1);
    pos_ = end + 1;
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

const RegistryValue* RegistryKey::find(std::u16string_view name) const {
  const auto found = std::find_if(values.begin(), values.end(), [&](const auto& entry) {
    return sameRegistryName(entry.first, name);
  });
  return found == values.end() ? nullptr : &found->second;
}

bool sameRegistryName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return foldCase(x) == foldCase(y); });
}

std::optional<RegistryKey> findRegistryKey(std::string_view file, std::u16string_view key) {
  const std::u16string wanted = normalisedKey(key);
  LineReader lines(file);
  std::string_view line;
  bool inside = false;
  std::optional<RegistryKey> found;
  while (lines.next(line)) {
    if (line.starts_with('[')) {
      if (inside) break;
      size_t pos = 1;
      inside = sameRegistryName(normalisedKey(readEscaped(line, pos, ']')), wanted);
      if (inside) found.emplace();
      continue;
    }
    if (!inside || !(line.starts_with('"') || line.starts_with('@'))) continue;

    std::string joined;
    if (line.ends_with('\\')) {
      // A long value goes on over the lines that follow, each but the last
      // ending in "\".
      joined = line;
      std::string_view more;
      while (joined.ends_with('\\') && lines.next(more)) {
        joined.pop_back();
        while (!more.empty() && (more.front() == ' ' || more.front() == '\t'))
          more.remove_prefix(1);
        joined += more;
      }
      line = joined;
    }

    std::u16string name;
    size_t pos = 1;
    if (line.front() == '"') {
      name = readEscaped(line, pos, '"');
      ++pos;
    }
    if (pos >= line.size() || line[pos] != '=') continue;
    found->values.emplace_back(std::move(name), readValue(line.substr(pos + 1)));
  }
  return found;
}

}  // namespace brimlow::platform
