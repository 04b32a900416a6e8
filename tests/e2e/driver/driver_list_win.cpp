// The driver's commands for list views (report view, also virtual lists): reading the
// rows, selecting one and double-clicking one; and dpi-change. These messages carry
// pointers, so their structures live in a buffer inside the program's own address space.
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <cstring>
#include <string>

#include "base/wide_text_win.h"
#include "driver_util_win.h"
#include "driver_win.h"
#include "ui_win.h"

namespace qr::e2e {

using namespace detail;

namespace {

constexpr size_t kCellTextBytes = 1024;

// Memory allocated in another process, freed on destruction.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  explicit operator bool() const { return address_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* bytes, size_t size) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, at(offset), bytes, size, &done) && done == size;
  }
  bool Read(size_t offset, void* bytes, size_t size) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, at(offset), bytes, size, &done) && done == size;
  }

 private:
  HANDLE process_;
  void* address_;
};

bool SendBounded(HWND window, UINT message, WPARAM w, LPARAM l, DWORD_PTR* result) {
  return SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs,
                             result) != 0;
}

bool IsListView(HWND control) { return _stricmp(WindowClass(control).c_str(), WC_LISTVIEWA) == 0; }

bool RowCount(HWND list, int* count) {
  DWORD_PTR n = 0;
  if (!SendBounded(list, LVM_GETITEMCOUNT, 0, 0, &n)) return false;
  *count = int(n);
  return true;
}

// The texts of `column` in every row, joined with "|".
bool ColumnTexts(HANDLE process, HWND list, int column, std::string* texts, int* rows) {
  if (!RowCount(list, rows)) return false;
  // The cells are read as UTF-16 and compared as UTF-8, as scenarios write text.
  constexpr size_t kCellUnits = kCellTextBytes;
  RemoteBuffer buffer(process, sizeof(LVITEMW) + kCellUnits * sizeof(wchar_t));
  if (!buffer) return false;
  texts->clear();
  for (int row = 0; row < *rows; ++row) {
    LVITEMW item;
    std::memset(&item, 0, sizeof item);
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.at(sizeof(LVITEMW)));
    item.cchTextMax = int(kCellUnits);
    wchar_t cell[kCellUnits] = {};
    DWORD_PTR length = 0;
    if (!buffer.Write(0, &item, sizeof item) ||
        !SendBounded(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(buffer.at(0)), &length) ||
        !buffer.Read(sizeof(LVITEMW), cell, sizeof cell))
      return false;
    cell[kCellUnits - 1] = L'\0';
    if (row > 0) *texts += "|";
    *texts += Utf8(cell);
  }
  return true;
}

// Selects and focuses `row` alone, as a click on it would: any other selected row of a
// list that allows several is deselected first.
bool SelectRow(HANDLE process, HWND list, int row) {
  RemoteBuffer buffer(process, sizeof(LVITEMA));
  if (!buffer) return false;
  LVITEMA item;
  std::memset(&item, 0, sizeof item);
  item.stateMask = LVIS_SELECTED;
  DWORD_PTR ok = 0;
  if (!buffer.Write(0, &item, sizeof item) ||
      !SendBounded(list, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(buffer.at(0)), &ok))
    return false;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  return buffer.Write(0, &item, sizeof item) &&
         SendBounded(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(buffer.at(0)), &ok) && ok;
}

// The middle of the row's label (its first column), in list coordinates.
bool RowPoint(HANDLE process, HWND list, int row, POINT* point) {
  RemoteBuffer buffer(process, sizeof(RECT));
  if (!buffer) return false;
  RECT rect = {LVIR_LABEL, 0, 0, 0};
  DWORD_PTR ok = 0;
  if (!buffer.Write(0, &rect, sizeof rect) ||
      !SendBounded(list, LVM_GETITEMRECT, WPARAM(row), LPARAM(buffer.at(0)), &ok) || !ok ||
      !buffer.Read(0, &rect, sizeof rect))
    return false;
  *point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  return true;
}

}  // namespace

