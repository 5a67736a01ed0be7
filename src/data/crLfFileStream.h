#pragma once

// A file being written as the serializer's destination, in lines that each
// end with CR LF: a CR or LF on its own becomes CR LF, and a text that does
// not end with a line break gets one at the end.  The serializer already
// writes CR LF for every line feed, so normally the bytes pass unchanged.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "dom/codecs/stream.h"
#include "platform/platform.h"

namespace brimlow {

class TCrLfFileStream final : public codecs::TStream {
 public:
  // `file` is open for writing; failures name `target`.
  TCrLfFileStream(platform::Platform& os, platform::WriteHandle& file, const std::string& target)
      : FOs(os), FFile(file), FTarget(target) {}

  int64_t position() const override { return FPosition; }
  // The serializer only ever appends; any other position is refused.
  void setPosition(int64_t position) override;
  int64_t write(const void* bytes, int64_t count) override;

  // Ends the last line, and raises the first failure the writes met: the
  // serializer turns a failing destination into a false result, and the
  // last flush of its buffer drops the failure altogether.
  void finish();

 private:
  void put(std::string_view bytes);
  void writeLines(std::string_view bytes);

  platform::Platform& FOs;
  platform::WriteHandle& FFile;
  const std::string& FTarget;
  int64_t FPosition = 0;
  bool FAfterCr = false;     // the last block ended with a CR made into CR LF
  bool FAtLineStart = true;  // nothing written yet, or the last line ended
  std::exception_ptr FFailure;
};

}  // namespace brimlow
