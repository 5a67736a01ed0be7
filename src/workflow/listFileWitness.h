#pragma once

// What the list file held when it was loaded, or when this program last wrote
// it.  Before an execution writes anything, the file must still hold it: the
// host saves its list as it exits, and the downloads it added meanwhile would
// be lost under a rewrite of the older copy.  Kept as a fingerprint, since a
// copy of the whole text would double the memory a large list takes.

#include <cstddef>
#include <string>
#include <string_view>

namespace brimlow {

class TListFileWitness {
 public:
  // No file was there.
  static TListFileWitness Missing();
  // The file held `text`, its lines ended with CR LF as the list keeps them.
  static TListFileWitness Holding(std::string_view crLfText);
  // Reads the file as it is now.  Throws EFOpenError when it cannot be read.
  static TListFileWitness OfFile(const std::string& fileName);

  // Throws EListFileAppeared when a file has come where there was none, and
  // EListFileChanged when the file holds anything else or has gone.
  void RequireUnchanged(const std::string& fileName) const;

  bool operator==(const TListFileWitness&) const = default;

 private:
  bool FExists = false;
  size_t FSize = 0;
  size_t FHash = 0;
};

}  // namespace brimlow
