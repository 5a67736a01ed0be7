#pragma once

// One download of the host's list, and the size text every view of a size
// goes through.

#include <cstdint>
#include <string>
#include <vector>

#include "data/dateTime.h"

namespace brimlow {

// Known state codes; any other value from 0 to 255 is carried as it is.
enum TDownloadState : uint8_t {
  StatePaused = 0,
  StateComplete = 2,
  StateDownloading = 3,
  StateError = 4,
  StateScheduled = 6,
};

class Tdownload {
 public:
  std::string FileName;
  int64_t DownloadedSize = 0;
  std::string LastModified;
  uint8_t State = 0;
  uint32_t ID = 0;
  std::string SaveDir;
  uint8_t ResumeMode = 0;
  int64_t Size = 0;
  std::string URL;
  TDateTime Date = 0;
  int32_t DownloadTime = 0;
  std::string ContentType;
  int32_t NodeID = 0;
  std::string Comment;
  // One "name;text" entry per element of the download that is none of the
  // fourteen known ones, in the order read.
  std::vector<std::string> ExtraElements;

  // Makes this record a copy of `source`, comment and extra elements
  // included, so that a download moved to the trash and back loses nothing.
  void AssignFrom(const Tdownload& source);

  // True when FileName names an existing file that is not a folder.
  bool FileExistsOnDisk() const;

  std::string SizeText() const;

  bool operator==(const Tdownload&) const = default;
};

// "%2.2f %s" of the count in KB, MB or GB, with the locale's decimal separator.
std::string SizeToText(int64_t bytes);

}  // namespace brimlow
