#include "data/download.h"

#include <cstdio>

#include "platform/platform.h"

namespace brimlow {

void Tdownload::AssignFrom(const Tdownload& source) {
  // Every field, the comment and the extra elements too: a download moved to
  // the trash and back, or saved with the trash, must keep all it had.
  *this = source;
}

bool Tdownload::FileExistsOnDisk() const {
  return !FileName.empty() && platform::current().fileExists(FileName);
}

std::string Tdownload::SizeText() const {
  return SizeToText(Size);
}

std::string SizeToText(int64_t bytes) {
  constexpr uint64_t kKilo = 1024;
  constexpr uint64_t kMega = kKilo * 1024;
  constexpr uint64_t kGiga = kMega * 1024;
  uint64_t unit = kKilo;
  const char* unitName = "KB";
  if (bytes >= static_cast<int64_t>(kGiga)) {
    unit = kGiga;
    unitName = "GB";
  } else if (bytes >= static_cast<int64_t>(kMega)) {
    unit = kMega;
    unitName = "MB";
  }
  // Rounded in integers on the exact quotient, half away from zero: printf
  // would round the binary double half to even (0.125 would show as 0.12).
  const bool negative = bytes < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(bytes) : static_cast<uint64_t>(bytes);
  const uint64_t remainder = magnitude % unit;
  const uint64_t hundredths = magnitude / unit * 100 + (remainder * 200 + unit) / (2 * unit);
  char text[48];
  std::snprintf(text, sizeof text, "%s%llu%c%02llu %s", negative && hundredths ? "-" : "",
                static_cast<unsigned long long>(hundredths / 100),
                platform::current().decimalSeparator(),
                static_cast<unsigned long long>(hundredths % 100), unitName);
  return text;
}

}  // namespace brimlow
