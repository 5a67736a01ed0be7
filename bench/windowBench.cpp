// The window benchmark, on the off-screen platform with a list of 100,000
// downloads: loading and showing it, the filter, moving 50,000 marked
// downloads to the trash, and the statistics after a click on a check box.
// Beside Brimlow's window, in the same run, the same list shown through a
// QStandardItemModel.  Ends with the ratios and the peak memory of loading
// and showing (each in a fresh process).
//
//   brimlow-window-bench [LISTS_FOLDER] [benchmark options]
//   brimlow-window-bench --peak window|standard FILE   (used by the above)
//   brimlow-window-bench --figures FILE
//
// --figures measures what the Windows window's benchmark measures, in the
// same steps and printed the same way, so that scripts/window-figures.sh can
// set the two windows side by side on one list.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>

#include "app/application.h"
#include "app/downloadsModel.h"
#include "app/main.h"
#include "app/optionalDateEdit.h"
#include "app/sortedDownloads.h"
#include "app/treeSetup.h"
#include "data/categories.h"
#include "data/downloadsList.h"
#include "standardItemPeer.h"
#include "summaryReporter.h"
#include "windowFigures.h"

namespace fs = std::filesystem;
using namespace brimlow;

namespace {

constexpr int kDownloads = 100000;

std::string ListFile(const fs::path& folder) {
  return (folder / ("list_" + std::to_string(kDownloads) + ".xml")).string();
}

// The categories of the benchmark lists (NodeID 3 to 10), written beside a
// link to the list so that the window starts up as on a real profile.
fs::path MakeProfile(const std::string& listFile) {
  const fs::path appData =
      fs::temp_directory_path() / ("brimlow_window_bench_" + std::to_string(::getpid()));
  fs::create_directories(appData / "Tarvolt" / "lists");
  fs::create_symlink(fs::absolute(listFile), appData / "Tarvolt" / "lists" / "default.xml");
  std::ofstream nodes(appData / "Tarvolt" / "nodelist.xml");
  nodes << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NodeList>\n";
  for (int id = 3; id <= 10; ++id)
    nodes << "<MyNode><ID>" << id << "</ID><Name>Category " << id << "</Name><ImageIndex>" << id * 5
          << "</ImageIndex><ParentID>2</ParentID></MyNode>\n";
  nodes << "</NodeList>\n";
  return appData;
}

void Paint(QWidget& widget) {
  widget.show();
  QApplication::processEvents();
}

// Loading and showing: the window's start-up, the list painted.
std::unique_ptr<TForm2> StartWindow() {
  auto window = std::make_unique<TForm2>();
  window->FormCreate();
  Paint(*window);
  return window;
}

struct StandardWindow {
  explicit StandardWindow(const std::string& file, const TCategoryList* categories) : list(file) {
    bench::FillStandardModel(model, list, categories);
    view.setModel(&model);
    Paint(view);
  }
  TDownloadsList list;
  QStandardItemModel model;
  QTreeView view;
};

// What both share: the list read from its file.
void Read(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    TDownloadsList list(file);
    benchmark::DoNotOptimize(list.Count());
  }
}

void LoadAndShowWindow(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<TForm2> window = StartWindow();
    state.PauseTiming();
    state.counters["downloads"] = window->Downloads().Count();
    window.reset();
    state.ResumeTiming();
  }
}

void LoadAndShowStandard(benchmark::State& state, const std::string& file,
                         const std::string& categoryFile) {
  const TCategoryList categories(categoryFile);
  for (auto _ : state) {
    auto window = std::make_unique<StandardWindow>(file, &categories);
    state.PauseTiming();
    state.counters["downloads"] = window->list.Count();
    window.reset();
    state.ResumeTiming();
  }
}

// Showing alone: the list is read once, outside the measurement.
void ShowWindowModel(benchmark::State& state, TMarkedList& list, const TCategoryList& categories) {
  for (auto _ : state) {
    auto model = std::make_unique<TDownloadsModel>();
    model->SetCategories(&categories);
    model->SetList(&list);
    auto view = std::make_unique<QTreeView>();
    ShowSorted(*view, *model);
    ConfigureDownloadsTree(*view, TTreeKind::List);
    Paint(*view);
    state.PauseTiming();
    view.reset();
    model.reset();
    state.ResumeTiming();
  }
}

