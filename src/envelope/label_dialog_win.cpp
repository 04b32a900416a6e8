#include "envelope/label_dialog_win.h"

#include <iterator>
#include <string>

#include "base/wide_text_win.h"
#include "wingui/dpi_win.h"
#include "wingui/modal_win.h"
#include "wingui/scoped_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {
namespace {

constexpr char kDialogClass[] = "QuarraneLabelStart";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 270;
// The sheet's picture: the paper scaled to this height, at this corner.
constexpr int kPictureX = 15;
constexpr int kPictureY = 45;
constexpr int kPictureHeight = 210;

struct DialogState {
  const LabelSheet* sheet = nullptr;
  std::int64_t labels = 0;
  HWND edit = nullptr;
  bool done = false;
  std::optional<std::int32_t> start;
};

// The picture's geometry is given at 96 dpi and drawn at the window's.
int Scaled(std::int64_t units, const LabelRect& paper, int dpi) {
  return static_cast<int>(units * ScaleForDpi(kPictureHeight, dpi) / paper.bottom);
}

RECT PictureRect(const LabelRect& r, const LabelRect& paper, int dpi) {
  const int x = ScaleForDpi(kPictureX, dpi), y = ScaleForDpi(kPictureY, dpi);
  return {x + Scaled(r.left, paper, dpi), y + Scaled(r.top, paper, dpi),
          x + Scaled(r.right, paper, dpi), y + Scaled(r.bottom, paper, dpi)};
}

std::optional<std::int32_t> TypedStart(const DialogState& state) {
  wchar_t text[32] = {};
  GetWindowTextW(state.edit, text, static_cast<int>(std::size(text)));
  return ReadStartLabel(Utf8(text), *state.sheet);
}

// The paper, every label outlined; those before the start grey, those the job fills on
// this sheet with their numbers.
void PaintSheet(HWND hwnd, const DialogState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  const LabelSheet& sheet = *state.sheet;
  const LabelRect paper = PaperRect(sheet);
  const std::int32_t start = TypedStart(state).value_or(0);
  const std::int64_t last = start > 0 ? start - 1 + state.labels : 0;  // 1-based, exclusive
  const int dpi = WindowDpi(hwnd);
  const HGDIOBJ oldFont = SelectObject(dc, GuiFontForDpi(dpi));
  const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  const RECT page = PictureRect(paper, paper, dpi);
  Rectangle(dc, page.left, page.top, page.right, page.bottom);
  SetBkMode(dc, TRANSPARENT);
  for (std::int32_t index = 0; index < sheet.Count(); ++index) {
    const RECT r = PictureRect(SheetLabelRect(sheet, index), paper, dpi);
    const std::int32_t number = index + 1;
    SelectObject(dc, GetStockObject(number < start ? LTGRAY_BRUSH : WHITE_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, ScaleForDpi(4, dpi), ScaleForDpi(4, dpi));
    if (number >= start && number <= last) {
      std::wstring text = Wide(std::to_string(number));
      RECT box = r;
      DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &ps);
}

void Confirm(HWND hwnd, DialogState& state) {
  state.start = TypedStart(state);
  if (state.start) {
    state.done = true;
    return;
  }
  ShowMessageBox(hwnd, std::string(kPrintLabelsTitle), StartLabelRangeText(*state.sheet),
                 MB_OK | MB_ICONWARNING);
  SetFocus(state.edit);
  SendMessageW(state.edit, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = WindowState<DialogState>(hwnd, msg, lp);
  if (state) {
    switch (msg) {
      case WM_PAINT:
        PaintSheet(hwnd, *state);
        return 0;
      case WM_COMMAND:
        if (state->done) return 0;
        if (LOWORD(wp) == kStartLabelEditId && HIWORD(wp) == EN_CHANGE) {
          InvalidateRect(hwnd, nullptr, TRUE);
        } else if (LOWORD(wp) == IDOK) {
          Confirm(hwnd, *state);
        } else if (LOWORD(wp) == IDCANCEL) {
          state->start.reset();
          state->done = true;
        }
        return 0;
      case WM_CLOSE:
        state->start.reset();
        state->done = true;
        return 0;
      case WM_DPICHANGED:
        FollowDpiChange(hwnd, wp, lp);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

std::optional<std::int32_t> RunLabelStartDialog(HWND owner, const LabelSheet& sheet,
                                                std::int64_t labels) {
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  if (!RegisterFormWindowClass(instance, kDialogClass, DialogProc)) return std::nullopt;
  DialogState state;
  state.sheet = &sheet;
  state.labels = labels;
  const SIZE size = OuterSizeForClient(kClientWidth, kClientHeight, kStyle);
  const POINT at = CentreOver(owner, size);
  ScopedWindow window(CreateWindowExW(0, Wide(kDialogClass).c_str(),
                                      Wide(kPrintLabelsTitle).c_str(), kStyle, at.x, at.y, size.cx,
                                      size.cy, owner, nullptr, instance, &state));
  if (!window) return std::nullopt;
  AddFormChild(window.get(), "STATIC", "Start at label:", SS_LEFT, -1, 15, 15, 90, 20);
  state.edit = AddFormChild(window.get(), "EDIT", "1", WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER,
                            kStartLabelEditId, 110, 12, 50, 22, WS_EX_CLIENTEDGE);
  AddFormChild(window.get(), "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 225, 45, 80, 26);
  AddFormChild(window.get(), "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 225, 80, 80,
               26);
  ShowWindow(window.get(), SW_SHOWNORMAL);
  SetFocus(state.edit);
  SendMessageW(state.edit, EM_SETSEL, 0, -1);
  RunModalLoop(window.get(), state.done);
  window.reset();
  SetActiveWindow(owner);
  return state.start;
}

}  // namespace qr
