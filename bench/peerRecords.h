#pragma once

// What the load benchmark's peers share: the records a downloads list
// fills, and the steps between a parser's events and those records (text
// folded as the program's reader folds it, UTF-8 into the code page, the
// number and date conversions).  Used only here, never in the program.

#include <string>
#include <string_view>
#include <vector>

#include "data/download.h"

namespace brimlow::bench {

struct PeerList {
  std::string Version;
  std::string NextID;
  std::vector<Tdownload> Items;
};

class RecordFiller {
 public:
  explicit RecordFiller(PeerList& list);

  // A start tag; `attribute` answers an attribute's raw value, or nullptr.
  template <class Attribute>
  void Start(std::string_view tag, Attribute attribute) {
    const bool isList = tag == "DownloadList";
    if (isList) {
      const char* version = attribute("Version");
      const char* nextId = attribute("NextID");
      list_.Version = version ? Translate(Fold(version)) : std::string();
      list_.NextID = nextId ? Translate(Fold(nextId)) : std::string();
    }
    StartElement(tag, isList);
  }
  // Text as the program's reader delivers it: trimmed, each run of white
  // space one blank, nothing at all when only white space.
  void Text(std::string_view raw);
  // A CDATA section arrives as it stands, even when empty.
  void CData(std::string_view raw) { Store(Translate(std::string(raw))); }

 private:
  void StartElement(std::string_view tag, bool isList);
  static std::string Fold(std::string_view text);
  std::string Translate(std::string text);
  void Store(const std::string& text);

  PeerList& list_;
  const bool utf8CodePage_;
  bool inside_ = false;
  Tdownload* current_ = nullptr;  // always the last record, set right after it is added
  std::string element_;
  int field_ = 0;
  std::u16string wide_;
};

}  // namespace brimlow::bench