void ShowStandardModel(benchmark::State& state, const TDownloadsList& list,
                       const TCategoryList& categories) {
  for (auto _ : state) {
    auto model = std::make_unique<QStandardItemModel>();
    bench::FillStandardModel(*model, list, &categories);
    auto view = std::make_unique<QTreeView>();
    view->setModel(model.get());
    Paint(*view);
    state.PauseTiming();
    view.reset();
    model.reset();
    state.ResumeTiming();
  }
}

// Every criterion but file presence; `longest` makes every download go
// through all of them, the text searched in four fields without a match.
void SetFilter(TForm2& window, bool longest) {
  const TForm2Ui& ui = window.Ui();
  ui.stateBox->setCurrentIndex(longest ? 0 : 2);
  ui.catBox->setCurrentIndex(longest ? 0 : 3);
  ui.size1->setText("0");
  ui.size2->setText("9000000");
  ui.date1->SetValue(QDate(2004, 1, 1));
  ui.date2->SetValue(QDate(2013, 12, 31));
  ui.searchText->setText(longest ? "zzzz" : "setup");
  ui.searchBox->setCurrentIndex(0);
}

void FilterWindow(benchmark::State& state, TForm2& window, bool longest) {
  SetFilter(window, longest);
  for (auto _ : state)
    window.doSelectExecute();
  state.counters["marked"] = window.LeftModel().CheckedCount();
}

void FilterStandard(benchmark::State& state, TForm2& window, QStandardItemModel& model) {
  SetFilter(window, false);
  const TFilterCriteria criteria = MakeCriteria(window.ReadFilterInputs());
  int marked = 0;
  for (auto _ : state) {
    marked = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
      const bool match = Matches(criteria, window.Downloads()[row]);
      marked += match;
      model.item(row, 0)->setCheckState(match ? Qt::Checked : Qt::Unchecked);
      QApplication::processEvents();
    }
  }
  state.counters["marked"] = marked;
}

// 50,000 of the 100,000 marked: every other one, or the first half.
void MoveWindow(benchmark::State& state, bool scattered) {
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TForm2> window = StartWindow();
    std::vector<uint8_t> marks(static_cast<size_t>(window->Downloads().Count()));
    for (size_t i = 0; i < marks.size(); ++i)
      marks[i] = scattered ? i % 2 == 0 : i < marks.size() / 2;
    window->LeftModel().SetChecks(0, marks);
    state.ResumeTiming();
    window->moveExecute();
    QApplication::processEvents();
    state.PauseTiming();
    state.counters["trash"] = window->Trash().Count();
    window.reset();
    state.ResumeTiming();
  }
}

