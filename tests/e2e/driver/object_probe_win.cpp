// qrobjects.dll: qrdrive loads it into the program under test and runs QrCountObjects
// there on a thread of its own, to count the process's live GDI and USER objects.
//
// GetGuiResources would give the two totals, but Wine's is a stub that answers 0. So
// each object is looked up where GDI and USER keep it, by handle:
// - GDI: Wine keeps a process's GDI objects in one table of 65536 entries and accepts
//   a handle of just the entry number (the low 16 bits); GetObjectType answers for
//   every live entry.
// - USER menus, icons/cursors and accelerator tables: USER handles are the even values
//   0x20..0xFFEE (an entry of USER's table; the upper 16 bits, a generation, may be
//   left out); IsMenu, GetCursorFrameInfo and CopyAcceleratorTable answer for the
//   entries of their kind that belong to this process.
// - Windows: the window tree (top-level windows, message-only windows and all their
//   descendants), keeping those of this process. (Asking for every handle instead
//   would cost a wineserver round trip each.)
#include <windows.h>

#include "font_query_win.h"
#include "object_counts.h"

namespace {

using CursorFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kLastUserHandle = 0xFFEE;
constexpr UINT_PTR kGdiTableSize = 0x10000;

void CountIfOurs(HWND window, std::uint32_t* count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId()) ++*count;
}

BOOL CALLBACK CountChild(HWND window, LPARAM count) {
  CountIfOurs(window, reinterpret_cast<std::uint32_t*>(count));
  return TRUE;
}

// A top-level or message-only window and its descendants.
BOOL CALLBACK CountTree(HWND window, LPARAM count) {
  CountIfOurs(window, reinterpret_cast<std::uint32_t*>(count));
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

}  // namespace

// Fills the ObjectCounts at `result`; 0 when done, 1 when USER offers no way to tell
// an icon.
extern "C" __declspec(dllexport) DWORD WINAPI QrCountObjects(void* result) {
  auto* counts = static_cast<qr::e2e::ObjectCounts*>(result);
  *counts = {};
  for (UINT_PTR entry = 1; entry < kGdiTableSize; ++entry) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(entry))) ++counts->gdi;
  }

  const auto frame_info = reinterpret_cast<CursorFrameInfo>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
  if (!frame_info) return 1;
  for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
    const auto handle = reinterpret_cast<HANDLE>(value);
    DWORD rate = 0, steps = 0;
    if (IsMenu(static_cast<HMENU>(handle))) {
      ++counts->menus;
    } else if (CopyAcceleratorTableA(static_cast<HACCEL>(handle), nullptr, 0) > 0) {
      ++counts->accelerators;
    } else if (frame_info(static_cast<HCURSOR>(handle), 0, 0, &rate, &steps)) {
      ++counts->icons;
    }
  }

  EnumWindows(CountTree, reinterpret_cast<LPARAM>(&counts->windows));
  for (HWND window = nullptr; (window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr));)
    CountTree(window, reinterpret_cast<LPARAM>(&counts->windows));
  return 0;
}

// Fills the FontQuery at `query` with the font of its window; 0.
extern "C" __declspec(dllexport) DWORD WINAPI QrFontOfWindow(void* query) {
  auto* q = static_cast<qr::e2e::FontQuery*>(query);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(q->window, WM_GETFONT, 0, 0));
  q->found = font && GetObjectW(font, sizeof q->font, &q->font) == sizeof q->font;
  return 0;
}
