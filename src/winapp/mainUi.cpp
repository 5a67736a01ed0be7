#include "winapp/mainUi.h"

#include <commctrl.h>

#include <cctype>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "winapp/application.h"
#include "winapp/splitter.h"
#include "winapp/winText.h"
#include "workflow/filterChoices.h"
#include "workflow/menuCommands.h"
#include "workflow/statistics.h"

namespace brimlow {

namespace {

constexpr const wchar_t* kPaneClass = L"BrimlowPane";
constexpr const wchar_t* kHeaderProperty = L"BrimlowHeaderCaption";
constexpr int kSplitter1 = 301;
constexpr int kSplitter2 = 302;

// Design sizes at 96 dots per inch.
constexpr int kFilterHeight = 237;
constexpr int kSelectedHeight = 160;
constexpr int kStatisticsHeight = 249;
constexpr int kTrashActionHeight = 214;
constexpr int kRow = 24;
constexpr int kLine = 17;
constexpr int kCaptionWidth = 62;
constexpr int kFromWidth = 16;  // "от" and "до"
constexpr int kValueWidth = 64;

// A pane hands what its controls report to the main window.
LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return SendMessageW(GetParent(pane), message, wParam, lParam);
    default: return DefWindowProcW(pane, message, wParam, lParam);
  }
}

HWND Control(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id = 0,
             DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HWND Pane(HWND window) {
  RegisterWindowClass(kPaneClass, PaneProc, GetSysColorBrush(COLOR_BTNFACE));
  // Not clipping its children: the pane paints the inside of its group boxes.
  return Control(window, kPaneClass, L"", 0, 0, WS_EX_CONTROLPARENT);
}

HWND Group(HWND pane, const wchar_t* title) {
  return Control(pane, L"BUTTON", title, BS_GROUPBOX);
}

HWND Label(HWND pane, const wchar_t* text, int id = 0) {
  return Control(pane, L"STATIC", text, SS_LEFT | SS_NOPREFIX * (id != 0), id);
}

HWND Button(HWND pane, const wchar_t* text, int id, DWORD style = BS_PUSHBUTTON) {
  return Control(pane, L"BUTTON", text, WS_TABSTOP | style, id);
}

// A drop-down list holding these captions, the first chosen.
HWND ChoiceList(HWND pane, int id, const std::vector<std::string_view>& captions) {
  const HWND box = Control(pane, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, id);
  for (const std::string_view caption : captions)
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(caption).c_str()));
  SendMessageW(box, CB_SETCURSEL, 0, 0);
  return box;
}

template <typename Value>
HWND ChoiceList(HWND pane, int id, std::span<const TChoice<Value>> choices) {
  std::vector<std::string_view> captions;
  for (const TChoice<Value>& choice : choices)
    captions.push_back(choice.caption);
  return ChoiceList(pane, id, captions);
}

HWND TextField(HWND pane, int id) {
  return Control(pane, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, id, WS_EX_CLIENTEDGE);
}

HWND DateField(HWND pane, int id) {
  const HWND field =
      Control(pane, DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT | DTS_SHOWNONE, id);
  // Empty until the user ticks it.
  SendMessageW(field, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  return field;
}

void Place(HWND control, int x, int y, int width, int height, int dpi) {
  MoveWindow(control, Scaled(x, dpi), Scaled(y, dpi), Scaled(width, dpi), Scaled(height, dpi),
             TRUE);
}

// Design units of a pane whose real size is given in pixels.
int Unscaled(int pixels, int dpi) {
  return MulDiv(pixels, USER_DEFAULT_SCREEN_DPI, dpi);
}

// A key name as the menu table spells it: modifiers ("Ctrl+", "Shift+",
// "Alt+") before a letter, a digit, "F1".."F12" or "Del".
ACCEL Accelerator(std::string_view shortcut, int id) {
  ACCEL key{FVIRTKEY, 0, static_cast<WORD>(id)};
  for (const auto& [prefix, flag] :
       {std::pair{"Ctrl+", FCONTROL}, {"Shift+", FSHIFT}, {"Alt+", FALT}})
    if (shortcut.starts_with(prefix)) {
      key.fVirt |= flag;
      shortcut.remove_prefix(std::string_view(prefix).size());
    }
  if (shortcut == "Del")
    key.key = VK_DELETE;
  else if (shortcut.size() > 1 && shortcut[0] == 'F')
    key.key = static_cast<WORD>(VK_F1 + std::stoi(std::string(shortcut.substr(1))) - 1);
  else if (shortcut.size() == 1)
    key.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(shortcut[0])));
  return key;
}

