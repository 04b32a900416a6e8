// clang-format off
#include "envelope/batch_progress_win.h"
#include <commctrl.h>  // needs windows.h first
// clang-format on

#include "base/wide_text_win.h"
#include "wingui/dpi_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {

namespace {

constexpr char kBatchProgressClass[] = "QuarraneBatchProgress";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION;
constexpr int kTextId = 101;
constexpr int kBarId = 102;

// Cancel (also Escape, through IsDialogMessage) marks the batch cancelled.
LRESULT CALLBACK BatchProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  bool* cancelled = WindowState<bool>(hwnd, msg, lp);
  if (cancelled && ((msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) || msg == WM_CLOSE)) {
    *cancelled = true;
    return 0;
  }
  if (msg == WM_DPICHANGED) {
    FollowDpiChange(hwnd, wp, lp);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

BatchProgressWindow::BatchProgressWindow(HWND owner, std::string_view heading, TextFn text)
    : text_(text) {
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  if (!RegisterFormWindowClass(instance, kBatchProgressClass, BatchProgressProc)) return;
  const SIZE size = OuterSizeForClient(360, 110, kStyle);
  const POINT at = CentreOver(owner, size);
  window_.reset(CreateWindowExW(0, Wide(kBatchProgressClass).c_str(), Wide(heading).c_str(), kStyle,
                                at.x, at.y, size.cx, size.cy, owner, nullptr, instance,
                                &cancelled_));
  if (!window_) return;
  AddFormChild(window_.get(), "STATIC", "", SS_LEFT, kTextId, 15, 12, 330, 20);
  HWND bar = AddChild(window_.get(), "msctls_progress32", "", 0, kBarId, 15, 38, 330, 20);
  SendMessageW(bar, PBM_SETRANGE32, 0, 100);
  AddFormChild(window_.get(), "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 140, 70, 80,
               28);
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  SetFocus(GetDlgItem(window_.get(), IDCANCEL));
}

bool BatchProgressWindow::BeforeEnvelope(std::int64_t envelope, std::int64_t envelopes) {
  if (!window_) return true;  // no window: the batch cannot be cancelled, but prints
  SetDlgItemTextW(window_.get(), kTextId, Wide(text_(envelope, envelopes)).c_str());
  const auto percent = envelopes > 0 ? static_cast<WPARAM>((envelope - 1) * 100 / envelopes) : 0;
  SendDlgItemMessageW(window_.get(), kBarId, PBM_SETPOS, percent, 0);
  UpdateWindow(window_.get());
  PumpModalMessages(window_.get());
  return !cancelled_;
}

}  // namespace qr
