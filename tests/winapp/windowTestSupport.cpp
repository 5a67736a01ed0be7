#include "windowTestSupport.h"

namespace brimlow::test {

namespace {
int counter = 0;
}  // namespace

WindowTest::WindowTest() : scoped(fake) {
  previousPresenter =
      SetErrorPresenter([this](const std::wstring& message) { errors.push_back(message); });
  folder =
      std::filesystem::temp_directory_path() /
      ("brimlow_winapp_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter));
  std::filesystem::create_directories(folder / "bin");
  std::filesystem::create_directories(folder / "Tarvolt" / "lists");
  fake.programFile = Path("bin\\brimlow.exe");
  fake.today = platform::LocalDate{2009, 3, 7};
  fake.environment["APPDATA"] = folder.string();
  MakeWindow();
}

void WindowTest::MakeWindow() {
  window.reset();
  window = std::make_unique<TForm2>();
  ui = &window->Ui();
  window->Cleaner().SetHostExitWait(std::chrono::milliseconds(0), std::chrono::milliseconds(1));
  window->SetDialogRunner([this](HWND dialog) {
    shownDialogs.push_back(dialog);
    const TreportForm& report = window->Report();
    if (dialog == report.Handle())
      reportLines = {Text(report.listLabel), Text(report.selLabel), Text(report.Edit1)};
    return true;
  });
  window->SetFileDialogRunner([this](OPENFILENAMEW& dialog, bool save) {
    EXPECT_EQ(dialog.hwndOwner, window->Handle());
    fileDialogs.push_back(
        {save, dialog.lpstrFile, dialog.lpstrInitialDir ? dialog.lpstrInitialDir : L""});
    if (!pickedFile) return false;
    const std::wstring name = Wide(*pickedFile);
    name.copy(dialog.lpstrFile, dialog.nMaxFile - 1);
    dialog.lpstrFile[name.size()] = L'\0';
    return true;
  });
  // Not shown: without a window manager each map and unmap waits on the X server.
}

WindowTest::~WindowTest() {
  window.reset();
  SetErrorPresenter(previousPresenter);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void WindowTest::WriteList(const std::string& path, const std::vector<TListEntry>& entries) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<DownloadList Version=\"4\">\r\n";
  int id = 0;
  for (const TListEntry& entry : entries) {
    const std::string number = std::to_string(++id);
    xml += "<DownloadFile><ID>" + number + "</ID><URL>http://example.com/" + number +
           "</URL><FileName>" + entry.fileName + "</FileName><State>" +
           std::to_string(entry.state) + "</State><Size>" + std::to_string(entry.size) +
           "</Size><Date>" + entry.date + "</Date><NodeID>" + std::to_string(entry.nodeId) +
           "</NodeID><Comment>" + entry.comment + "</Comment></DownloadFile>\r\n";
  }
  xml += "</DownloadList>\r\n";
  std::ofstream(std::filesystem::path(Wide(path)), std::ios::binary) << xml;
}

std::string WindowTest::ReadFile(const std::string& path) {
  std::ifstream file(std::filesystem::path(Wide(path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

void WindowTest::StartWith(const std::vector<TListEntry>& entries) {
  WriteList(ListPath(), entries);
  std::ofstream(folder / "Tarvolt" / "nodelist.xml", std::ios::binary)
      << "<?xml version=\"1.0\" encoding=\"utf-8\"?><NodeList>"
         "<MyNode><ID>2</ID><Name>Все</Name><ImageIndex>0</ImageIndex><ParentID>0</ParentID></"
         "MyNode>"
         "<MyNode><ID>5</ID><Name>Программы</Name><ImageIndex>12</ImageIndex><ParentID>2</"
         "ParentID></MyNode>"
         "<MyNode><ID>9</ID><Name>Музыка</Name><ImageIndex>54</ImageIndex><ParentID>2</ParentID></"
         "MyNode>"
         "</NodeList>";
  window->FormCreate();
}

void WindowTest::Click(HWND button) const {
  SendMessageW(button, BM_CLICK, 0, 0);
}

void WindowTest::Choose(int menuId) const {
  SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(menuId, 0), 0);
}

void WindowTest::TickRows(HWND list, std::initializer_list<int> rows) const {
  for (int row : rows) {
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    LVITEMW focused{};
    focused.state = focused.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&focused));
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(list, WM_KEYUP, VK_SPACE, 0);
  }
}

void WindowTest::SetText(HWND field, const std::wstring& text) {
  SetWindowTextW(field, text.c_str());
}

void WindowTest::Select(HWND box, int index) {
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int WindowTest::RowCount(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring WindowTest::Cell(HWND list, int row, int column) {
  std::wstring text(1100, L'\0');
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(&item));
  text.resize(static_cast<size_t>(length));
  return text;
}

bool WindowTest::IsTicked(HWND list, int row) {
  const auto state =
      SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::vector<std::wstring> WindowTest::Names(HWND list) const {
  std::vector<std::wstring> names;
  for (int row = 0; row < RowCount(list); ++row)
    names.push_back(Cell(list, row, TDownloadsView::ColumnName));
  return names;
}

}  // namespace brimlow::test
