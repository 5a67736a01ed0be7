#pragma once

// A main window under a fake platform, with the error handler's messages
// collected instead of shown.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTreeView>
#include <filesystem>
#include <memory>

#include "../workflow/fakePlatform.h"
#include "app/downloadsModel.h"
#include "app/main.h"
#include "appTestSupport.h"
#include "data/downloadsList.h"

namespace brimlow::test {

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : scoped(fake) {
    App();
    previousPresenter = SetErrorPresenter([this](const QString& message) { errors << message; });
    folder = std::filesystem::temp_directory_path() /
             ("brimlow_window_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(folder / "bin");
    // The program file lies in a folder of the test's own, and the day is fixed.
    fake.programFile = (folder / "bin" / "brimlow").string();
    fake.today = platform::LocalDate{2009, 3, 7};
    window = std::make_unique<TForm2>();
  }
  ~WindowTest() override {
    window.reset();
    SetErrorPresenter(previousPresenter);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  template <typename Widget>
  Widget* Find(const char* name) const {
    return window->findChild<Widget*>(QString::fromLatin1(name));
  }
  QString Label(const char* name) const { return Find<QLabel>(name)->text(); }
  std::string Path(const std::string& name) const { return (folder / name).string(); }

  // Loads a list file that does not exist yet and fills it with downloads of
  // the given sizes, IDs 1, 2, ... and file names "fileN.bin".
  void ShowDownloads(const std::vector<int64_t>& sizes, const std::string& name = "list.xml") {
    window->LoadList(Path(name));
    TDownloadsList& list = window->Downloads();
    for (int64_t size : sizes) {
      Tdownload& d = list.Add();
      d.ID = static_cast<uint32_t>(list.Count());
      d.Size = size;
      d.FileName = "C:\\dl\\file" + std::to_string(d.ID) + ".bin";
    }
    window->Cleaner().Downloads().Reset();
    window->UpdateStatistics();
  }

  void Mark(TDownloadsModel& model, std::initializer_list<int> rows) {
    for (int row : rows)
      model.setData(model.index(row, 0), Qt::Checked, Qt::CheckStateRole);
  }

  static std::vector<uint32_t> Ids(const TDownloadsList& list) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < list.Count(); ++i)
      ids.push_back(list[i].ID);
    return ids;
  }

  // Row i of the tree shows record i of its list.
  static ::testing::AssertionResult RowsShowRecords(QTreeView& tree, const TDownloadsList& list) {
    QAbstractItemModel& model = *tree.model();
    if (model.rowCount() != list.Count())
      return ::testing::AssertionFailure()
             << model.rowCount() << " rows for " << list.Count() << " records";
    for (int row = 0; row < list.Count(); ++row)
      if (model.index(row, 0).data().toString() != DisplayName(list[row]))
        return ::testing::AssertionFailure() << "row " << row << " shows another record";
    return ::testing::AssertionSuccess();
  }

  static inline int counter = 0;
  FakePlatform fake;
  platform::ScopedPlatform scoped;
  TErrorPresenter previousPresenter;
  QStringList errors;
  std::filesystem::path folder;
  std::unique_ptr<TForm2> window;
};

}  // namespace brimlow::test
