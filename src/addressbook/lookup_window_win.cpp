// The "Get Addressee" window. The list is virtual (LVS_OWNERDATA): rows are drawn from
// the row table on demand, so a book of any size opens at once.
// clang-format off
#include "addressbook/lookup_window_win.h"
#include <commctrl.h>  // needs windows.h first
// clang-format on

#include "addressbook/lookup_rows.h"
#include "base/wide_text_win.h"
#include "wingui/dpi_win.h"
#include "wingui/modal_win.h"
#include "wingui/scoped_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {

namespace {

constexpr char kLookupClass[] = "QuarraneLookupWindow";
constexpr char kLookupTitle[] = "Get Addressee";
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 340;

// Control numbers inside the lookup window. Neither button is a dialog default, so no
// key (Enter, Escape) stands for Cancel or Select.
constexpr int kListId = 100;
constexpr int kCancelId = 101;
constexpr int kSelectId = 102;
constexpr int kPrintSelectedId = 103;
constexpr int kPrintLabelsId = 104;
constexpr int kFirstLineId = 105;  // the three lines of text

// Pause between a choice and the window closing, so the highlighted row is seen.
constexpr DWORD kChoicePauseMs = 200;

struct LookupState {
  const std::vector<AddressEntry>* entries = nullptr;
  std::vector<int> rows;  // row -> position in `entries`
  const PrintSelectedFn* printSelected = nullptr;
  const PrintSelectedFn* printLabels = nullptr;
  HWND list = nullptr;
  bool done = false;
  std::optional<int> chosen;  // position of the chosen entry
};

// Takes `row` as the choice: remembers its entry, pauses, and ends the window's loop.
void Choose(LookupState& state, int row) {
  const std::optional<int> position = PositionForRow(state.rows, row);
  if (!position) return;
  state.chosen = position;
  UpdateWindow(state.list);
  Sleep(kChoicePauseMs);
  state.done = true;
}

int SelectedRow(const LookupState& state) {
  return static_cast<int>(SendMessageW(state.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       MAKELPARAM(LVNI_SELECTED, 0)));
}

// The row Select takes: with several rows selected, the one clicked last (focused).
int RowForSelect(const LookupState& state) {
  const int focused = static_cast<int>(SendMessageW(
      state.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
  const bool focusedSelected =
      focused >= 0 &&
      (SendMessageW(state.list, LVM_GETITEMSTATE, static_cast<WPARAM>(focused), LVIS_SELECTED) &
       LVIS_SELECTED) != 0;
  return RowToChoose(focused, focusedSelected, SelectedRow(state));
}

// Selects (or deselects) every row.
void SelectAll(const LookupState& state, bool selected) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageW(state.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&item));
}

// The positions in `entries` of the selected rows, in list order.
std::vector<int> SelectedPositions(const LookupState& state) {
  std::vector<int> positions;
  for (int row = SelectedRow(state); row >= 0;
       row = static_cast<int>(SendMessageW(state.list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                           MAKELPARAM(LVNI_SELECTED, 0)))) {
    if (const std::optional<int> position = PositionForRow(state.rows, row))
      positions.push_back(*position);
  }
  return positions;
}

// Makes `row` the one selected and focused row.
void SelectOnly(const LookupState& state, int row) {
  SelectAll(state, false);
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(state.list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

// Hands the list the text of one cell of a row it is about to draw.
void FillCell(const LookupState& state, NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::optional<int> position = PositionForRow(state.rows, item.iItem);
  const std::wstring text =
      position ? Wide(LookupCellText((*state.entries)[static_cast<std::size_t>(*position)],
                                     item.iSubItem))
               : std::wstring();
  const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
  std::size_t n = text.size() < room ? text.size() : room;
  // A character of two code units is given whole or not at all.
  if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  text.copy(item.pszText, n);
  item.pszText[n] = L'\0';
}

LRESULT OnNotify(LookupState& state, const NMHDR& header) {
  if (header.idFrom != kListId) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillCell(state, *reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
      return 0;
    case LVN_KEYDOWN: {
      // Ctrl+A selects every row.
      const auto& key = *reinterpret_cast<const NMLVKEYDOWN*>(&header);
      if (key.wVKey == 'A' && GetKeyState(VK_CONTROL) < 0) SelectAll(state, true);
      return 0;
    }
    case NM_DBLCLK: {
      if (state.done) return 0;
      // A double-click on a row selects that row first; elsewhere it takes the row
      // that is selected, if any.
      const auto& click = *reinterpret_cast<const NMITEMACTIVATE*>(&header);
      int row = click.iItem;
      if (row >= 0) {
        SelectOnly(state, row);
      } else {
        row = SelectedRow(state);
      }
      if (row >= 0) Choose(state, row);
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT CALLBACK LookupProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = WindowState<LookupState>(hwnd, msg, lp);
  switch (msg) {
    case WM_NOTIFY:
      if (state) return OnNotify(*state, *reinterpret_cast<NMHDR*>(lp));
      break;
    case WM_COMMAND:
      if (!state || state->done || HIWORD(wp) != BN_CLICKED) break;
      if (LOWORD(wp) == kCancelId) {
        state->chosen.reset();
        state->done = true;
        return 0;
      }
      if (LOWORD(wp) == kSelectId) {
        const int row = RowForSelect(*state);
        if (row >= 0) Choose(*state, row);  // with no row selected the window stays open
        return 0;
      }
      if (LOWORD(wp) == kPrintSelectedId || LOWORD(wp) == kPrintLabelsId) {
        // The window stays open: another set of rows can be printed, or one chosen.
        const PrintSelectedFn* print =
            LOWORD(wp) == kPrintSelectedId ? state->printSelected : state->printLabels;
        const std::vector<int> positions = SelectedPositions(*state);
        if (!positions.empty() && print && *print) (*print)(hwnd, positions);
        SetFocus(state->list);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      if (state) {
        const int dpi = FollowDpiChange(hwnd, wp, lp);
        int index = 0;
        for (const LookupColumn& column : kLookupColumns) {
          SendMessageW(state->list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index++),
                       ScaleForDpi(column.width, dpi));
        }
        return 0;
      }
      break;
    case WM_CLOSE:
      return 0;  // no close box: only Cancel and a choice close the window
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND BuildList(HWND window, LookupState& state) {
  HWND list = AddFormChild(window, "SysListView32", "",
                           WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                           kListId, 10, 5, 620, 280);
  if (!list) return nullptr;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  int index = 0;
  for (const LookupColumn& column : kLookupColumns) {
    std::wstring title = Wide(column.title);
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.cx = ScaleForDpi(column.width, WindowDpi(window));
    lvc.pszText = title.data();
    lvc.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&lvc));
    ++index;
  }
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(state.rows.size()), 0);
  return list;
}

// Opens the window centred over `owner`, its client area 640 by 340, with a title bar
// but neither system menu nor close box. Returns null when it cannot be opened.
HWND OpenLookupWindow(HWND owner, LookupState& state) {
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  if (!RegisterFormWindowClass(instance, kLookupClass, LookupProc)) return nullptr;
  constexpr DWORD style = WS_POPUP | WS_CAPTION;
  const SIZE size = OuterSizeForClient(kClientWidth, kClientHeight, style);
  const POINT at = CentreOver(owner, size);
  return CreateWindowExW(0, Wide(kLookupClass).c_str(), Wide(kLookupTitle).c_str(), style, at.x,
                         at.y, size.cx, size.cy, owner, nullptr, instance, &state);
}

}  // namespace

std::optional<int> RunLookupWindow(HWND owner, const std::vector<AddressEntry>& entries,
                                   const std::string& searchText,
                                   const PrintSelectedFn& printSelected,
                                   const PrintSelectedFn& printLabels) {
  LookupState state;
  state.entries = &entries;
  state.printSelected = &printSelected;
  state.printLabels = &printLabels;
  ScopedWindow window(OpenLookupWindow(owner, state));
  if (!window) return std::nullopt;

  state.rows = BuildLookupRows(entries, searchText);
  state.list = BuildList(window.get(), state);
  AddFormChild(window.get(), "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, kCancelId, 520, 300,
               50, 30);
  AddFormChild(window.get(), "BUTTON", "Select", WS_TABSTOP | BS_PUSHBUTTON, kSelectId, 580, 300,
               50, 30);
  // The two print buttons stand one above the other, right of the three lines.
  AddFormChild(window.get(), "BUTTON", "Print Selected", WS_TABSTOP | BS_PUSHBUTTON,
               kPrintSelectedId, 420, 288, 90, 24);
  AddFormChild(window.get(), "BUTTON", "Print Labels", WS_TABSTOP | BS_PUSHBUTTON, kPrintLabelsId,
               420, 314, 90, 24);
  const char* lines[] = {
      "You can Left Double Click any name to auto select -or- you can",
      "highlight a name and click SELECT to return that name and address for printing",
      "To exit without selecting a name and address click CANCEL",
  };
  const int lineY[] = {288, 305, 322};
  // Numbered 105 to 107, so that they can be found.
  for (int i = 0; i < 3; ++i)
    AddFormChild(window.get(), "STATIC", lines[i], SS_LEFT, kFirstLineId + i, 10, lineY[i], 400,
                 18);

  ShowWindow(window.get(), SW_SHOWNORMAL);
  SetFocus(state.list ? state.list : GetDlgItem(window.get(), kCancelId));
  RunModalLoop(window.get(), state.done);
  window.reset();
  SetActiveWindow(owner);
  return state.chosen;
}

}  // namespace qr