std::wstring MenuCaption(const TMenuEntry& entry) {
  std::string caption(entry.caption);
  if (!entry.shortcut.empty()) caption.append("\t").append(entry.shortcut);
  return WideFromUtf8(caption);
}

void FillMenu(HMENU menu, std::span<const TMenuEntry> entries, TForm2Ui& ui) {
  for (const TMenuEntry& entry : entries) {
    switch (entry.kind) {
      case TMenuEntryKind::Command:
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(CommandId(entry.command)),
                    MenuCaption(entry).c_str());
        break;
      case TMenuEntryKind::Separator: AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); break;
      case TMenuEntryKind::Submenu: {
        const HMENU submenu = CreatePopupMenu();
        FillMenu(submenu, entry.entries, ui);
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                    MenuCaption(entry).c_str());
        break;
      }
      case TMenuEntryKind::BackupCopies:
        ui.N7 = CreatePopupMenu();
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(ui.N7), MenuCaption(entry).c_str());
        break;
    }
  }
}

// Window-wide shortcuts become accelerators; the lists' own keys are read by
// the lists, so that Delete still edits the filter's fields.
HACCEL WindowAccelerators() {
  std::vector<ACCEL> keys;
  for (int i = 0; i < kCommandCount; ++i) {
    const TMenuEntry& entry = CommandEntry(static_cast<TCommand>(i));
    if (entry.shortcut.empty() || entry.scope != TShortcutScope::Window) continue;
    keys.push_back(Accelerator(entry.shortcut, CommandId(entry.command)));
    if (!entry.alternateShortcut.empty())
      keys.push_back(Accelerator(entry.alternateShortcut, CommandId(entry.command)));
  }
  return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

void BuildMenu(HWND window, TForm2Ui& ui) {
  ui.MainMenu1 = CreateMenu();
  FillMenu(ui.MainMenu1, MainMenu(), ui);
  SetMenu(window, ui.MainMenu1);
  ui.accelerators = WindowAccelerators();
}

void BuildListPane(TForm2Ui& ui) {
  const HWND pane = ui.Panel1;
  ui.GroupBox5 = Group(pane, L"Список закачек");
  // The list view (treeLeft) comes here, made by the window.
  ui.GroupBox4 = Group(pane, L"Фильтр");
  ui.fileCheckBox = ChoiceList(pane, ID_fileCheckBox, FileChoices());
  Label(pane, L"&Состояние");
  ui.stateBox = ChoiceList(pane, ID_stateBox, StateChoices());
  Label(pane, L"&Категория");
  ui.catBox = ChoiceList(pane, ID_catBox, {kAnyCategoryCaption});
  Label(pane, L"Ра&змер (КБ)");
  Label(pane, L"от");
  ui.size1 = TextField(pane, ID_size1);
  Label(pane, L"до");
  ui.size2 = TextField(pane, ID_size2);
  Label(pane, L"&Дата");
  Label(pane, L"от");
  ui.date1 = DateField(pane, ID_date1);
  Label(pane, L"до");
  ui.date2 = DateField(pane, ID_date2);
  Label(pane, L"Сод&ержит");
  ui.searchText = TextField(pane, ID_searchText);
  Label(pane, L"в");
  ui.searchBox = ChoiceList(pane, ID_searchBox, SearchChoices());
  // Above the buttons, and before them in the tab order.
  ui.duplicatesOnly = Button(pane, L"Только повторы", ID_duplicatesOnly, BS_AUTOCHECKBOX);
  ui.doSelectButton = Button(pane, L"Выделить", ID_doSelect);
  ui.noSelectionButton = Button(pane, L"Снять выделение", ID_noSelection);
}

HWND HeaderCaption(HWND pane, const wchar_t* text) {
  const HWND label = Label(pane, text);
  SetPropW(label, kHeaderProperty, reinterpret_cast<HANDLE>(1));
  SetPropW(label, L"BrimlowOwnFont", reinterpret_cast<HANDLE>(1));
  return label;
}

void BuildMiddlePane(TForm2Ui& ui) {
  const HWND pane = ui.Panel2;
  ui.GroupBox2 = Group(pane, L"Выделенное");
  ui.BitBtn1 = Button(pane, L"Перенести", ID_move);
  ui.BitBtn2 = Button(pane, L"Скопировать", ID_doCopy);
  ui.BitBtn3 = Button(pane, L"Перенести обратно", ID_moveBack);
  ui.cleanSel = Button(pane, L"Убрать выделение после выполнения", ID_cleanSel,
                       BS_AUTOCHECKBOX | BS_MULTILINE);
  ui.GroupBox1 = Group(pane, L"Статистика");
  HeaderCaption(pane, L"Список закачек");
  Label(pane, L"Закачек");
  ui.labZak = Label(pane, L"0", ID_labZak);
  Label(pane, L"Отмечено");
  ui.labSel = Label(pane, L"0", ID_labSel);
  Label(pane, L"Размер отмеченных");
  ui.labSizeSel = Label(pane, L"0", ID_labSizeSel);
  Label(pane, L"Размер всех");
  ui.labSize = Label(pane, L"0", ID_labSize);
  Label(pane, WideFromUtf8(kUnreachableCaption).c_str());
  ui.labUnreachable = Label(pane, L"0", ID_labUnreachable);
  Label(pane, L"Групп повторов");
  ui.labRepeats = Label(pane, L"0", ID_labRepeats);
  HeaderCaption(pane, L"Выделенное");
  Label(pane, L"Закачек");
  ui.labSelCount = Label(pane, L"0", ID_labSelCount);
  Label(pane, L"Размер");
  ui.labSelTotal = Label(pane, L"0", ID_labSelTotal);
}

void BuildTrashPane(TForm2Ui& ui) {
  const HWND pane = ui.Panel3;
  ui.GroupBox3 = Group(pane, L"Корзина");
  // The list view (treeRight) comes here, made by the window.
  ui.GroupBox6 = Group(pane, L"Что делать с корзиной");
  ui.CheckBox2 = Button(pane, L"Сохранить резервную копию исходного списка", ID_CheckBox2,
                        BS_AUTOCHECKBOX | BS_MULTILINE);
  SendMessageW(ui.CheckBox2, BM_SETCHECK, BST_CHECKED, 0);
  ui.saveSel =
      Button(pane, L"Сохранить в отдельный список", ID_saveSel, BS_AUTORADIOBUTTON | WS_GROUP);
  ui.deleteSel = Button(pane, L"Удалить", ID_deleteSel, BS_AUTORADIOBUTTON);
  ui.delSelWithFiles =
      Button(pane, L"Удалить вместе с файлами", ID_delSelWithFiles, BS_AUTORADIOBUTTON);
  ui.delSelFiles = Button(pane, L"Удалить только файлы", ID_delSelFiles, BS_AUTORADIOBUTTON);
  SendMessageW(ui.deleteSel, BM_SETCHECK, BST_CHECKED, 0);
  // Unticked: the file actions erase for good unless the user asks for the
  // bin.  "Корзина" alone would be the trash pane.
  ui.recycleFiles = Button(pane, L"Файлы — в Корзину Windows", ID_recycleFiles,
                           BS_AUTOCHECKBOX | BS_MULTILINE | WS_GROUP);
  ui.Button2 = Button(pane, L"Выполнить", ID_Button2, BS_PUSHBUTTON | WS_GROUP);
}

// The controls made after `first` in the pane, in creation order.
HWND Next(HWND control) {
  return GetWindow(control, GW_HWNDNEXT);
}

}  // namespace

