#pragma once

// The file pass of "Удалить вместе с файлами" and "Удалить только файлы":
// the file of each trash entry erased, or moved to the system's recycle bin,
// once per file, unless a download that stays in the list still names it.

#include <cstdint>

#include "workflow/filesRecord.h"

namespace brimlow {

class TDownloadsList;

struct TFilePassOutcome {
  int recycled = 0;
  int64_t recycledSize = 0;  // by the downloads' sizes
  int erased = 0;
  int absent = 0;       // not on disk already
  int shared = 0;       // kept: another download of the list names it
  int noBin = 0;        // kept: no recycle bin would take it
  int failed = 0;       // kept: locked, no right, or its drive is not there
  TFilesRecord record;  // what went where
};

// `list` is the list as the execution wrote it.  An entry of it that is the
// same download as a trash entry (a copied entry, or one put back for
// "Удалить только файлы") does not keep the file.
TFilePassOutcome RemoveTrashFiles(const TDownloadsList& trash, const TDownloadsList& list,
                                  bool recycle);

}  // namespace brimlow
