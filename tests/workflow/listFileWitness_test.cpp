#include "workflow/listFileWitness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

#include "fakePlatform.h"
#include "workflow/workflowErrors.h"

namespace brimlow {
namespace {

enum class Outcome { Unchanged, Changed, Appeared };

// What a witness taken at loading says of the file as it is now.
TEST(ListFileWitness, TellsWhetherTheFileStillHoldsWhatWasLoaded) {
  test::FakePlatform fake;
  platform::ScopedPlatform scoped(fake);
  const std::string file =
      (std::filesystem::temp_directory_path() /
       ("brimlow_witness_" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
          .string();
  const std::string loaded = "<DownloadList>\r\n<ID>1</ID>\r\n</DownloadList>\r\n";
  const struct {
    const char* label;
    std::optional<std::string> witnessed;  // none: loaded as missing
    std::optional<std::string> now;        // none: no file
    Outcome outcome;
  } cases[] = {
      {"the same bytes", loaded, loaded, Outcome::Unchanged},
      {"LF line ends", loaded, "<DownloadList>\n<ID>1</ID>\n</DownloadList>\n", Outcome::Unchanged},
      {"CR line ends", loaded, "<DownloadList>\r<ID>1</ID>\r</DownloadList>\r", Outcome::Unchanged},
      {"no line end after the last line", loaded, "<DownloadList>\r\n<ID>1</ID>\r\n</DownloadList>",
       Outcome::Unchanged},
      {"one byte more", loaded, "<DownloadList>\r\n<ID>12</ID>\r\n</DownloadList>\r\n",
       Outcome::Changed},
      {"one byte other, same size", loaded, "<DownloadList>\r\n<ID>2</ID>\r\n</DownloadList>\r\n",
       Outcome::Changed},
      {"the file is gone", loaded, std::nullopt, Outcome::Changed},
      {"emptied", loaded, "", Outcome::Changed},
      {"an empty file stays empty", "", "", Outcome::Unchanged},
      {"still missing", std::nullopt, std::nullopt, Outcome::Unchanged},
      {"a file has come", std::nullopt, loaded, Outcome::Appeared},
      {"an empty file has come", std::nullopt, "", Outcome::Appeared},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove(file);
    if (c.now) std::ofstream(file, std::ios::binary) << *c.now;
    const TListFileWitness witness =
        c.witnessed ? TListFileWitness::Holding(*c.witnessed) : TListFileWitness::Missing();
    switch (c.outcome) {
      case Outcome::Unchanged: EXPECT_NO_THROW(witness.RequireUnchanged(file)); break;
      case Outcome::Changed: EXPECT_THROW(witness.RequireUnchanged(file), EListFileChanged); break;
      case Outcome::Appeared:
        EXPECT_THROW(witness.RequireUnchanged(file), EListFileAppeared);
        break;
    }
  }
  std::ofstream(file, std::ios::binary) << loaded;
  fake.unreadableFiles.insert(file);
  EXPECT_THROW(TListFileWitness::Holding(loaded).RequireUnchanged(file), platform::EFOpenError)
      << "a file that cannot be read is not taken as unchanged";
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace brimlow
