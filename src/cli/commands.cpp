#include "cli/commands.h"

namespace brimlow::cli {

// Each command lives in a file of its own.
void runDump(const Arguments& arguments, std::ostream& out);
void runCategories(const Arguments& arguments, std::ostream& out);
void runEvents(const Arguments& arguments, std::ostream& out);
void runSave(const Arguments& arguments, std::ostream& out);
void runBackup(const Arguments& arguments, std::ostream& out);

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"dump", "LIST", runDump},
      {"categories", "FILE [--find ID]", runCategories},
      {"save", "LIST OUT", runSave},
      {"backup", "LIST OUT", runBackup},
      {"events", "[--raw] FILE", runEvents},
  };
  return all;
}

}  // namespace brimlow::cli
