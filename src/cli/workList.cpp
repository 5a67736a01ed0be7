#include "cli/workList.h"

namespace brimlow::cli {

std::string workList(TCleaner& cleaner, const std::optional<std::string>& given, bool hostControl) {
  cleaner.SetHostControl(hostControl);
  if (!given || hostControl) {
    std::string current = cleaner.GetDefaultListName();
    if (!given) return current;
  }
  return *given;
}

}  // namespace brimlow::cli
