#include "cli/commands.h"

namespace brimlow::cli {

// Each command lives in a file of its own.
void runDump(const Arguments& arguments, std::ostream& out);
void runCategories(const Arguments& arguments, std::ostream& out);
void runEvents(const Arguments& arguments, std::ostream& out);
void runSave(const Arguments& arguments, std::ostream& out);
void runBackup(const Arguments& arguments, std::ostream& out);
void runClean(const Arguments& arguments, std::ostream& out);
void runRestore(const Arguments& arguments, std::ostream& out);
void runSummary(const Arguments& arguments, std::ostream& out);

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"dump", "[--csv] LIST", "Prints a downloads list as the program reads it", runDump},
      {"categories", "FILE [--find ID]", "Prints the categories kept from a category file",
       runCategories},
      {"save", "LIST OUT", "Writes a list in the host's format, as the program rewrites it",
       runSave},
      {"backup", "LIST OUT", "Writes a list's text as loaded, as the program writes a backup copy",
       runBackup},
      {"events", "[--raw] FILE", "Prints every event the XML event scanner delivers for a file",
       runEvents},
      {"clean",
       "[LIST] [filter options] [--all] [--copy] [--action ACTION] [--no-backup] [--dry-run] "
       "[--no-host-control]",
       "Marks downloads with the filter and executes the trash action on them", runClean},
      {"summary", "[LIST] --by category|year|state|file [--csv]",
       "Prints where the space of a list goes, broken down one way, biggest first", runSummary},
      {"restore", "BACKUP [LIST] [--no-host-control]",
       "Puts a backup copy back in place of the list", runRestore},
  };
  return all;
}

}  // namespace brimlow::cli
