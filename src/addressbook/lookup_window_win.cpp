// The "Get Addressee" window: lists the entries of the open book whose names begin with
// what the Name field holds and copies the chosen one into the addressee form, where it
// becomes the current record. The list is virtual (LVS_OWNERDATA): rows are drawn from
// the row table on demand, so a book of any size opens at once. The window runs its own
// loop; the main window does nothing until it closes.
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "addressbook/book_form_win.h"
#include "addressbook/lookup_rows.h"
#include "app/event_loop_win.h"
#include "app/scoped_win.h"
#include "app/shell_commands_win.h"
#include "app/window_class_win.h"

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

// Pause between a choice and the window closing, so the highlighted row is seen.
constexpr DWORD kChoicePauseMs = 200;

void DestroyOwnedWindow(HWND window) { DestroyWindow(window); }
using ScopedWindow = ScopedHandle<HWND, DestroyOwnedWindow>;

struct LookupState {
  const std::vector<AddressEntry>* entries = nullptr;
  std::vector<int> rows;  // row -> position in `entries`
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
  return static_cast<int>(SendMessageA(state.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       MAKELPARAM(LVNI_SELECTED, 0)));
}

// Makes `row` the one selected and focused row.
void SelectOnly(const LookupState& state, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(state.list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

// Hands the list the text of one cell of a row it is about to draw.
void FillCell(const LookupState& state, NMLVDISPINFOA& info) {
  LVITEMA& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::optional<int> position = PositionForRow(state.rows, item.iItem);
  const std::string_view text =
      position
          ? LookupCellText((*state.entries)[static_cast<std::size_t>(*position)], item.iSubItem)
          : std::string_view();
  const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
  const std::size_t n = text.size() < room ? text.size() : room;
  text.copy(item.pszText, n);
  item.pszText[n] = '\0';
}

LRESULT OnNotify(LookupState& state, const NMHDR& header) {
  if (header.idFrom != kListId) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOA:
      FillCell(state, *reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
      return 0;
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
  auto* state = reinterpret_cast<LookupState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(
          hwnd, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
      break;
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
        const int row = SelectedRow(*state);
        if (row >= 0) Choose(*state, row);  // with no row selected the window stays open
        return 0;
      }
      break;
    case WM_CLOSE:
      return 0;  // no close box: only Cancel and a choice close the window
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND Child(HWND parent, HINSTANCE inst, const char* cls, const char* text, DWORD style, int id,
           int x, int y, int w, int h) {
  HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
  if (child) {
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  }
  return child;
}

HWND BuildList(HWND window, HINSTANCE inst, LookupState& state) {
  HWND list =
      Child(window, inst, WC_LISTVIEWA, "",
            WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
            kListId, 10, 5, 620, 280);
  if (!list) return nullptr;
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  int index = 0;
  for (const LookupColumn& column : kLookupColumns) {
    const std::string title(column.title);
    LVCOLUMNA lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.cx = column.width;
    lvc.pszText = const_cast<char*>(title.c_str());
    lvc.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&lvc));
    ++index;
  }
  SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(state.rows.size()), 0);
  return list;
}

// Opens the window centred over the main window, its client area 640 by 340, with a title
// bar but neither system menu nor close box. Returns null when it cannot be opened.
HWND OpenLookupWindow(Shell& shell, LookupState& state) {
  if (!RegisterFormWindowClass(shell.instance, kLookupClass, LookupProc)) return nullptr;

  constexpr DWORD style = WS_POPUP | WS_CAPTION;
  RECT r = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  RECT main = {};
  GetWindowRect(shell.mainWindow, &main);
  const int x = main.left + ((main.right - main.left) - w) / 2;
  const int y = main.top + ((main.bottom - main.top) - h) / 2;
  return CreateWindowExA(0, kLookupClass, kLookupTitle, style, x, y, w, h, shell.mainWindow,
                         nullptr, shell.instance, &state);
}

}  // namespace

// Runs the lookup window to its end: Cancel leaves no record current, a choice fills
// the addressee form with the chosen entry and makes it the current record.
void LookupAddresseeCommand(Shell& shell) {
  SetControlText(shell, ctl::kHintLine, "");
  // The file is the master copy: list what it holds now, in file order. Should it not
  // be readable, the entries already in memory are listed.
  RereadAddressbook(SystemFileSystem(), shell.book);

  LookupState state;
  state.entries = &shell.book.entries;
  ScopedWindow owned(OpenLookupWindow(shell, state));
  if (!owned) return;
  HWND window = owned.get();

  const std::string searchText = ControlText(shell, ctl::kAddresseeName);
  state.rows = BuildLookupRows(shell.book.entries, searchText);
  HINSTANCE inst = shell.instance;
  state.list = BuildList(window, inst, state);
  Child(window, inst, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, kCancelId, 520, 300, 50, 30);
  Child(window, inst, "BUTTON", "Select", WS_TABSTOP | BS_PUSHBUTTON, kSelectId, 580, 300, 50, 30);
  const char* lines[] = {
      "You can Left Double Click any name to auto select -or- you can",
      "highlight a name and click SELECT to return that name and address for printing",
      "To exit without selecting a name and address click CANCEL",
  };
  const int lineY[] = {288, 305, 322};
  for (int i = 0; i < 3; ++i)
    Child(window, inst, "STATIC", lines[i], SS_LEFT, -1, 10, lineY[i], 400, 18);

  ShowWindow(window, SW_SHOWNORMAL);
  SetFocus(state.list ? state.list : GetDlgItem(window, kCancelId));
  RunModalLoop(shell, window, state.done);
  owned.reset();
  SetActiveWindow(shell.mainWindow);

  if (!state.chosen) {
    shell.book.currentRecord = -1;
    return;
  }
  const std::optional<AddresseeForm> form = SelectRecord(shell.book, *state.chosen);
  if (!form) return;
  ShowAddresseeForm(shell, *form);
  // Filling the Name field counts as a change of it: an entry with nothing but a name
  // is saved as a new addressee.
  NameChanged(shell.book, *form);
}

}  // namespace qr