bool IsHeaderCaption(HWND control) {
  return GetPropW(control, kHeaderProperty) != nullptr;
}

void BuildForm2Ui(HWND window, TForm2Ui& ui) {
  BuildMenu(window, ui);
  ui.Panel1 = Pane(window);
  ui.Splitter1 = CreateSplitter(window, kSplitter1);
  ui.Panel2 = Pane(window);
  ui.Splitter2 = CreateSplitter(window, kSplitter2);
  ui.Panel3 = Pane(window);
  BuildListPane(ui);
  BuildMiddlePane(ui);
  BuildTrashPane(ui);
  ui.statusBar = Control(window, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, ID_statusBar);
  ui.filterProgress =
      CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 10, 10, ui.statusBar,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_filterProgress)),
                      GetModuleHandleW(nullptr), nullptr);
}

namespace {

// A side pane: its list in a group filling the top, and a group of the given
// height under it; answers the lower group's top, in design units.
int LayoutSidePane(HWND listGroup, HWND list, HWND lowerGroup, int lowerHeight, int w, int h,
                   int dpi) {
  const int listHeight = std::max(40, h - lowerHeight - 6);
  Place(listGroup, 2, 2, w - 4, listHeight, dpi);
  Place(list, 8, 18, w - 16, listHeight - 22, dpi);
  const int top = 4 + listHeight;
  Place(lowerGroup, 2, top, w - 4, lowerHeight, dpi);
  return top;
}

}  // namespace

