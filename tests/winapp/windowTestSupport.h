#pragma once

// The real main window, created in-process on a profile of the test's own
// and driven through its controls with window messages.  The dialogs are
// answered in the user's place; the error handler's messages are collected.

#include <gtest/gtest.h>
#include <windows.h>
// After the system header it needs.
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../workflow/fakePlatform.h"
#include "winapp/downloadsView.h"
#include "winapp/main.h"
#include "winapp/reportUnit.h"
#include "winapp/winText.h"

namespace brimlow::test {

// One download of a list file written for a test.
struct TListEntry {
  std::string fileName;  // UTF-8, as the file holds it
  int64_t size;
  int state;
  int nodeId;
  std::string date;
  std::string comment;
};
inline TListEntry Entry(std::string fileName, int64_t size, int state, int nodeId,
                        std::string date = "03/01/2008 14:05:09", std::string comment = "") {
  return {std::move(fileName), size, state, nodeId, std::move(date), std::move(comment)};
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Joined as texts: the library's paths would read a name's bytes in a code
  // page of their own.
  std::string Path(const std::string& name) const { return folder.string() + "\\" + name; }
  // The profile's list "Tarvolt\lists\default.xml" and its categories.
  std::string ListPath() const { return Path("Tarvolt\\lists\\default.xml"); }
  static void WriteList(const std::string& path, const std::vector<TListEntry>& entries);
  static std::string ReadFile(const std::string& path);
  // A new window, its dialogs answered by the test.
  void MakeWindow();
  // The profile under APPDATA with these downloads, and the start-up run.
  void StartWith(const std::vector<TListEntry>& entries);

  // What the user does.
  void Click(HWND button) const;
  void Choose(int menuId) const;
  void TickRows(HWND list, std::initializer_list<int> rows) const;
  static void SetText(HWND field, const std::wstring& text);
  static void Select(HWND box, int index);

  // What the window shows.
  static std::wstring Text(HWND control) { return WideWindowText(control); }
  static int RowCount(HWND list);
  static std::wstring Cell(HWND list, int row, int column);
  static bool IsTicked(HWND list, int row);
  std::vector<std::wstring> Names(HWND list) const;
  std::wstring Title() const { return Text(window->Handle()); }

  FakePlatform fake;
  platform::ScopedPlatform scoped;
  std::filesystem::path folder;
  std::unique_ptr<TForm2> window;
  const TForm2Ui* ui = nullptr;
  std::vector<std::wstring> errors;
  TErrorPresenter previousPresenter;
  // The answers of the dialogs: the file a file dialog picks (none: the user
  // cancels), and what each shown dialog was.
  std::optional<std::string> pickedFile;
  std::vector<HWND> shownDialogs;
  // Each file dialog asked for: save or open, and the file and folder it
  // starts with.
  struct TFileDialog {
    bool save;
    std::wstring file;
    std::wstring folder;
  };
  std::vector<TFileDialog> fileDialogs;
  std::vector<std::wstring> reportLines;  // listLabel, selLabel, Edit1 of the last report
};

}  // namespace brimlow::test
