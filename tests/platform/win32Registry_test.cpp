#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "testSupport.h"
#include "win32TestSupport.h"

using namespace brimlow::platform;
using brimlow::platform::testing::ScopedEnvironment;
using brimlow::platform::testing::ScopedRegistryKey;

namespace {

struct TextCase {
  const char* valueName;
  DWORD type;
  std::string stored;  // as written, the terminating zero included
  std::string expected;
};

TEST(Win32Registry, TextValuesReadBackAsWritten) {
  ScopedRegistryKey key(HKEY_CURRENT_USER);
  ASSERT_TRUE(key.created());
  const TextCase cases[] = {
      {"DefaultDownloadList", REG_SZ, std::string("D:\\lists\\default.xml\0", 21),
       "D:\\lists\\default.xml"},
      {"ExeFile", REG_EXPAND_SZ, std::string("%ProgramFiles%\\Tarvolt\\tarvolt.exe\0", 36),
       "%ProgramFiles%\\Tarvolt\\tarvolt.exe"},  // stored unexpanded, handed over so
      {"Empty", REG_SZ, std::string("\0", 1), ""},
      {"NoZero", REG_SZ, "C:\\t.exe", "C:\\t.exe"},  // data need not end with a zero
      {"", REG_SZ, std::string("default value\0", 14), "default value"},
      {"Long", REG_SZ, std::string(5000, 'x') + '\0', std::string(5000, 'x')},
  };
  for (const TextCase& c : cases)
    ASSERT_EQ(key.set(c.valueName, c.type, c.stored), ERROR_SUCCESS) << c.valueName;

  EXPECT_TRUE(system().registryKeyExists(key.name()));
  for (const TextCase& c : cases) {
    EXPECT_EQ(system().readRegistryText(key.name(), c.valueName), c.expected) << c.valueName;
  }
  // Key and value names are found whatever their letter case.
  EXPECT_EQ(system().readRegistryText(key.name(), "EXEFILE"),
            "%ProgramFiles%\\Tarvolt\\tarvolt.exe");
}

TEST(Win32Registry, AValueThatIsNotTextIsADataTypeError) {
  ScopedRegistryKey key(HKEY_CURRENT_USER);
  ASSERT_TRUE(key.created());
  ASSERT_EQ(key.setInteger("ExeFile", 42), ERROR_SUCCESS);
  ASSERT_EQ(key.set("Bytes", REG_BINARY, "\x01\x02"), ERROR_SUCCESS);
  ASSERT_EQ(key.set("Lines", REG_MULTI_SZ, std::string("a\0b\0\0", 5)), ERROR_SUCCESS);
  for (const char* name : {"ExeFile", "Bytes", "Lines"}) {
    try {
      system().readRegistryText(key.name(), name);
      ADD_FAILURE() << name << ": no error";
    } catch (const ERegistryException& error) {
      EXPECT_EQ(std::string(error.what()), std::string("Invalid data type for '") + name + "'");
    }
  }
}

TEST(Win32Registry, AbsentKeysAndValuesAreNone) {
  ScopedRegistryKey key(HKEY_CURRENT_USER);
  ASSERT_TRUE(key.created());
  EXPECT_EQ(system().readRegistryText(key.name(), "Missing"), std::nullopt);
  EXPECT_FALSE(system().registryKeyExists(key.name() + "\\Missing"));
  EXPECT_EQ(system().readRegistryText(key.name() + "\\Missing", "ExeFile"), std::nullopt);
  EXPECT_FALSE(system().registryKeyExists(key.name() + "\\Missing")) << "the lookup made no key";
}

TEST(Win32Registry, CyrillicTextComesInTheActiveCodePage) {
  if (::GetACP() != 1251) GTEST_SKIP() << "needs code page 1251";
  ScopedRegistryKey key(HKEY_CURRENT_USER);
  ASSERT_TRUE(key.created());
  const std::string path = "C:\\\xC7\xE0\xEA\xE0\xF7\xEA\xE8\\default.xml";  // "Закачки"
  ASSERT_EQ(key.setText("DefaultDownloadList", path), ERROR_SUCCESS);
  EXPECT_EQ(system().readRegistryText(key.name(), "DefaultDownloadList"), path);
}

TEST(Win32Registry, IntegersOfTheLocalMachine) {
  ScopedRegistryKey key(HKEY_LOCAL_MACHINE);
  if (!key.created()) GTEST_SKIP() << "the local machine's keys cannot be written here";
  ASSERT_EQ(key.setInteger("CSDVersion", 0x0300), ERROR_SUCCESS);
  ASSERT_EQ(key.setText("Text", "0300"), ERROR_SUCCESS);
  EXPECT_EQ(system().readLocalMachineInteger(key.name(), "CSDVersion"), 0x0300u);
  EXPECT_EQ(system().readLocalMachineInteger(key.name(), "csdversion"), 0x0300u);
  EXPECT_EQ(system().readLocalMachineInteger(key.name(), "Text"), std::nullopt) << "not an integer";
  EXPECT_EQ(system().readLocalMachineInteger(key.name(), "Missing"), std::nullopt);
  EXPECT_EQ(system().readLocalMachineInteger(key.name() + "\\Missing", "CSDVersion"), std::nullopt);
}

TEST(Win32Environment, VariablesSetAndUnset) {
  const ScopedEnvironment set("BRIMLOW_TEST_VALUE", std::string("C:\\Users\\x\\AppData\\Roaming"));
  EXPECT_EQ(system().environmentVariable("BRIMLOW_TEST_VALUE"), "C:\\Users\\x\\AppData\\Roaming");
  EXPECT_EQ(system().environmentVariable("brimlow_test_value"), "C:\\Users\\x\\AppData\\Roaming")
      << "names ignore letter case on Windows";
  const ScopedEnvironment unset("BRIMLOW_TEST_MISSING", std::nullopt);
  EXPECT_EQ(system().environmentVariable("BRIMLOW_TEST_MISSING"), std::nullopt);

  ASSERT_TRUE(::SetEnvironmentVariableA("BRIMLOW_TEST_EMPTY", ""));
  EXPECT_EQ(system().environmentVariable("BRIMLOW_TEST_EMPTY"), "");
  ::SetEnvironmentVariableA("BRIMLOW_TEST_EMPTY", nullptr);

  const std::string longValue(3000, 'v');
  ASSERT_TRUE(::SetEnvironmentVariableA("BRIMLOW_TEST_LONG", longValue.c_str()));
  EXPECT_EQ(system().environmentVariable("BRIMLOW_TEST_LONG"), longValue);
  ::SetEnvironmentVariableA("BRIMLOW_TEST_LONG", nullptr);
}

TEST(Win32Environment, TheApplicationDataFolderIsSet) {
  const auto folder = system().environmentVariable("APPDATA");
  ASSERT_TRUE(folder.has_value());
  EXPECT_TRUE(system().directoryExists(*folder)) << *folder;
}

}  // namespace