void LayoutListPane(const TForm2Ui& ui, int width, int height, int dpi) {
  const int w = Unscaled(width, dpi);
  const int top = LayoutSidePane(ui.GroupBox5, ui.treeLeft, ui.GroupBox4, kFilterHeight, w,
                                 Unscaled(height, dpi), dpi);
  const int left = 8;
  const int inner = w - 16;
  // Two fields per row: "от" and "до" with a field each.
  const int half = (inner - kCaptionWidth - 2 * kFromWidth) / 2;
  int y = top + 18;
  Place(ui.fileCheckBox, left, y, inner, 200, dpi);
  y += kRow;
  HWND caption = Next(ui.fileCheckBox);
  for (HWND box : {ui.stateBox, ui.catBox}) {
    Place(caption, left, y + 3, kCaptionWidth, kLine, dpi);
    Place(box, left + kCaptionWidth, y, inner - kCaptionWidth, 200, dpi);
    caption = Next(box);
    y += kRow;
  }
  for (auto [from, to] : {std::pair{ui.size1, ui.size2}, std::pair{ui.date1, ui.date2}}) {
    // caption, "от", from, "до", to
    Place(caption, left, y + 3, kCaptionWidth, kLine, dpi);
    Place(Next(caption), left + kCaptionWidth, y + 3, kFromWidth, kLine, dpi);
    Place(from, left + kCaptionWidth + kFromWidth, y, half, 21, dpi);
    Place(Next(from), left + kCaptionWidth + kFromWidth + half + 2, y + 3, kFromWidth - 2, kLine,
          dpi);
    Place(to, left + kCaptionWidth + 2 * kFromWidth + half, y, half, 21, dpi);
    caption = Next(to);
    y += kRow;
  }
  Place(caption, left, y + 3, kCaptionWidth, kLine, dpi);
  Place(ui.searchText, left + kCaptionWidth, y, half + kFromWidth, 21, dpi);
  Place(Next(ui.searchText), left + kCaptionWidth + kFromWidth + half + 2, y + 3, kFromWidth - 2,
        kLine, dpi);
  Place(ui.searchBox, left + kCaptionWidth + 2 * kFromWidth + half, y, half, 200, dpi);
  y += kRow;
  Place(ui.duplicatesOnly, left, y + 2, inner, kLine, dpi);
  y += kRow - 2;
  Place(ui.noSelectionButton, left + inner - 105, y, 105, 25, dpi);
  Place(ui.doSelectButton, left + inner - 105 - 80, y, 75, 25, dpi);
}

void LayoutMiddlePane(const TForm2Ui& ui, int width, int /*height*/, int dpi) {
  const int w = Unscaled(width, dpi);
  Place(ui.GroupBox2, 2, 2, w - 4, kSelectedHeight, dpi);
  int y = 20;
  for (HWND button : {ui.BitBtn1, ui.BitBtn2, ui.BitBtn3}) {
    Place(button, 8, y, w - 16, 25, dpi);
    y += 30;
  }
  Place(ui.cleanSel, 8, y, w - 16, 34, dpi);

  const int top = 4 + kSelectedHeight;
  Place(ui.GroupBox1, 2, top, w - 4, kStatisticsHeight, dpi);
  y = top + 18;
  const int valueLeft = w - 8 - kValueWidth;
  // Headers span the row; every other caption has its value label after it.
  for (HWND control = Next(ui.GroupBox1); control; control = Next(control)) {
    if (IsHeaderCaption(control)) {
      Place(control, 8, y, w - 16, kLine, dpi);
      y += kLine + 2;
      continue;
    }
    const HWND value = Next(control);
    const bool twoLines =
        value == ui.labSizeSel || value == ui.labUnreachable || value == ui.labRepeats;
    Place(control, 14, y, valueLeft - 16, twoLines ? 2 * kLine - 2 : kLine, dpi);
    Place(value, valueLeft, y, kValueWidth, kLine, dpi);
    y += (twoLines ? 2 * kLine - 2 : kLine) + 1;
    control = value;
  }
}

void LayoutTrashPane(const TForm2Ui& ui, int width, int height, int dpi) {
  const int w = Unscaled(width, dpi);
  const int top = LayoutSidePane(ui.GroupBox3, ui.treeRight, ui.GroupBox6, kTrashActionHeight, w,
                                 Unscaled(height, dpi), dpi);
  int y = top + 18;
  Place(ui.CheckBox2, 10, y, w - 20, 30, dpi);
  y += 34;
  for (HWND choice : {ui.saveSel, ui.deleteSel, ui.delSelWithFiles, ui.delSelFiles}) {
    Place(choice, 10, y, w - 20, 20, dpi);
    y += 21;
  }
  Place(ui.recycleFiles, 10, y + 2, w - 20, 30, dpi);
  y += 34;
  Place(ui.Button2, w - 10 - 75, y + 2, 75, 25, dpi);
}

}  // namespace brimlow
