// Any bytes that load as a downloads list are saved and loaded again, twice.
// The count and the numbers of every record survive the first round; white
// space inside texts may not (a CDATA text is read as it stands and written
// back as ordinary text, which the reader then normalises), so from the
// second round on every field, extra elements included, must come back
// exactly, and saving again must give the same bytes.

#include <cstdlib>
#include <string>

#include "data/convert.h"
#include "data/downloadsList.h"
#include "dom/domErrors.h"
#include "memoryPlatform.h"
#include "targets.h"

namespace brimlow::fuzz {

namespace {

bool SameNumbers(const Tdownload& a, const Tdownload& b) {
  return a.ID == b.ID && a.State == b.State && a.Size == b.Size &&
         a.DownloadedSize == b.DownloadedSize && a.ResumeMode == b.ResumeMode && a.Date == b.Date &&
         a.DownloadTime == b.DownloadTime && a.NodeID == b.NodeID;
}

bool SameFields(const Tdownload& a, const Tdownload& b) {
  return SameNumbers(a, b) && a.URL == b.URL && a.FileName == b.FileName &&
         a.SaveDir == b.SaveDir && a.LastModified == b.LastModified && a.Comment == b.Comment &&
         a.ContentType == b.ContentType && a.ExtraElements == b.ExtraElements;
}

// A broken property must stop the fuzzer with the input that broke it.
void Require(bool property) {
  if (!property) std::abort();
}

}  // namespace

void RoundTripAnyList(std::string_view bytes) {
  MemoryPlatform memory{std::string(bytes)};
  platform::ScopedPlatform scoped(memory);
  try {
    const TDownloadsList first("fuzz.xml");
    first.SaveToFile("first.xml");
    const TDownloadsList second("first.xml");
    Require(second.Count() == first.Count());
    for (int i = 0; i < first.Count(); ++i)
      Require(SameNumbers(first[i], second[i]));

    second.SaveToFile("second.xml");
    const TDownloadsList third("second.xml");
    Require(third.Count() == second.Count());
    for (int i = 0; i < second.Count(); ++i)
      Require(SameFields(second[i], third[i]));
    third.SaveToFile("third.xml");
    Require(memory.written("third.xml") == memory.written("second.xml"));
  } catch (const EConvertError&) {
    // Not a list that loads; nothing to compare.
  } catch (const EDomException&) {
    // An extra element whose name the document tree refuses: the save fails
    // before anything is written, as it should.
  }
}

}  // namespace brimlow::fuzz
