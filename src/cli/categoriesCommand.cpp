// brimlow-cli categories FILE [--find ID]: the categories the program keeps
// from a category file, one JSON object per line in collection order, or
// only the one that the lookup by ID finds (null when none).

#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
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
  std::string file;
  std::optional<std::string> findText;
  CommandParser parser(
      "categories",
      "Prints the categories the program keeps from a category file, one JSON object per line "
      "in collection order, or only the one that the lookup by ID finds (null when none).");
  parser.add_option("FILE", file, "The category file")->required();
  parser.add_option("--find", findText, "Prints only the category the lookup by ID finds")
      ->type_name("ID");
  if (!parser.parseArguments(arguments, out)) return;

  std::optional<int32_t> findId;
  if (findText) {
    try {
      findId = StrToInt32(*findText);
    } catch (const EConvertError&) {
      throw UsageError("--find: " + *findText + " is not a category ID");
    }
  }

  const TCategoryList list(file);
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