bool Driver::ListControl(const Command& command, HWND* list, std::string* error) const {
  if (!Control(command, 0, list, error)) return false;
  if (IsListView(*list)) return true;
  *error = "control " + Arg(command, 0) + " is a " + WindowClass(*list) + ", not a list view";
  return false;
}

bool Driver::ListRow(const Command& command, HWND list, long* row, std::string* error) const {
  if (!IntArg(command, 1, row, error)) return false;
  int rows = 0;
  if (!RowCount(list, &rows)) {
    *error = "the list does not answer";
    return false;
  }
  if (*row < 0 || *row >= rows) {
    *error = "the list has " + std::to_string(rows) + " rows, no row " + std::to_string(*row);
    return false;
  }
  return true;
}

bool Driver::ExpectRows(const Command& command, std::string* error) {
  HWND list = nullptr;
  long column = 0;
  if (!ListControl(command, &list, error) || !IntArg(command, 1, &column, error)) return false;
  const std::string expected = Arg(command, 2);
  std::string found;
  int rows = 0;
  bool answered = false;
  if (Poll(timeout_ms_, [&] {
        answered = ColumnTexts(process_.get(), list, int(column), &found, &rows);
        return answered && found == expected;
      }))
    return true;
  *error = answered ? "expected " + Quote(expected) + ", found " + std::to_string(rows) +
                          " rows: " + Quote(found)
                    : "cannot read the list's rows: " + LastErrorText();
  return false;
}

bool Driver::SelectListRow(const Command& command, std::string* error) {
  HWND list = nullptr;
  long row = 0;
  if (!ListControl(command, &list, error) || !ListRow(command, list, &row, error)) return false;
  if (SelectRow(process_.get(), list, int(row))) return true;
  *error = "the list did not take the selection: " + LastErrorText();
  return false;
}

// Where on the screen the command's row is: its list and the middle of its label.
bool Driver::ListRowPoint(const Command& command, HWND* list, LPARAM* where, std::string* error) {
  long row = 0;
  if (!ListControl(command, list, error) || !ListRow(command, *list, &row, error)) return false;
  POINT at = {};
  if (!RowPoint(process_.get(), *list, int(row), &at)) {
    *error = "cannot find row " + std::to_string(row) + " on the screen: " + LastErrorText();
    return false;
  }
  *where = MAKELPARAM(at.x, at.y);
  return true;
}

bool Driver::CtrlClickListRow(const Command& command, std::string* error) {
  HWND list = nullptr;
  LPARAM where = 0;
  if (!ListRowPoint(command, &list, &where, error)) return false;
  // The list takes the key state from the message, as it would from the mouse.
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, where);
  PostMessageA(list, WM_LBUTTONUP, MK_CONTROL, where);
  return true;
}

bool Driver::DoubleClickListRow(const Command& command, std::string* error) {
  HWND list = nullptr;
  LPARAM where = 0;
  if (!ListRowPoint(command, &list, &where, error)) return false;
  // As the mouse does it: a click, then the second press that makes it a double-click.
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageA(list, WM_LBUTTONUP, 0, where);
  PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
  PostMessageA(list, WM_LBUTTONUP, 0, where);
  return true;
}

// WM_DPICHANGED as a move to another monitor sends it, suggesting the window's own rectangle.
bool Driver::DpiChange(const Command& command, std::string* error) {
  if (!NeedMainWindow(error)) return false;
  long dpi = 0;
  if (!IntArg(command, 0, &dpi, error)) return false;
  RECT suggested = {};
  GetWindowRect(main_window_, &suggested);
  RemoteBuffer buffer(process_.get(), sizeof suggested);
  DWORD_PTR ignored = 0;
  if (!buffer || !buffer.Write(0, &suggested, sizeof suggested) ||
      !SendMessageTimeoutW(main_window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(buffer.at(0)),
                           SMTO_BLOCK, kSendTimeoutMs, &ignored)) {
    *error = "the program did not take WM_DPICHANGED";
    return false;
  }
  return true;
}

}  // namespace qr::e2e
