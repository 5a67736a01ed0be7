#include "workflow/workflowText.h"

#include "platform/platform.h"
#include "platform/unicode.h"

namespace brimlow {

std::string AnsiText(std::string_view utf8) {
  return platform::current().wideToAnsi(platform::utf8ToUtf16(utf8));
}

}  // namespace brimlow
