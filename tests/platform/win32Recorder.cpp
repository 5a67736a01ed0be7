// A small program the Windows process tests start.  It writes what it was
// given into the file that BRIMLOW_RECORD names: its command line as the
// system handed it over or, with the single argument "version", what the
// platform layer reports of the system's version, one field a line, and the
// operating-system description the window builds from it.  The text
// goes to a side file first and is renamed into place, so that a test never
// reads half of it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "workflow/osDescription.h"
#include "platform/platform.h"

namespace {

std::string versionText() {
  const brimlow::platform::OsVersionInfo info = brimlow::platform::system().osVersion();
  char text[512];
  std::snprintf(text, sizeof text,
                "platform %u\nversion %u.%u\nservice %s\nextended %d\nservice pack %u\n"
                "product type %u\nx86 %d\nr2 %d\nkernel32 %u.%u\ndescription [%s]\n",
                info.platformId, info.majorVersion, info.minorVersion, info.serviceText.c_str(),
                info.hasExtendedInfo ? 1 : 0, info.servicePackMajor, info.productType,
                info.nativeArchitectureIsX86 ? 1 : 0, info.serverR2Metric, info.kernel32Major,
                info.kernel32Minor, brimlow::OsDescription().c_str());
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  char record[MAX_PATH] = {};
  if (::GetEnvironmentVariableA("BRIMLOW_RECORD", record, MAX_PATH) == 0) return 2;
  const std::string text =
      argc == 2 && std::strcmp(argv[1], "version") == 0 ? versionText() : ::GetCommandLineA();
  const std::string part = std::string(record) + ".part";
  std::FILE* out = std::fopen(part.c_str(), "wb");
  if (out == nullptr) return 3;
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
  return ::MoveFileExA(part.c_str(), record, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
