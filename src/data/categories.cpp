#include "data/categories.h"

#include "data/convert.h"
#include "platform/platform.h"
#include "xml/xmlScanner.h"

namespace brimlow {

TCategoryList::TCategoryList(std::string fileName)
    : FFileName(std::move(fileName)), FScanner(std::make_unique<TXmlEventScanner>()) {
  FMap.reserve(100);
  if (!FFileName.empty()) Load();
}

TCategoryList::~TCategoryList() = default;

const Tcategory* TCategoryList::FindByID(int32_t id) const {
  const auto found = FMap.find(id);
  return found == FMap.end() ? nullptr : &FItems[found->second];
}

std::optional<int32_t> TCategoryList::ParentOf(int32_t id) const {
  const auto found = FParents.find(id);
  if (found == FParents.end()) return std::nullopt;
  return found->second;
}

void TCategoryList::Load() {
  if (!platform::current().fileExists(FFileName)) return;
  FScanner->OnStartTag = [this](TCustomEventScanner&, const std::string& tagName,
                                const TAttrList&) { OnStartTag(tagName); };
  FScanner->OnEndTag = [this](TCustomEventScanner&, const std::string& tagName) {
    OnEndTag(tagName);
  };
  FScanner->OnContent = [this](TCustomEventScanner&, const std::string& content) {
    OnContent(content);
  };
  FScanner->SetFilename(FFileName);
  FScanner->Run();
  // A file cut short leaves elements open; each is decided as if its end tag
  // had come, so that every record kept has ParentID 2.
  while (!FOpenNodes.empty())
    CloseNode();
  FScanner->Tokenizer().Reset();
}

void TCategoryList::OnStartTag(const std::string& name) {
  FCurrentElement = name;
  if (name == "MyNode") {
    FItems.emplace_back();
    FOpenNodes.push_back(FItems.size() - 1);
    FCurrent = static_cast<int>(FItems.size() - 1);
  }
}

void TCategoryList::OnContent(const std::string& text) {
  if (FCurrent < 0) return;
  Tcategory& record = FItems[static_cast<size_t>(FCurrent)];
  if (FCurrentElement == "ID")
    record.ID = StrToInt32(text);
  else if (FCurrentElement == "Name")
    record.Name = text;
  else if (FCurrentElement == "ImageIndex")
    record.ImageIndex = StrToInt32(text);
  else if (FCurrentElement == "ParentID")
    record.ParentID = StrToInt32(text);
}

void TCategoryList::OnEndTag(const std::string& name) {
  // An end tag without a MyNode open ends nothing: it must not remove a
  // category kept before it.
  if (name == "MyNode" && !FOpenNodes.empty()) CloseNode();
}

void TCategoryList::CloseNode() {
  const size_t position = FOpenNodes.back();
  FOpenNodes.pop_back();
  FParents.try_emplace(FItems[position].ID, FItems[position].ParentID);
  if (FItems[position].ParentID == 2) {
    // The first category put under an ID is the one found.
    FMap.try_emplace(FItems[position].ID, position);
    // Content after the end goes to the enclosing MyNode, or, outside any,
    // still to this one.
    FCurrent = static_cast<int>(FOpenNodes.empty() ? position : FOpenNodes.back());
    return;
  }
  const bool last = position + 1 == FItems.size();
  FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(position));
  if (!last) {
    // Categories kept inside this one lie behind it and move down.
    for (auto& entry : FMap) {
      if (entry.second > position) --entry.second;
    }
  }
  FCurrent = FOpenNodes.empty() ? -1 : static_cast<int>(FOpenNodes.back());
}

}  // namespace brimlow
