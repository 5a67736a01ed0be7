#pragma once

// Helpers shared by the XML reader's tests: a document tokenized from a
// string in one line, a readable form of each part, hexadecimal byte
// comparisons, and platforms that replace the code page or the file reading.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "../platform/delegatingPlatform.h"
#include "platform/platform.h"
#include "xml/xmlTokenizer.h"

namespace brimlow::testing {

// "Kind name {content} [a=1 b=2]" with the parts a kind sets.
inline std::string Describe(const TXmlTokenizer& tokenizer) {
  std::string out = DisplayName(tokenizer.PartKind());
  switch (tokenizer.PartKind()) {
    case TPartKind::StartTag:
    case TPartKind::EmptyTag:
    case TPartKind::EndTag: out += ' ' + tokenizer.PartName(); break;
    case TPartKind::PI:
      out += ' ' + tokenizer.PartName() + " {" + tokenizer.PartContent() + '}';
      break;
    case TPartKind::Text:
    case TPartKind::CData: out += " {" + tokenizer.PartContent() + '}'; break;
    case TPartKind::Comment:
      out += " {" + std::string(tokenizer.PartStart(), tokenizer.PartEnd() + 1) + '}';
      break;
    case TPartKind::DtdDeclaration: out += ' ' + tokenizer.DoctypeName(); break;
    default: break;
  }
  if (tokenizer.PartKind() == TPartKind::StartTag || tokenizer.PartKind() == TPartKind::EmptyTag ||
      tokenizer.PartKind() == TPartKind::XmlProlog || tokenizer.PartKind() == TPartKind::PI) {
    if (!tokenizer.PartAttributes().Empty()) {
      out += " [";
      bool first = true;
      for (const TAttr& attribute : tokenizer.PartAttributes()) {
        if (!first) out += ' ';
        first = false;
        out += attribute.Name + '=' + attribute.Value;
      }
      out += ']';
    }
  }
  return out;
}

// Every part of a scan, described.
inline std::vector<std::string> Scan(TXmlTokenizer& tokenizer) {
  std::vector<std::string> parts;
  tokenizer.BeginScan();
  while (tokenizer.NextPart())
    parts.push_back(Describe(tokenizer));
  return parts;
}

inline std::vector<std::string> Parts(const std::string& document, bool normalize = true) {
  TXmlTokenizer tokenizer;
  tokenizer.LoadText(document);
  tokenizer.SetNormalize(normalize);
  return Scan(tokenizer);
}

// Bytes in hexadecimal, for messages where bytes matter.
inline std::string Hex(const std::string& bytes) {
  std::string out;
  char buffer[4];
  for (const unsigned char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ", c);
    out += buffer;
  }
  if (!out.empty()) out.pop_back();
  return out;
}

inline ::testing::AssertionResult SameBytes(const std::string& expected,
                                            const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected bytes " << Hex(expected) << "\n  actual bytes " << Hex(actual);
}

// The active code page's form of some UTF-16 text, as the readers must
// produce it under whatever locale the test runs in.
inline std::string Ansi(std::u16string_view text) {
  return platform::current().wideToAnsi(text);
}

// Passes every call to the system's platform; tests override what they need.
using PassThroughPlatform = platform::testing::DelegatingPlatform;

// A Cyrillic single-byte code page: ASCII, the Russian letters and "?" for
// everything else.  It records the UTF-16 text it was asked to convert.
class Cp1251Platform : public PassThroughPlatform {
 public:
  std::string wideToAnsi(std::u16string_view text) override {
    received.emplace_back(text);
    std::string out;
    for (const char16_t c : text) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c >= 0x410 && c <= 0x44F) {
        out += static_cast<char>(0xC0 + (c - 0x410));
      } else if (c == 0x401) {
        out += '\xA8';
      } else if (c == 0x451) {
        out += '\xB8';
      } else {
        out += '?';
      }
    }
    return out;
  }
  std::u16string ansiToWide(std::string_view text) override {
    std::u16string out;
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x80) {
        out += static_cast<char16_t>(byte);
      } else if (byte >= 0xC0) {
        out += static_cast<char16_t>(0x410 + (byte - 0xC0));
      } else {
        out += byte == 0xA8 ? u'\u0401' : byte == 0xB8 ? u'\u0451' : u'?';
      }
    }
    return out;
  }
  unsigned activeCodePage() override { return 1251; }

  std::vector<std::u16string> received;
};

// Files served from memory; any other path cannot be opened.
class FilesPlatform : public PassThroughPlatform {
 public:
  std::string readFile(const std::string& path) override {
    reads.push_back(path);
    const auto found = files.find(path);
    if (found == files.end()) throw platform::EFOpenError(path, "No such file or directory");
    return found->second;
  }

  std::map<std::string, std::string> files;
  std::vector<std::string> reads;
};

}  // namespace brimlow::testing
