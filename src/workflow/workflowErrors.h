#pragma once

// The workflow's own refusals.  Each stops an execution before anything is
// written.

#include <stdexcept>
#include <string>

namespace brimlow {

// An execution was asked for while no list file is loaded (the start-up or
// the first load failed): nothing may be written.
class ENoListFile : public std::runtime_error {
 public:
  ENoListFile();
};

// The list was opened from a file that did not exist, and a file of that
// name has appeared since: writing the (empty) list would replace it.
class EListFileAppeared : public std::runtime_error {
 public:
  explicit EListFileAppeared(const std::string& fileName);
};

// The list file is no longer what was loaded (or last written here): the
// host, which saves its list as it exits, or someone else wrote it.  Writing
// the loaded copy would throw their work away.
class EListFileChanged : public std::runtime_error {
 public:
  explicit EListFileChanged(const std::string& fileName);
};

// The separate list was to be written over the list file itself, which would
// put the trash in place of the list just written.
class ESeparateListIsTheList : public std::runtime_error {
 public:
  explicit ESeparateListIsTheList(const std::string& fileName);
};

// The list holds characters that the system's code page lacks: they were
// read as its default character, and the list written back would keep that
// character in their place.
class ECharactersLost : public std::runtime_error {
 public:
  explicit ECharactersLost(const std::string& fileName);
};

}  // namespace brimlow
