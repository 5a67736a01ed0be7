// brimlow-cli summary [LIST] --by category|year|state|file [--csv]: the list's
// overview as the window's "Обзор списка" shows it, one JSON object per row,
// biggest first, then the total; with --csv the same as CSV rows in UTF-8.

#include <ostream>

#include "cli/commands.h"
#include "cli/jsonOutput.h"
#include "cli/options.h"
#include "cli/workList.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "workflow/cleaner.h"
#include "workflow/csvWriter.h"
#include "workflow/overview.h"

namespace brimlow::cli {

namespace {

std::vector<std::string> AxisWords() {
  std::vector<std::string> words;
  for (const TOverviewAxisChoice& choice : OverviewAxes())
    words.emplace_back(choice.word);
  return words;
}

TOverviewAxis AxisOf(const std::string& word) {
  for (const TOverviewAxisChoice& choice : OverviewAxes())
    if (choice.word == word) return choice.axis;
  throw UsageError("--by: " + word + " is no breakdown");
}

void WriteJson(std::ostream& out, const TOverview& overview) {
  for (const TOverviewRow& row : overview.rows) {
    out << "{\"key\":";
    writeJsonString(out, row.key);
    out << ",\"count\":" << row.count << ",\"size\":" << row.size << "}\n";
  }
  out << "{\"total\":" << overview.count << ",\"size\":" << overview.size << "}\n";
}

// A header row, the rows, then the total under the key "(total)".
void WriteCsv(std::ostream& out, const TOverview& overview) {
  TCsvWriter csv;
  csv.Row({"key", "count", "size"});
  for (const TOverviewRow& row : overview.rows)
    csv.Row({platform::utf16ToUtf8(platform::current().ansiToWide(row.key)),
             std::to_string(row.count), std::to_string(row.size)});
  csv.Row({"(total)", std::to_string(overview.count), std::to_string(overview.size)});
  out << csv.Text();
}

}  // namespace

void runSummary(const Arguments& arguments, std::ostream& out) {
  std::optional<std::string> list;
  std::string by;
  bool csv = false;
  CommandParser parser(
      "summary",
      "Prints where the space of a downloads list goes: its downloads broken down by category "
      "(with the categories below each), by year, by state or by the state of their files, one "
      "row per key with its count and size in bytes, biggest first, then the total.");
  parser.add_option("LIST", list, "The downloads list (default: the host's current list)");
  parser.add_option("--by", by, "The breakdown")->required()->check(CLI::IsMember(AxisWords()));
  parser.addFlagOnce("--csv", csv, "CSV rows in UTF-8 instead of JSON lines");
  if (!parser.parseArguments(arguments, out)) return;

  TCleaner cleaner;
  const std::string file = workList(cleaner, list, false);
  cleaner.LoadCategoriesFor(file);
  cleaner.LoadList(file);
  const TOverview overview = cleaner.Overview(AxisOf(by));
  if (csv)
    WriteCsv(out, overview);
  else
    WriteJson(out, overview);
}

}  // namespace brimlow::cli
