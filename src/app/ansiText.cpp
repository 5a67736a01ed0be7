#include "app/ansiText.h"

#include "platform/platform.h"

namespace brimlow {

namespace {
constexpr unsigned kUtf8CodePage = 65001;
}  // namespace

QString FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  platform::Platform& os = platform::current();
  if (os.activeCodePage() == kUtf8CodePage)
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const std::u16string wide = os.ansiToWide(text);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string ToAnsi(const QString& text) {
  if (text.isEmpty()) return {};
  platform::Platform& os = platform::current();
  if (os.activeCodePage() == kUtf8CodePage) return text.toStdString();
  return os.wideToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<size_t>(text.size())));
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace brimlow
