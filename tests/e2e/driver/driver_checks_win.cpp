// The driver's checks of dialogs, files, screenshots and the program's memory.
// clang-format off
#include <windows.h>
#include <psapi.h>  // needs windows.h first
// clang-format on

#include <cstdio>
#include <map>
#include <string>

#include "base/wide_text_win.h"
#include "driver_util_win.h"
#include "driver_win.h"
#include "image.h"
#include "match.h"
#include "ui_win.h"

namespace qr::e2e {

using namespace detail;

bool Driver::ExpectMessage(const Command& command, std::string* error) {
  const std::string title = Arg(command, 0);
  const std::string text = Arg(command, 1);
  const int answer = AnswerId(Arg(command, 2));
  if (!answer) {
    *error = "answer with OK, Yes, No or Cancel, not " + Quote(Arg(command, 2));
    return false;
  }
  if (!process_) {
    *error = "the program has not been started";
    return false;
  }
  HWND box = nullptr;
  if (!Poll(timeout_ms_, [&] { return (box = FindDialog(pid_, DialogKind::kMessageBox)); })) {
    *error = "no message box " + Quote(title) + " within " + std::to_string(timeout_ms_) + " ms";
    if (!Running()) *error += "; the program has exited";
    return false;
  }
  std::string found_title, found_text;
  // The text control may be filled a moment after the box appears.
  Poll(timeout_ms_, [&] {
    ReadText(box, &found_title);
    found_text = MessageBoxText(box);
    return found_title == title && LikeMatch(text, found_text);
  });
  if (found_title != title || !LikeMatch(text, found_text)) {
    *error = "expected message box " + Quote(title) + " " + Quote(text) + ", found " +
             Quote(found_title) + " " + Quote(found_text);
    return false;
  }
  if (!PressDialogButton(box, answer)) {
    *error = "the message box has no " + Arg(command, 2) + " button";
    return false;
  }
  return WaitDialogGone(box, "message box", error);
}

bool Driver::ExpectNoMessage(const Command& command, std::string* error) {
  long ms = 0;
  if (!IntArg(command, 0, &ms, error)) return false;
  HWND box = nullptr;
  if (!Poll(DWORD(ms), [&] { return process_ && (box = FindAnyDialog(pid_)); })) return true;
  std::string title;
  ReadText(box, &title);
  *error = "expected no message box, found " + Quote(title) + " " + Quote(MessageBoxText(box));
  return false;
}

bool Driver::ExpectFile(const Command& command, std::string* error) {
  const std::string path = Arg(command, 0);
  const std::string expected = Arg(command, 1);
  std::string found;
  bool exists = false;
  if (Poll(timeout_ms_,
           [&] { return (exists = ReadWholeFile(path, &found)) && found == expected; }))
    return true;
  *error = exists ? path + ": " + DescribeDifference(expected, found) : path + " does not exist";
  return false;
}

bool Driver::ExpectFileLike(const Command& command, std::string* error) {
  const std::string path = Arg(command, 0);
  const std::string pattern = Arg(command, 1);
  std::string found;
  bool exists = false;
  if (Poll(timeout_ms_,
           [&] { return (exists = ReadWholeFile(path, &found)) && LikeMatch(pattern, found); }))
    return true;
  *error = exists ? path + " does not match; it holds " + Quote(found) + "; the pattern is " +
                        Quote(pattern)
                  : path + " does not exist";
  return false;
}

bool Driver::ExpectPresent(const Command& command, std::string* error) {
  const std::string path = Arg(command, 0);
  std::string name;
  if (Poll(timeout_ms_, [&] { return AnyFileMatches(path, &name); })) return true;
  *error = "expected " + path + " to exist; it does not";
  return false;
}

bool Driver::ExpectAbsent(const Command& command, std::string* error) {
  const std::string path = Arg(command, 0);
  std::string name;
  if (Poll(timeout_ms_, [&] { return !AnyFileMatches(path, &name); })) return true;
  *error = "expected no " + path + "; found " + name;
  return false;
}

bool Driver::ExpectLine(const Command& command, std::string* error) {
  const std::string path = Arg(command, 0);
  std::map<std::string, std::string> quoted;
  for (const auto& [name, value] : placeholders_) quoted[name] = RegexQuote(value);
  const std::string pattern = ExpandPlaceholders(command.args[1], quoted);
  std::string found, problem;
  bool exists = false;
  if (Poll(timeout_ms_, [&] {
        return (exists = ReadWholeFile(path, &found)) && AnyLineMatches(found, pattern, &problem);
      }))
    return true;
  if (!problem.empty())
    *error = problem;
  else if (!exists)
    *error = path + " does not exist";
  else
    *error = "no line of " + path + " matches " + Quote(pattern) + "; it holds " + Quote(found);
  return false;
}

bool Driver::PeakWorkingSetKb(size_t* kb, std::string* error) const {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!Running()) {
    *error = "the program is not running";
    return false;
  }
  if (!GetProcessMemoryInfo(process_.get(), &counters, sizeof counters) ||
      counters.PeakWorkingSetSize == 0) {
    *error = "cannot read the program's memory counters: " + LastErrorText();
    return false;
  }
  *kb = counters.PeakWorkingSetSize / 1024;
  return true;
}

