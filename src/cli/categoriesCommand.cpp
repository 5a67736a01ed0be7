// brimlow-cli categories FILE [--find ID]: the categories the program keeps
// from a category file, one JSON object per line in collection order, or
// only the one that the lookup by ID finds (null when none).

#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "data/categories.h"
#include "data/convert.h"

namespace brimlow::cli {

namespace {

void WriteCategory(std::ostream& out, const Tcategory& category) {
  out << "{\"ID\":" << category.ID << ",\"ImageIndex\":" << category.ImageIndex << ",\"Name\":";
  writeJsonString(out, category.Name);
  out << ",\"ParentID\":" << category.ParentID << "}\n";
}

}  // namespace

void runCategories(const Arguments& arguments, std::ostream& out) {
  std::optional<std::string> file;
  std::optional<int32_t> findId;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--find") {
      if (findId || i + 1 == arguments.size()) throw UsageError("--find takes one category ID");
      try {
        findId = StrToInt32(arguments[++i]);
      } catch (const EConvertError&) {
        throw UsageError("--find takes a category ID");
      }
    } else if (!file) {
      file = arguments[i];
    } else {
      throw UsageError("categories takes one category file");
    }
  }
  if (!file) throw UsageError("categories takes one category file");

  const TCategoryList list(*file);
  if (findId) {
    if (const Tcategory* found = list.FindByID(*findId))
      WriteCategory(out, *found);
    else
      out << "null\n";
    return;
  }
  for (int i = 0; i < list.Count(); ++i)
    WriteCategory(out, list[i]);
}

}  // namespace brimlow::cli
