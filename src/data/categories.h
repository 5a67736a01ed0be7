#pragma once

// The host's categories directly below category 2, read from its category
// file, with the lookup by ID that chooses a download's icon.

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/category.h"

namespace brimlow {

class TXmlEventScanner;
class TAttrList;

class TCategoryList {
 public:
  // Reads `fileName` when it names an existing file; a missing file gives an
  // empty list.  A bad number in the file is thrown.
  explicit TCategoryList(std::string fileName);
  ~TCategoryList();
  TCategoryList(const TCategoryList&) = delete;
  TCategoryList& operator=(const TCategoryList&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  const Tcategory& operator[](int index) const { return FItems[static_cast<size_t>(index)]; }
  const std::string& FileName() const { return FFileName; }

  // The first category put under `id`, or none.
  const Tcategory* FindByID(int32_t id) const;
  // The ParentID of the first category read with `id`, kept or not, so that a
  // category further down the tree can be traced to the kept one above it;
  // none when the file has no category of that ID.
  std::optional<int32_t> ParentOf(int32_t id) const;

 private:
  void Load();
  void OnStartTag(const std::string& name);
  void OnEndTag(const std::string& name);
  void OnContent(const std::string& text);
  // Ends the innermost open MyNode: kept (and put into FMap) when its
  // ParentID is 2, otherwise removed from the collection.
  void CloseNode();

  std::string FFileName;
  std::vector<Tcategory> FItems;
  std::unordered_map<int32_t, size_t> FMap;       // ID -> position in FItems
  std::unordered_map<int32_t, int32_t> FParents;  // ID -> ParentID, of every category read

  // Reading state.
  std::unique_ptr<TXmlEventScanner> FScanner;
  int FCurrent = -1;               // position of the record that content goes to
  std::vector<size_t> FOpenNodes;  // positions of the MyNode elements not yet ended
  std::string FCurrentElement;
};

}  // namespace brimlow