bool Driver::MarkMemory(const Command&, std::string* error) {
  return PeakWorkingSetKb(&memory_mark_kb_, error);
}

// The peak only grows, so one reading decides: there is nothing to wait for.
bool Driver::ExpectMemoryGrowth(const Command& command, std::string* error) {
  long limit = 0;
  if (!IntArg(command, 0, &limit, error)) return false;
  if (memory_mark_kb_ == 0) {
    *error = "no mark-memory before this line";
    return false;
  }
  size_t peak = 0;
  if (!PeakWorkingSetKb(&peak, error)) return false;
  const long growth = long(peak) - long(memory_mark_kb_);
  std::printf("  peak working set %zu KB, %ld KB above the mark\n", peak, growth);
  if (growth <= limit) return true;
  *error = "the program's peak working set grew by " + std::to_string(growth) + " KB (from " +
           std::to_string(memory_mark_kb_) + " KB to " + std::to_string(peak) + " KB), more than " +
           std::to_string(limit) + " KB";
  return false;
}

bool Driver::FileDialog(const Command& command, std::string* error) {
  const std::string name = Arg(command, 0);
  const int answer = AnswerId(Arg(command, 1));
  if (answer != IDOK && answer != IDCANCEL) {
    *error = "answer the file dialog with OK or Cancel";
    return false;
  }
  HWND dialog = nullptr;
  if (!process_ ||
      !Poll(timeout_ms_, [&] { return (dialog = FindDialog(pid_, DialogKind::kFileDialog)); })) {
    *error = "no file dialog within " + std::to_string(timeout_ms_) + " ms";
    return false;
  }
  // A dialog that has just appeared may still be filling its folder view (slow on a
  // busy machine): the name goes in once its field exists and answers.
  const auto take_name = [&] {
    HWND field = FindControl(dialog, 0x480);  // edt1, else the combo box cmb13
    if (!field) field = FindControl(dialog, 0x47c);
    return field && WriteText(field, name);
  };
  if (answer == IDOK && !Poll(timeout_ms_, take_name)) {
    *error = "the file dialog did not take the file name";
    return false;
  }
  if (!PressDialogButton(dialog, answer)) {
    *error = "the file dialog has no " + Arg(command, 1) + " button";
    return false;
  }
  return WaitDialogGone(dialog, "file dialog", error);
}

