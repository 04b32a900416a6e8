// The floor start-up is measured against: a plain Win32 window titled like the program's
// main window, with a menu bar, a toolbar of standard images and 20 controls (edits,
// statics, buttons), shown at once and closed by its close box. It reads no file and
// loads nothing else, so its start-up is what any window of this kind costs under the
// same Windows (or Wine); startup_timer starts it exactly as it starts quarrane.exe.
#include <windows.h>

#include <commctrl.h>  // needs windows.h first

#include <iterator>

namespace {

constexpr wchar_t kTitle[] = L"Quarrane 2.80 - Addresses.adb";
constexpr wchar_t kClass[] = L"QuarraneFloorWindow";

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HMENU FloorMenu() {
  HMENU bar = CreateMenu();
  const wchar_t* titles[] = {L"File", L"Edit", L"Options", L"Help"};
  int command = 100;
  for (const wchar_t* title : titles) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, command++, L"First");
    AppendMenuW(popup, MF_STRING, command++, L"Second");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
  }
  return bar;
}

void FloorToolbar(HWND parent, HINSTANCE instance) {
  HWND tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0,
                            0, 0, parent, reinterpret_cast<HMENU>(1), instance, nullptr);
  SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBADDBITMAP standard = {HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  SendMessageW(tb, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
  const int images[] = {STD_FILENEW, STD_FILEOPEN, STD_FILESAVE, STD_PRINT, STD_PRINTPRE,
                        STD_CUT,     STD_COPY,     STD_PASTE,    STD_HELP};
  TBBUTTON buttons[std::size(images)] = {};
  for (std::size_t i = 0; i < std::size(images); ++i) {
    buttons[i].iBitmap = images[i];
    buttons[i].idCommand = 200 + static_cast<int>(i);
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
  }
  SendMessageW(tb, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  SendMessageW(tb, TB_AUTOSIZE, 0, 0);
}

// Seven edits, seven statics and six buttons in three columns.
void FloorControls(HWND parent, HINSTANCE instance) {
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (int i = 0; i < 20; ++i) {
    const wchar_t* cls = i % 3 == 0 ? L"EDIT" : i % 3 == 1 ? L"STATIC" : L"BUTTON";
    const DWORD style = i % 3 == 0   ? WS_TABSTOP | ES_AUTOHSCROLL
                        : i % 3 == 1 ? SS_LEFT
                                     : WS_TABSTOP | BS_PUSHBUTTON;
    HWND c = CreateWindowExW(i % 3 == 0 ? WS_EX_CLIENTEDGE : 0, cls, i % 3 == 0 ? L"" : L"Caption",
                             WS_CHILD | WS_VISIBLE | style, 10 + 210 * (i % 3), 40 + 26 * (i / 3),
                             200, 22, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(10 + i)),
                             instance, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  if (!RegisterClassExW(&wc)) return 1;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT r = {0, 0, 660, 310};
  AdjustWindowRect(&r, style, TRUE);
  HWND window = CreateWindowExW(0, kClass, kTitle, style, 250, 200, r.right - r.left,
                                r.bottom - r.top, nullptr, FloorMenu(), instance, nullptr);
  if (!window) return 1;
  FloorToolbar(window, instance);
  FloorControls(window, instance);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
