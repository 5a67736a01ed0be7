#include "platform/platform.h"

#include <gtest/gtest.h>

#include "testSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::sameBytes;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::TempFolder;

namespace {

const char kTarvolt[] = "Software\\Kelvane\\Tarvolt";

const char kUserReg[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "[Software\\\\Kelvane\\\\Tarvolt] 1700000001\n"
    "#time=1d9f0b\n"
    "\"DefaultDownloadList\"=\"D:\\\\l\\\\my.xml\"\n"
    "\"ExeFile\"=\"D:\\\\t\\\\tarvolt.exe\"\n"
    "\"Folder\"=\"C:\\\\\\x041e\\x0442\\x0447\\x0435\\x0442\\x4e2d\"\n"
    "\"Count\"=dword:0000012c\n"
    "\n"
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000002\n"
    "\"AppData\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\"\n"
    "\"Personal\"=\"C:\\\\users\\\\me\\\\Documents\"\n";

const char kSystemReg[] =
    "WINE REGISTRY Version 2\n"
    "\n"
    "[System\\\\CurrentControlSet\\\\Control\\\\Windows] 1700000003\n"
    "\"CSDVersion\"=dword:00000300\n"
    "\"Directory\"=str(2):\"%SystemRoot%\"\n";

class WineRegistry : public ::testing::Test {
 protected:
  WineRegistry() : prefix_("WINEPREFIX", root_.path()) {
    root_.write("user.reg", kUserReg);
    root_.write("system.reg", kSystemReg);
  }
  TempFolder root_;
  ScopedEnvironment prefix_;
};

TEST_F(WineRegistry, ReadsTheHostsTextValues) {
  EXPECT_TRUE(system().registryKeyExists(kTarvolt));
  EXPECT_TRUE(system().registryKeyExists("software\\KELVANE\\tarvolt"));
  EXPECT_EQ(system().readRegistryText(kTarvolt, "DefaultDownloadList"), "D:\\l\\my.xml");
  EXPECT_EQ(system().readRegistryText(kTarvolt, "exefile"), "D:\\t\\tarvolt.exe");
}

TEST_F(WineRegistry, TextArrivesInTheCodePage) {
  // Отчет, and a character no Cyrillic code page has.
  const std::string expected = system().activeCodePage() == 65001
                                   ? "C:\\\xD0\x9E\xD1\x82\xD1\x87\xD0\xB5\xD1\x82\xE4\xB8\xAD"
                                   : system().wideToAnsi(u"C:\\Отчет\u4E2D");
  EXPECT_TRUE(sameBytes(expected, system().readRegistryText(kTarvolt, "Folder").value_or("")));
}

TEST_F(WineRegistry, AValueThatIsNotTextIsAnError) {
  try {
    system().readRegistryText(kTarvolt, "Count");
    ADD_FAILURE() << "no error";
  } catch (const ERegistryException& error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'Count'");
  }
}

TEST_F(WineRegistry, MissingKeysAndValuesAreNone) {
  EXPECT_FALSE(system().registryKeyExists("Software\\Kelvane\\Other"));
  EXPECT_EQ(system().readRegistryText("Software\\Kelvane\\Other", "ExeFile"), std::nullopt);
  EXPECT_EQ(system().readRegistryText(kTarvolt, "Missing"), std::nullopt);
}

TEST_F(WineRegistry, LocalMachineIntegers) {
  const char key[] = "SYSTEM\\CurrentControlSet\\Control\\Windows";
  EXPECT_EQ(system().readLocalMachineInteger(key, "CSDVersion"), 0x300u);
  EXPECT_EQ(system().readLocalMachineInteger(key, "Directory"), std::nullopt) << "text";
  EXPECT_EQ(system().readLocalMachineInteger(key, "Missing"), std::nullopt);
  EXPECT_EQ(system().readLocalMachineInteger("SYSTEM\\Nothing", "CSDVersion"), std::nullopt);
}

TEST_F(WineRegistry, AppDataFallsBackToThePrefixsFolder) {
  const ScopedEnvironment unset("APPDATA", std::nullopt);
  EXPECT_EQ(system().environmentVariable("APPDATA"), "C:\\users\\me\\AppData\\Roaming");
  const ScopedEnvironment set("APPDATA", "/home/me/appdata");
  EXPECT_EQ(system().environmentVariable("APPDATA"), "/home/me/appdata");
}

TEST_F(WineRegistry, OtherVariablesComeFromTheEnvironmentOnly) {
  const ScopedEnvironment unset("Personal", std::nullopt);
  EXPECT_EQ(system().environmentVariable("Personal"), std::nullopt);
  const ScopedEnvironment set("BRIMLOW_TEST_VALUE", "");
  EXPECT_EQ(system().environmentVariable("BRIMLOW_TEST_VALUE"), "") << "set but empty";
}

TEST(WineRegistryAbsent, NoPrefixMeansNoKeysAndNoAppData) {
  TempFolder empty;
  const ScopedEnvironment prefix("WINEPREFIX", empty.path());
  const ScopedEnvironment unset("APPDATA", std::nullopt);
  EXPECT_FALSE(system().registryKeyExists(kTarvolt));
  EXPECT_EQ(system().readRegistryText(kTarvolt, "ExeFile"), std::nullopt);
  EXPECT_EQ(
      system().readLocalMachineInteger("SYSTEM\\CurrentControlSet\\Control\\Windows", "CSDVersion"),
      std::nullopt);
  EXPECT_EQ(system().environmentVariable("APPDATA"), std::nullopt);
}

TEST(WineRegistryAbsent, WithoutWineprefixTheHomePrefixIsUsed) {
  TempFolder home;
  home.write(".wine/user.reg", kUserReg);
  const ScopedEnvironment prefix("WINEPREFIX", std::nullopt);
  const ScopedEnvironment homeVariable("HOME", home.path());
  EXPECT_EQ(system().readRegistryText(kTarvolt, "ExeFile"), "D:\\t\\tarvolt.exe");
}

}  // namespace