bool Driver::FontDialog(const Command& command, std::string* error) {
  const int answer = AnswerId(Arg(command, 3));
  if (answer != IDOK && answer != IDCANCEL) {
    *error = "answer the font dialog with OK or Cancel";
    return false;
  }
  HWND dialog = nullptr;
  if (!process_ ||
      !Poll(timeout_ms_, [&] { return (dialog = FindDialog(pid_, DialogKind::kFontDialog)); })) {
    *error = "no font dialog within " + std::to_string(timeout_ms_) + " ms";
    return false;
  }
  // Face (cmb1), style (cmb2) and size (cmb3) are chosen as a user would: select
  // the entry and let the dialog see the selection change, in that order, since a
  // new face refills the style and size lists.
  const struct {
    int id;
    const char* what;
    std::string value;
  } choices[] = {{0x470, "face", Arg(command, 0)},
                 {0x471, "style", Arg(command, 2)},
                 {0x472, "size", Arg(command, 1)}};
  for (const auto& choice : choices) {
    HWND list = FindControl(dialog, choice.id);
    DWORD_PTR index = DWORD_PTR(CB_ERR);
    if (!list || !SendMessageTimeoutA(list, CB_FINDSTRINGEXACT, WPARAM(-1),
                                      reinterpret_cast<LPARAM>(choice.value.c_str()), SMTO_BLOCK,
                                      kSendTimeoutMs, &index)) {
      *error = std::string("the font dialog's ") + choice.what + " list does not answer";
      return false;
    }
    DWORD_PTR ignored = 0;
    if (LRESULT(index) == CB_ERR) {
      if (choice.id != 0x472) {
        *error =
            std::string("the font dialog offers no ") + choice.what + " " + Quote(choice.value);
        return false;
      }
      WriteText(list, choice.value);  // a size that is not listed is typed in
      continue;
    }
    SendMessageTimeoutA(list, CB_SETCURSEL, index, 0, SMTO_BLOCK, kSendTimeoutMs, &ignored);
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(choice.id, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_BLOCK, kSendTimeoutMs, &ignored);
  }
  if (!PressDialogButton(dialog, answer)) {
    *error = "the font dialog has no " + Arg(command, 3) + " button";
    return false;
  }
  return WaitDialogGone(dialog, "font dialog", error);
}

bool Driver::Screenshot(const Command& command, std::string* error) {
  const std::string what = Arg(command, 0);
  RECT area = {};
  if (what == "screen") {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  } else if (what == "window" || what == "client") {
    if (!NeedMainWindow(error)) return false;
    if (what == "window") {
      GetWindowRect(main_window_, &area);
    } else {
      GetClientRect(main_window_, &area);
      MapWindowPoints(main_window_, nullptr, reinterpret_cast<POINT*>(&area), 2);
    }
  } else {
    HWND control = nullptr;
    if (!Control(command, 0, &control, error)) return false;
    GetWindowRect(control, &area);
  }
  if (what != "screen") SettlePainting(main_window_);
  Image image;
  if (!CaptureScreen(area, &image)) {
    *error = "cannot copy the screen: " + LastErrorText();
    return false;
  }
  const std::string path = PathArg(command, 1);
  if (WriteWholeFile(path, EncodeBmp(image))) return true;
  *error = "cannot write " + path;
  return false;
}

bool Driver::ExpectPixels(const Command& command, std::string* error) {
  const std::string path = PathArg(command, 0);
  std::string bytes;
  Image image;
  if (!ReadWholeFile(path, &bytes) || !DecodeBmp(bytes, &image, error)) {
    if (error->empty()) *error = "cannot read " + path;
    return false;
  }
  long box[4];
  for (size_t i = 0; i < 4; ++i) {
    if (!IntArg(command, 1 + i, &box[i], error)) return false;
  }
  Quantifier quantifier;
  PixelClass pixel_class;
  if (!ParseQuantifier(Arg(command, 5), &quantifier)) {
    *error = "say all, any or none, not " + Quote(Arg(command, 5));
    return false;
  }
  if (!ParsePixelClass(Arg(command, 6), &pixel_class)) {
    *error = "say white, dark or #RRGGBB, not " + Quote(Arg(command, 6));
    return false;
  }
  return CheckPixels(image, int(box[0]), int(box[1]), int(box[2]), int(box[3]), quantifier,
                     pixel_class, error);
}

// Whether a control is shown (IsWindowVisible: the control and its parents).
bool Driver::ExpectVisible(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  const std::string answer = Arg(command, 1);
  if (answer != "yes" && answer != "no") {
    *error = "say yes or no, not " + Quote(answer);
    return false;
  }
  const bool wanted = answer == "yes";
  if (Poll(timeout_ms_, [&] { return (IsWindowVisible(control) != FALSE) == wanted; })) return true;
  *error = "control " + Arg(command, 0) + (wanted ? " is hidden" : " is still visible");
  return false;
}

