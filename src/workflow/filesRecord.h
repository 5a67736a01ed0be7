#pragma once

// The record an execution keeps beside its backup copy of what it did to
// files: where each file was and where it went, so that undoing the
// execution can put the recycled ones back.  A text file of one line per
// file; the backup menu lists only "*.xml", so the record never shows there.

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace brimlow {

struct TFilesRecord {
  std::vector<platform::RecycledFile> recycled;
  std::vector<std::string> erased;
  bool operator==(const TFilesRecord&) const = default;
};

// The record's path for a backup copy's path.
std::string FilesRecordPath(const std::string& backupPath);

std::string FilesRecordText(const TFilesRecord& record);
// Lines it does not understand are skipped, so that a damaged record still
// gives back what it can.
TFilesRecord ParseFilesRecord(const std::string& text);

// None when the backup copy has no record (an execution that touched no
// file, or one from before records were kept) or it cannot be read.
std::optional<TFilesRecord> ReadFilesRecord(const std::string& backupPath);

}  // namespace brimlow
