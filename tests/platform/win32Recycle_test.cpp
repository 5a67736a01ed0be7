#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/platform.h"
#include "platform/win32/win32FileWatch.h"
#include "platform/win32/win32Platform.h"
#include "platform/win32/win32Shell.h"
#include "testSupport.h"
#include "win32TestSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::TempFolder;
using brimlow::platform::testing::underWine;

namespace {

char freeDriveLetter() {
  const DWORD drives = ::GetLogicalDrives();
  for (char letter = 'Y'; letter >= 'D'; --letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) return letter;
  }
  return 0;
}

TEST(DriveRootReachable, ADriveNeedsAVolumeAndAShareMustAnswer) {
  EXPECT_TRUE(system().driveRootReachable("C:"));
  EXPECT_TRUE(system().driveRootReachable(""));
  const char letter = freeDriveLetter();
  ASSERT_NE(letter, 0);
  const std::string drive{letter, ':'};
  EXPECT_FALSE(system().driveRootReachable(drive)) << "no such drive";
  EXPECT_FALSE(system().driveRootReachable("\\\\brimlow-no-such-server\\share"));

  // A letter that leads to a folder, and then to one that is not there;
  // Wine keeps such letters and leads them nowhere.
  const std::wstring wide{static_cast<wchar_t>(letter), L':'};
  if (!::DefineDosDeviceW(0, wide.c_str(), L"C:\\Windows")) return;
  const bool honoured = system().driveRootReachable(drive);
  ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, wide.c_str(), nullptr);
  if (!honoured || !::DefineDosDeviceW(0, wide.c_str(), L"C:\\brimlow-no-such-folder")) return;
  EXPECT_FALSE(system().driveRootReachable(drive)) << "a drive to nowhere";
  ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, wide.c_str(), nullptr);
}

TEST(Recycle, AFileGoesIntoTheBinAndBack) {
  TempFolder folder;
  folder.write("a.txt", "content");
  const std::string path = folder.path("a.txt");
  const RecycleResult result = system().recycleFile(path);
  EXPECT_EQ(result.file.originalPath, path);
  if (underWine()) {
    // Wine's shell has no file operations: the file must stay.
    EXPECT_EQ(result.outcome, RecycleOutcome::NoRecycleBin);
    EXPECT_EQ(folder.read("a.txt"), "content");
    return;
  }
  ASSERT_EQ(result.outcome, RecycleOutcome::Recycled);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(result.file.binPath.empty());

  folder.write("a.txt", "new");
  EXPECT_EQ(system().putBackRecycled(result.file), PutBackOutcome::PlaceTaken);
  EXPECT_EQ(folder.read("a.txt"), "new");
  std::filesystem::remove(path);
  EXPECT_EQ(system().putBackRecycled(result.file), PutBackOutcome::PutBack);
  EXPECT_EQ(folder.read("a.txt"), "content");
  EXPECT_EQ(system().putBackRecycled(result.file), PutBackOutcome::NotInBin);
}

TEST(Recycle, WhatIsNotAFileFailsAndStays) {
  TempFolder folder;
  folder.makeFolder("folder");
  for (const std::string& path : {folder.path("missing.txt"), folder.path("folder"), std::string()})
    EXPECT_EQ(system().recycleFile(path).outcome, RecycleOutcome::Failed) << path;
  EXPECT_TRUE(std::filesystem::is_directory(folder.path("folder")));
}

TEST(PutBack, WhatTheBinNeverHeldIsNotInIt) {
  EXPECT_EQ(system().putBackRecycled({}), PutBackOutcome::NotInBin);
  if (underWine()) return;  // its bin cannot be looked through
  TempFolder folder;
  const RecycledFile madeUp{folder.path("a.txt"), "C:\\$Recycle.Bin\\brimlow-made-up", ""};
  EXPECT_EQ(system().putBackRecycled(madeUp), PutBackOutcome::NotInBin);
  EXPECT_FALSE(std::filesystem::exists(madeUp.originalPath));
}

TEST(FileOperationWatch, StopsTheShellFromErasingOrReplacing) {
  FileOperationWatch watch;
  EXPECT_EQ(watch.PreDeleteItem(TSF_DELETE_RECYCLE_IF_POSSIBLE, nullptr), S_OK);
  EXPECT_FALSE(watch.stoppedErasing);
  EXPECT_EQ(watch.PreDeleteItem(TSF_NORMAL, nullptr), E_ABORT) << "it would erase the file";
  EXPECT_TRUE(watch.stoppedErasing);

  TempFolder folder;
  folder.write("taken.txt", "x");
  const HRESULT found = inSingleThreadedApartment(
      [&] {
        ComRef<IShellItem> target;
        const HRESULT made = ::SHCreateItemFromParsingName(widenAnsi(folder.path()).c_str(),
                                                           nullptr, IID_IShellItem, target.put());
        if (FAILED(made)) return made;
        EXPECT_EQ(watch.PreMoveItem(0, nullptr, target.get(), L"free.txt"), S_OK);
        EXPECT_FALSE(watch.stoppedReplacing);
        EXPECT_EQ(watch.PreMoveItem(0, nullptr, target.get(), L"TAKEN.txt"), E_ABORT);
        EXPECT_TRUE(watch.stoppedReplacing);
        return made;
      },
      E_FAIL);
  EXPECT_HRESULT_SUCCEEDED(found);
  EXPECT_EQ(folder.read("taken.txt"), "x");
}

TEST(SingleThreadedApartment, IsFoundForAThreadOfTheOtherApartment) {
  const auto apartmentOfWork = [] {
    return inSingleThreadedApartment(
        [] {
          APTTYPE type{};
          APTTYPEQUALIFIER qualifier{};
          return SUCCEEDED(::CoGetApartmentType(&type, &qualifier)) ? type : APTTYPE_CURRENT;
        },
        APTTYPE_CURRENT);
  };
  const auto singleThreaded = [](APTTYPE type) {
    return type == APTTYPE_STA || type == APTTYPE_MAINSTA;
  };
  EXPECT_PRED1(singleThreaded, apartmentOfWork());
  APTTYPE fromTheOther = APTTYPE_CURRENT;
  std::thread([&] {
    ASSERT_HRESULT_SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    fromTheOther = apartmentOfWork();
    ::CoUninitialize();
  }).join();
  EXPECT_PRED1(singleThreaded, fromTheOther);
}

}  // namespace
