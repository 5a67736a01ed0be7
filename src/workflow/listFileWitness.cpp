#include "workflow/listFileWitness.h"

#include <functional>

#include "data/textLines.h"
#include "platform/platform.h"
#include "workflow/workflowErrors.h"

namespace brimlow {

TListFileWitness TListFileWitness::Missing() {
  return {};
}

TListFileWitness TListFileWitness::Holding(std::string_view crLfText) {
  TListFileWitness witness;
  witness.FExists = true;
  witness.FSize = crLfText.size();
  witness.FHash = std::hash<std::string_view>()(crLfText);
  return witness;
}

TListFileWitness TListFileWitness::OfFile(const std::string& fileName) {
  platform::Platform& os = platform::current();
  if (!os.fileExists(fileName)) return Missing();
  // The list keeps its text with CR LF line ends; a file that differs from it
  // in line ends alone holds the same downloads.
  std::string text = os.readFile(fileName);
  MakeCrLfLines(text);
  return Holding(text);
}

void TListFileWitness::RequireUnchanged(const std::string& fileName) const {
  const TListFileWitness now = OfFile(fileName);
  if (now == *this) return;
  if (!FExists) throw EListFileAppeared(fileName);
  throw EListFileChanged(fileName);
}

}  // namespace brimlow
