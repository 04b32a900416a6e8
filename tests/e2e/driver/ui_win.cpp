#include "ui_win.h"

#include <commctrl.h>

#include <cstring>

#include "base/wide_text_win.h"
#include "handles_win.h"

namespace qr::e2e {
namespace {

// Control identifiers of the common dialogs (from <dlgs.h>).
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFontFaceList = 0x470;   // cmb1
constexpr int kFontSizeList = 0x472;   // cmb3

struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

bool Send(HWND window, UINT message, WPARAM w, LPARAM l, DWORD_PTR* result) {
  return SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs,
                             result) != 0;
}

LPARAM KeyLParam(UINT virtual_key, bool up) {
  LPARAM l = 1 | (LPARAM(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC)) << 16);
  if (up) l |= LPARAM(0xC0000000u);
  return l;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid) {
  WindowSearch search{pid, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowClass(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool ReadText(HWND window, std::string* text) {
  DWORD_PTR length = 0;
  if (!Send(window, WM_GETTEXTLENGTH, 0, 0, &length)) return false;
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied))
    return false;
  buffer.resize(copied < buffer.size() ? copied : buffer.size() - 1);
  *text = Utf8(buffer);
  return true;
}

bool WriteText(HWND window, const std::string& text) {
  DWORD_PTR result = 0;
  const std::wstring wide = Wide(text);
  return Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), &result);
}

HWND FindControl(HWND parent, int id) {
  // Window furniture such as the toolbar and its tooltips often carries the number 0
  // as well; a control of the form wins over it, and a direct child over a nested one.
  static constexpr const char* kFurniture[] = {TOOLBARCLASSNAMEA, TOOLTIPS_CLASSA, STATUSCLASSNAMEA,
                                               REBARCLASSNAMEA};
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&children));
  HWND best = nullptr;
  int best_rank = 0;
  for (HWND child : children) {
    if (GetDlgCtrlID(child) != id) continue;
    bool furniture = false;
    for (const char* name : kFurniture) furniture = furniture || WindowClass(child) == name;
    const int rank = 1 + (furniture ? 0 : 2) + (GetParent(child) == parent ? 1 : 0);
    if (rank > best_rank) {
      best = child;
      best_rank = rank;
    }
  }
  return best;
}

HWND FindAnyDialog(DWORD pid) {
  for (HWND window : TopLevelWindows(pid)) {
    if (WindowClass(window) == "#32770") return window;
  }
  return nullptr;
}

HWND FindDialog(DWORD pid, DialogKind kind) {
  for (HWND window : TopLevelWindows(pid)) {
    if (WindowClass(window) != "#32770") continue;
    const bool file = FindControl(window, kFileNameEdit) || FindControl(window, kFileNameCombo);
    const bool font =
        !file && FindControl(window, kFontFaceList) && FindControl(window, kFontSizeList);
    const DialogKind is = file   ? DialogKind::kFileDialog
                          : font ? DialogKind::kFontDialog
                                 : DialogKind::kMessageBox;
    if (is == kind) return window;
  }
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  std::vector<HWND> children;
  EnumChildWindows(box, CollectChildren, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (_stricmp(WindowClass(child).c_str(), "Static") != 0) continue;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) continue;
    std::string text;
    if (ReadText(child, &text) && !text.empty()) return text;
  }
  return "";
}

bool PressDialogButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (!button) return false;
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button)) != 0;
}

bool ParseKey(std::string_view name, UINT* virtual_key) {
  struct Named {
    const char* name;
    UINT key;
  };
  static constexpr Named kKeys[] = {
      {"Escape", VK_ESCAPE},  {"Tab", VK_TAB},       {"Enter", VK_RETURN}, {"Space", VK_SPACE},
      {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Home", VK_HOME},    {"End", VK_END},
      {"Up", VK_UP},          {"Down", VK_DOWN},     {"Left", VK_LEFT},    {"Right", VK_RIGHT},
  };
  for (const Named& k : kKeys) {
    if (name == k.name) {
      *virtual_key = k.key;
      return true;
    }
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int n = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9') return false;
      n = n * 10 + (c - '0');
    }
    if (n < 1 || n > 12) return false;
    *virtual_key = VK_F1 + n - 1;
    return true;
  }
  if (name.size() == 1 &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
    *virtual_key = UINT(name[0]);
    return true;
  }
  return false;
}

void PostKey(HWND window, UINT virtual_key) {
  PostMessageA(window, WM_KEYDOWN, virtual_key, KeyLParam(virtual_key, false));
  PostMessageA(window, WM_KEYUP, virtual_key, KeyLParam(virtual_key, true));
}

void PostClick(HWND window) {
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void PostDoubleClick(HWND window) {
  PostClick(window);
  PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void SettlePainting(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  const ULONGLONG deadline = GetTickCount64() + 3000;
  for (;;) {
    // A sent message is handled before any painting; once it has returned, the
    // window has no update region left only if the program has painted.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs,
                        &ignored);
    std::vector<HWND> windows{window};
    EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&windows));
    bool pending = false;
    for (HWND w : windows) pending = pending || GetUpdateRect(w, nullptr, FALSE);
    if (!pending || GetTickCount64() >= deadline) break;
    Sleep(20);
  }
  Sleep(100);  // let the display server show what was drawn
}

bool CaptureScreen(const RECT& area, Image* image) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  ScreenDc screen;
  MemoryDc memory(screen.get());
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap.get() || !bits || !memory.get()) return false;
  {
    ScopedSelect select(memory.get(), bitmap.get());
    if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY))
      return false;
    GdiFlush();
  }
  image->width = width;
  image->height = height;
  image->rgb.resize(size_t(width) * height * 3);
  const auto* source = static_cast<const unsigned char*>(bits);
  for (size_t i = 0; i < size_t(width) * height; ++i) {
    image->rgb[i * 3] = source[i * 4 + 2];
    image->rgb[i * 3 + 1] = source[i * 4 + 1];
    image->rgb[i * 3 + 2] = source[i * 4];
  }
  return true;
}

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char buffer[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                 buffer, sizeof buffer, nullptr);
  std::string text = buffer;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return "error " + std::to_string(code) + (text.empty() ? "" : " (" + text + ")");
}

}  // namespace qr::e2e
