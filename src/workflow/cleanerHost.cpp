// TCleaner: the control of the host process.
#include <algorithm>
#include <chrono>

#include "platform/commandLine.h"
#include "platform/platform.h"
#include "workflow/cleaner.h"
#include "workflow/hostProcess.h"
#include "workflow/workflowText.h"

namespace brimlow {

namespace {

// Only the letters a to z change.
std::string AsciiUpper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  });
  return text;
}

}  // namespace

bool IsProcessRunning(const std::string& exeName) {
  const std::optional<std::vector<std::string>> texts = platform::current().runningProcessTexts();
  if (!texts) return false;
  const std::string wanted = AsciiUpper(exeName);
  // Every entry is looked at, as the snapshot is walked to its end.
  bool found = false;
  for (const std::string& text : *texts)
    if (AsciiUpper(platform::executableFileNamePart(text)) == wanted || AsciiUpper(text) == wanted)
      found = true;
  return found;
}

void TCleaner::ControlHost(bool restart) {
  if (!FHostControl) return;
  if (!restart && !IsProcessRunning(kHostProcess)) return;
  // Without the executable's path there is nothing to start.
  if (FHostExeFile.empty()) return;
  platform::current().startCommandLine(restart ? FHostExeFile : FHostExeFile + kHostExitArgument);
  if (!restart) WaitForHostToEnd();
}

void TCleaner::SetHostExitWait(std::chrono::milliseconds timeout, std::chrono::milliseconds poll) {
  FHostExitTimeout = timeout;
  FHostExitPoll = std::max(poll, std::chrono::milliseconds(1));
}

void TCleaner::WaitForHostToEnd() {
  // The host writes its own files as it ends; whatever this program writes
  // must come after that, or the host would write over it.
  struct TWaitEnds {
    TCleanerFrontEnd& frontEnd;
    ~TWaitEnds() { frontEnd.HostWaitEnded(); }
  };
  FFrontEnd->HostWaitStarted();
  const TWaitEnds ends{*FFrontEnd};
  const auto start = std::chrono::steady_clock::now();
  while (IsProcessRunning(kHostProcess) &&
         std::chrono::steady_clock::now() - start < FHostExitTimeout)
    FFrontEnd->HostWaitPause(FHostExitPoll);
}

std::string HostWaitText() {
  return AnsiText("Ожидание завершения Tarvolt...");
}

}  // namespace brimlow
