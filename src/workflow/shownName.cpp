#include "workflow/shownName.h"

namespace brimlow {

namespace {

#ifdef _WIN32
constexpr const char* kNameSeparators = "\\:";
#else
constexpr const char* kNameSeparators = "\\:/";
#endif

}  // namespace

std::string_view ShownNamePart(const Tdownload& download) {
  const std::string_view file = download.FileName;
  const size_t separator = file.find_last_of(kNameSeparators);
  const std::string_view name =
      separator == std::string_view::npos ? file : file.substr(separator + 1);
  if (!name.empty()) return name;
  const std::string_view url = download.URL;
  const size_t slash = url.rfind('/');
  return slash == std::string_view::npos ? url : url.substr(slash + 1);
}

}  // namespace brimlow
