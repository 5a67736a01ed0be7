#pragma once

// Repeated downloads: two downloads repeat each other when they come from
// the same address or were saved under the same file name; downloads linked
// so, directly or through others, form one group.  The groups are found in
// one pass over the list, through a hash map of each kind of key.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimlow {

class TDownloadsList;
class TFileStates;

// The form in which two addresses are compared: white space around it and
// one trailing "/" go, the scheme and the host are taken in small letters,
// the rest stays exact.  Empty for an address that is empty (or only blanks).
std::string UrlKey(std::string_view url);

// The form in which two file names are compared: the path as the system
// finds the file, letter case ignored, found without asking the disk.  Empty
// for an empty name.
std::string FileNameKey(const std::string& fileName);

class TRepeatGroups {
 public:
  // Finds the groups of `list` anew.
  void Build(const TDownloadsList& list);

  // How many groups of two or more downloads the list holds.
  int GroupCount() const { return FGroupCount; }
  // The group of the download at `row` (0 to GroupCount() - 1), or -1 when it
  // repeats no other.
  int GroupOf(int row) const { return FGroupOf[static_cast<size_t>(row)]; }
  int Count() const { return static_cast<int>(FGroupOf.size()); }

  // One mark per download of `list` (the list Build saw): set for each
  // download of a group but the one kept.  The one kept is the one whose
  // file is present; among several, the newest by Date; then the last in the
  // list.  Only the files of repeated downloads are looked at.
  std::vector<uint8_t> RepeatMarks(const TDownloadsList& list, TFileStates& files) const;

 private:
  std::vector<int> FGroupOf;
  int FGroupCount = 0;
};

}  // namespace brimlow
