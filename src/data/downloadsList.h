#pragma once

// The ordered collection of downloads behind each tree: the opened list, read
// from the host's file, or the trash, which has no file.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/download.h"

namespace brimlow {

class TXmlEventScanner;
class TAttrList;

class TDownloadsList {
 public:
  // An empty list for `fileName`; when the name denotes an existing file the
  // list reads it, and a failure to read it is thrown (no list is produced).
  // An empty name gives the trash.
  explicit TDownloadsList(std::string fileName = {});
  ~TDownloadsList();
  TDownloadsList(const TDownloadsList&) = delete;
  TDownloadsList& operator=(const TDownloadsList&) = delete;

  // Appends a record with initial values; the reference holds until the next
  // change of the collection.
  Tdownload& Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  Tdownload& operator[](int index) { return FItems[static_cast<size_t>(index)]; }
  const Tdownload& operator[](int index) const { return FItems[static_cast<size_t>(index)]; }
  void Delete(int index);
  // Deletes the records at the given positions, which ascend, in one pass.
  void DeleteMany(std::span<const int> ascendingPositions);
  void Clear();

  const std::string& FileName() const { return FFileName; }
  const std::string& LoadedText() const { return FLoadedText; }
  // The room, in parts of the file's size, that a load reserves beyond the
  // file for the kept text to grow into its CR LF form.  Lines are some tens
  // of bytes long, so an LF list grows by a few percent; a text of shorter
  // lines is copied instead.  Room never written costs no memory.
  static constexpr double kLineEndRoom = 0.125;
  const std::string& Version() const { return FVersion; }
  const std::string& NextID() const { return FNextID; }
  // Whether the load met characters that the active code page lacks: they
  // stand as its default character, and the list written back would lose
  // them.
  bool CharactersLost() const { return FCharactersLost; }

  // Writing: the list in the host's format, and the text as it was loaded.
  void Save() const;
  void SaveToFile(const std::string& fileName) const;
  void SaveLoadedText(const std::string& fileName) const;

 private:
  void Load();
  void OnStartTag(const std::string& name, const TAttrList& attributes);
  void OnContent(const std::string& text);
  std::string KeptContent(const std::string& text);

  std::string FFileName;
  std::string FLoadedText;
  std::string FVersion;
  std::string FNextID;
  std::vector<Tdownload> FItems;
  bool FCharactersLost = false;

  // Reading state.
  enum class TField : uint8_t;
  static TField FieldOf(std::string_view name);
  std::unique_ptr<TXmlEventScanner> FScanner;
  int FCurrent = -1;
  std::string FCurrentElement;
  TField FCurrentField{};  // what FCurrentElement names, worked out once per tag
  bool FInsideList = false;
};

}  // namespace brimlow