// The size of the main window's client area (below the menu bar).
bool Driver::ExpectClientSize(const Command& command, std::string* error) {
  if (!NeedMainWindow(error)) return false;
  long width = 0, height = 0;
  if (!IntArg(command, 0, &width, error) || !IntArg(command, 1, &height, error)) return false;
  RECT client = {};
  if (Poll(timeout_ms_, [&] {
        return GetClientRect(main_window_, &client) && client.right == width &&
               client.bottom == height;
      }))
    return true;
  *error = "expected a client area of " + std::to_string(width) + " x " + std::to_string(height) +
           ", found " + std::to_string(client.right) + " x " + std::to_string(client.bottom);
  return false;
}

}  // namespace qr::e2e

namespace qr::e2e {

namespace {

// A control's outer rectangle in its parent's client coordinates.
bool RectInParent(HWND control, RECT* rect) {
  if (!GetWindowRect(control, rect)) return false;
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(rect), 2);
  return true;
}

std::string RectText(const RECT& r) {
  std::string text = "(";
  text += std::to_string(r.left);
  text += ", ";
  text += std::to_string(r.top);
  text += ") ";
  text += std::to_string(r.right - r.left);
  text += " x ";
  text += std::to_string(r.bottom - r.top);
  return text;
}

}  // namespace

bool Driver::ExpectRect(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  long x = 0, y = 0, w = 0, h = 0;
  if (!IntArg(command, 1, &x, error) || !IntArg(command, 2, &y, error) ||
      !IntArg(command, 3, &w, error) || !IntArg(command, 4, &h, error))
    return false;
  // Within a pixel: a scaled rectangle rounds each edge on its own.
  const auto within = [](long a, long b) { return a - b <= 1 && b - a <= 1; };
  RECT found = {};
  if (Poll(timeout_ms_, [&] {
        return RectInParent(control, &found) && within(found.left, x) && within(found.top, y) &&
               within(found.right - found.left, w) && within(found.bottom - found.top, h);
      }))
    return true;
  *error = "expected control " + Arg(command, 0) + " at " + RectText({x, y, x + w, y + h}) +
           " (within a pixel), found it at " + RectText(found);
  return false;
}

// The text measured in the control's own font (described by qrobjects.dll inside the
// program, whose font handles mean nothing here): a button's on one line, a static's
// wrapped to its width, as the controls draw it.
bool Driver::ExpectTextFits(const Command& command, std::string* error) {
  for (size_t i = 0; i < command.args.size(); ++i) {
    if (!TextFits(command, i, error)) return false;
  }
  return true;
}

bool Driver::TextFits(const Command& command, size_t index, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, index, &control, error)) return false;
  std::string text;
  if (!ReadText(control, &text)) {
    *error = "the program did not answer WM_GETTEXT";
    return false;
  }
  LOGFONTW lf = {};
  if (!object_counter_.FontOf(process_.get(), pid_, control, &lf, error)) {
    *error = "the font of control " + Arg(command, index) + ": " + *error;
    return false;
  }
  RECT client = {};
  GetClientRect(control, &client);
  const bool button = _stricmp(WindowClass(control).c_str(), "Button") == 0;
  HDC dc = GetDC(nullptr);
  HFONT own = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, own);
  const std::wstring wide = Wide(text);
  RECT need = {0, 0, client.right, 0};
  DrawTextW(dc, wide.c_str(), int(wide.size()), &need,
            DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK) | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(own);
  ReleaseDC(nullptr, dc);
  // A button draws its text inside its edges.
  const long room = client.right - (button ? 2 * GetSystemMetrics(SM_CXEDGE) : 0);
  if (need.right <= room && need.bottom <= client.bottom) return true;
  *error = "the text of control " + Arg(command, index) + " needs " + std::to_string(need.right) +
           " x " + std::to_string(need.bottom) + " in its font, its client area is " +
           std::to_string(room) + " x " + std::to_string(client.bottom);
  return false;
}

}  // namespace qr::e2e