void ClickWindow(benchmark::State& state, TForm2& window) {
  TDownloadsModel& model = window.LeftModel();
  int row = 0;
  for (auto _ : state) {
    const QModelIndex index = model.index(row, 0);
    model.setData(index, model.IsChecked(row) ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    row = (row + 7919) % model.rowCount();
  }
  benchmark::DoNotOptimize(window.Ui().labSel->text());
}

void ClickStandard(benchmark::State& state, QStandardItemModel& model, QLabel& label) {
  int row = 0;
  for (auto _ : state) {
    QStandardItem* item = model.item(row, 0);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    const bench::StandardStatistics statistics = bench::ScanStandardModel(model);
    label.setText(QString::number(statistics.checked) + QString::number(statistics.checkedSize) +
                  QString::number(statistics.totalSize));
    row = (row + 7919) % model.rowCount();
  }
}

void UpdateStatisticsWindow(benchmark::State& state, TForm2& window) {
  for (auto _ : state)
    window.UpdateStatistics();
}

long PeakOf(const char* self, const std::string& peer, const fs::path& appData,
            const std::string& file) {
  const pid_t child = fork();
  if (child == 0) {
    ::setenv("APPDATA", appData.c_str(), 1);
    execl(self, "brimlow-window-bench", "--peak", peer.c_str(), file.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return -1;
  return usage.ru_maxrss * 1024L;
}

int PeakRun(const std::string& peer, const std::string& file) {
  if (peer == "window") {
    std::unique_ptr<TForm2> window = StartWindow();
    return window->Downloads().Count() == kDownloads ? 0 : 1;
  }
  if (peer == "standard") {
    const fs::path categories =
        fs::path(qEnvironmentVariable("APPDATA").toStdString()) / "Tarvolt" / "nodelist.xml";
    const TCategoryList categoryList(categories.string());
    StandardWindow window(file, &categoryList);
    return window.list.Count() == kDownloads ? 0 : 1;
  }
  return 0;  // "none": the baseline of a process with the toolkit started
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The filter both windows' figures run: a state, a size and a date range and
// a text in any field, so that every download goes through most criteria.
void SetFiguresFilter(const TForm2Ui& ui) {
  ui.stateBox->setCurrentIndex(2);
  ui.size1->setText("0");
  ui.size2->setText("9000000");
  ui.date1->SetValue(QDate(2004, 1, 1));
  ui.date2->SetValue(QDate(2013, 12, 31));
  ui.searchText->setText("setup");
}

int Figures(const std::string& file) {
  using Clock = std::chrono::steady_clock;
  double bare = 1e9;
  for (int round = 0; round < 2; ++round) {  // the second with the file cached
    TCleaner cleaner;
    const auto started = Clock::now();
    cleaner.LoadList(file);
    bare = std::min(bare, Seconds(started));
  }

  // Each round a new window, as each bare load a new cleaner: freeing the
  // list before is no part of either.
  std::unique_ptr<TForm2> shownWindow;
  double shown = 1e9;
  for (int round = 0; round < 2; ++round) {
    shownWindow.reset();
    shownWindow = std::make_unique<TForm2>();
    shownWindow->Cleaner().SetHostControl(false);
    Paint(*shownWindow);
    const auto started = Clock::now();
    shownWindow->LoadList(file);
    QApplication::processEvents();  // the list view has painted its first rows
    shown = std::min(shown, Seconds(started));
  }
  TForm2& window = *shownWindow;

  SetFiguresFilter(window.Ui());
  auto started = Clock::now();
  window.doSelectExecute();
  QApplication::processEvents();
  const double filter = Seconds(started);
  const int marked = window.LeftModel().CheckedCount();

  window.noSelectionExecute();
  const int count = window.Downloads().Count();
  window.Cleaner().Downloads().SetChecks(0,
                                         std::vector<uint8_t>(static_cast<size_t>(count / 2), 1));
  started = Clock::now();
  window.moveExecute();
  QApplication::processEvents();
  const double move = Seconds(started);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  brimlow::bench::PrintWindowFigures(
      {count, bare, shown, filter, marked, move, usage.ru_maxrss / 1024.0});
  return 0;
}

struct Peaks {
  long baseline = 0;
  long window = 0;
  long standard = 0;
};

void PrintSummary(const bench::SummaryReporter& r, const Peaks& peaks) {
  // Short times keep three decimals; a run without a peer shows dashes.
  const auto milliseconds = [](double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, seconds < 0.01 ? "%10.3f ms" : "%10.1f ms", seconds * 1e3);
    return std::string(text);
  };
  const auto line = [&](const char* what, double brimlow, double peer, const char* goal) {
    char ratio[32] = "        -";
    if (brimlow > 0 && peer > 0) std::snprintf(ratio, sizeof ratio, "%8.1fx", peer / brimlow);
    std::printf("%-44s %s %s %s   %s\n", what, milliseconds(brimlow).c_str(),
                peer > 0 ? milliseconds(peer).c_str() : "          - ", ratio, goal);
  };
  std::printf("\n%d downloads, off-screen%44s\n", kDownloads, "");
  std::printf("%-44s %13s %13s %9s   %s\n", "", "Brimlow", "QStandardItem", "speed-up", "goal");
  line("load and show (start-up, painted)", r.Of("LoadAndShow/window"),
       r.Of("LoadAndShow/standard"), "< 1000 ms, >= 5x");
  line("of which reading the file (the same reader)", r.Of("Read"), r.Of("Read"), "");
  if (r.Of("Read") > 0)
    std::printf("%-44s %9.2fx   %s\n", "load and show / reading the file alone",
                r.Of("LoadAndShow/window") / r.Of("Read"), "goal <= 1.10x");
  line("show a loaded list (model + painted view)", r.Of("Show/window"), r.Of("Show/standard"), "");
  line("filter, every criterion but the file", r.Of("Filter/window"), r.Of("Filter/standard"),
       "< 500 ms");
  line("filter, longest path (text in 4 fields)", r.Of("Filter/window/longest"), 0, "< 500 ms");
  line("move 50,000 marked (every other row)", r.Of("Move/window/scattered"), 0, "< 300 ms");
  line("move 50,000 marked (first half)", r.Of("Move/window/block"), 0, "< 300 ms");
  line("check-box click with statistics", r.Of("Click/window"), r.Of("Click/standard"), "< 5 ms");
  line("UpdateStatistics", r.Of("UpdateStatistics/window"), 0, "");

  std::printf(
      "\nPeak memory of load and show (fresh process each): baseline %.1f MB, "
      "Brimlow %.1f MB, QStandardItemModel %.1f MB (goal: Brimlow < 250 MB)\n",
      peaks.baseline / 1048576.0, peaks.window / 1048576.0, peaks.standard / 1048576.0);
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TBrimlowApplication application(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) return PeakRun(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "--figures") == 0) return Figures(argv[2]);

  fs::path folder = BRIMLOW_BENCH_LISTS;
  if (argc > 1 && argv[1][0] != '-') {
    folder = argv[1];
    --argc;
    ++argv;
  }
  const std::string file = ListFile(folder);
  if (!fs::exists(file)) {
    std::cerr << file << " is missing: build the target bench_lists\n";
    return 1;
  }
  const fs::path appData = MakeProfile(file);
  ::setenv("APPDATA", appData.c_str(), 1);
  const std::string categoryFile = (appData / "Tarvolt" / "nodelist.xml").string();
  // The fresh processes are forked before this one grows: a child counts the
  // pages it shares with its parent until it runs the program anew.
  const std::string self = fs::canonical("/proc/self/exe").string();
  const Peaks peaks{PeakOf(self.c_str(), "none", appData, file),
                    PeakOf(self.c_str(), "window", appData, file),
                    PeakOf(self.c_str(), "standard", appData, file)};

  // One window and one peer kept for the benchmarks that work on a shown list.
  std::unique_ptr<TForm2> window = StartWindow();
  StandardWindow standard(file, &window->Categories());
  QLabel peerLabel;

  const auto ms = benchmark::kMillisecond;
  benchmark::RegisterBenchmark("Read", Read, file)->Iterations(5)->Unit(ms);
  benchmark::RegisterBenchmark("LoadAndShow/window", LoadAndShowWindow)->Iterations(5)->Unit(ms);
  benchmark::RegisterBenchmark("LoadAndShow/standard", LoadAndShowStandard, file, categoryFile)
      ->Iterations(3)
      ->Unit(ms);
  benchmark::RegisterBenchmark("Show/window", ShowWindowModel,
                               std::ref(window->Cleaner().Downloads()),
                               std::cref(window->Categories()))
      ->Iterations(20)
      ->Unit(ms);
  benchmark::RegisterBenchmark("Show/standard", ShowStandardModel, std::cref(window->Downloads()),
                               std::cref(window->Categories()))
      ->Iterations(3)
      ->Unit(ms);
  benchmark::RegisterBenchmark("Filter/window", FilterWindow, std::ref(*window), false)
      ->Iterations(5)
      ->Unit(ms);
  benchmark::RegisterBenchmark("Filter/window/longest", FilterWindow, std::ref(*window), true)
      ->Iterations(5)
      ->Unit(ms);
  benchmark::RegisterBenchmark("Filter/standard", FilterStandard, std::ref(*window),
                               std::ref(standard.model))
      ->Iterations(3)
      ->Unit(ms);
  benchmark::RegisterBenchmark("Move/window/scattered", MoveWindow, true)->Iterations(3)->Unit(ms);
  benchmark::RegisterBenchmark("Move/window/block", MoveWindow, false)->Iterations(3)->Unit(ms);
  benchmark::RegisterBenchmark("Click/window", ClickWindow, std::ref(*window))
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("Click/standard", ClickStandard, std::ref(standard.model),
                               std::ref(peerLabel))
      ->Iterations(50)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("UpdateStatistics/window", UpdateStatisticsWindow, std::ref(*window))
      ->Unit(benchmark::kMicrosecond);

  benchmark::Initialize(&argc, argv);
  bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter, peaks);
  benchmark::Shutdown();
  window.reset();
  fs::remove_all(appData);
  return 0;
}
