#include "driver_win.h"
#include "base/wide_text_win.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver_util_win.h"
#include "image.h"
#include "match.h"
#include "names.h"
#include "ui_win.h"

namespace qr::e2e {
namespace detail {

namespace fs = std::filesystem;

// Paths in scenarios are UTF-8, as all their text.
fs::path PathOf(const std::string& utf8) { return fs::path(Wide(utf8)); }

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  *bytes = content.str();
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::error_code ignored;
  fs::create_directories(PathOf(path).parent_path(), ignored);
  std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  return bool(out);
}

// Whether a file matching `pattern` (a path that may hold * and ?) exists.
bool AnyFileMatches(const std::string& pattern, std::string* first) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(Wide(pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  *first = Utf8(data.cFileName);
  FindClose(find);
  return true;
}

std::string Quote(const std::string& text) {
  std::string quoted(1, '"');
  quoted += Escape(text);
  quoted += '"';
  return quoted;
}

int AnswerId(const std::string& answer) {
  if (answer == "OK") return IDOK;
  if (answer == "Cancel") return IDCANCEL;
  if (answer == "Yes") return IDYES;
  if (answer == "No") return IDNO;
  return 0;
}

}  // namespace detail

namespace {

namespace fs = std::filesystem;
using namespace detail;

constexpr DWORD kMaxSleepMs = 60000;
constexpr DWORD kStopGraceMs = 1000;

// Ends a program that still runs after a short wait, and closes its handle.
void EndProcess(UniqueHandle& process) {
  if (!process) return;
  if (WaitForSingleObject(process.get(), kStopGraceMs) == WAIT_TIMEOUT) {
    std::printf("  the program was still running; ending it\n");
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
  }
  process.Reset();
}

}  // namespace

Driver::Driver(ScenarioFolders folders) : folders_(std::move(folders)) {
  placeholders_ = {
      {"WORK", folders_.work},
      {"DATA", folders_.work + "\\data"},
      {"TEMP", folders_.work + "\\temp"},
      {"PROGRAM", folders_.work + "\\program"},
      {"SHOTS", folders_.work + "\\shots"},
  };
}

Driver::~Driver() {
  StopProgram();
  RestoreWindowManagerSetting();
  RestoreDisplayDpi();
}

bool Driver::Prepare(std::string* error) {
  std::error_code ec;
  if (!fs::is_directory(folders_.dist, ec)) {
    *error = "program folder " + folders_.dist + " does not exist (build the program first)";
    return false;
  }
  if (!fs::exists(folders_.dist + "\\quarrane.exe", ec)) {
    *error = "no quarrane.exe in " + folders_.dist + " (build the program first)";
    return false;
  }
  // Only the folders this driver makes are removed, never the work folder itself.
  for (const char* name : {"data", "temp", "program", "shots"}) {
    const std::string folder = folders_.work + "\\" + name;
    fs::remove_all(folder, ec);
    if (ec || !fs::create_directories(folder, ec)) {
      *error = "cannot make a fresh " + folder + ": " + ec.message();
      return false;
    }
  }
  for (auto it = fs::recursive_directory_iterator(folders_.dist, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::path target =
        fs::path(placeholders_["PROGRAM"]) / fs::relative(it->path(), folders_.dist, ec);
    if (ec) break;
    if (it->is_directory(ec)) {
      fs::create_directories(target, ec);
    } else {
      fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec);
    }
  }
  if (ec) {
    *error = "cannot copy " + folders_.dist + " to the program folder: " + ec.message();
    return false;
  }
  if (!SetEnvironmentVariableA("ALLUSERSPROFILE", placeholders_["DATA"].c_str()) ||
      !SetEnvironmentVariableA("TEMP", placeholders_["TEMP"].c_str()) ||
      !SetEnvironmentVariableA("TMP", placeholders_["TEMP"].c_str())) {
    *error = "cannot set the environment: " + LastErrorText();
    return false;
  }
  return true;
}

const std::map<std::string, Driver::CommandInfo>& Driver::Commands() {
  static const std::map<std::string, CommandInfo> kCommands = {
      {"timeout", {&Driver::Timeout, 1, 1, "timeout MS"}},
      {"sleep", {&Driver::Pause, 1, 1, "sleep MS"}},
      {"write", {&Driver::Write, 2, 2, "write PATH \"CONTENT\""}},
      {"delete", {&Driver::Delete, 1, 1, "delete PATH"}},
      {"copy", {&Driver::Copy, 2, 2, "copy FROM TO"}},
      {"start", {&Driver::Start, 0, 1, "start [NAME]"}},
      {"use", {&Driver::Use, 1, 1, "use NAME"}},
      {"wait-window", {&Driver::WaitWindow, 2, 3, "wait-window class|title TEXT [MS]"}},
      {"expect-no-window", {&Driver::ExpectNoWindow, 3, 3, "expect-no-window class|title TEXT MS"}},
      {"wait-exit", {&Driver::WaitExit, 1, 2, "wait-exit CODE [MS]"}},
      {"expect-title", {&Driver::ExpectTitle, 1, 1, "expect-title \"TEXT\""}},
      {"expect-position", {&Driver::ExpectPosition, 2, 2, "expect-position X Y"}},
      {"set-text", {&Driver::SetText, 2, 2, "set-text ID \"TEXT\""}},
      {"expect-text", {&Driver::ExpectText, 2, 2, "expect-text ID \"TEXT\""}},
      {"expect-focus", {&Driver::ExpectFocus, 1, 1, "expect-focus ID"}},
      {"click", {&Driver::Click, 1, 1, "click ID"}},
      {"double-click", {&Driver::DoubleClick, 1, 1, "double-click ID"}},
      {"key", {&Driver::Key, 2, 2, "key window|focus|ID KEY"}},
      {"button", {&Driver::Button, 1, 1, "button ID"}},
      {"notify", {&Driver::Notify, 1, 1, "notify ID"}},
      {"command", {&Driver::MenuCommand, 1, 1, "command NUMBER"}},
      {"close", {&Driver::Close, 0, 0, "close"}},
      {"expect-message",
       {&Driver::ExpectMessage, 3, 3, "expect-message \"TITLE\" \"TEXT\" OK|Yes|No|Cancel"}},
      {"expect-no-message", {&Driver::ExpectNoMessage, 1, 1, "expect-no-message MS"}},
      {"expect-file", {&Driver::ExpectFile, 2, 2, "expect-file PATH \"CONTENT\""}},
      {"expect-file-like", {&Driver::ExpectFileLike, 2, 2, "expect-file-like PATH \"CONTENT\""}},
      {"expect-present", {&Driver::ExpectPresent, 1, 1, "expect-present PATH"}},
      {"expect-absent", {&Driver::ExpectAbsent, 1, 1, "expect-absent PATH"}},
      {"expect-line", {&Driver::ExpectLine, 2, 2, "expect-line PATH \"REGEX\""}},
      {"mark-memory", {&Driver::MarkMemory, 0, 0, "mark-memory"}},
      {"expect-memory-growth", {&Driver::ExpectMemoryGrowth, 1, 1, "expect-memory-growth KB"}},
      {"file-dialog", {&Driver::FileDialog, 2, 2, "file-dialog \"NAME\" OK|Cancel"}},
      {"font-dialog", {&Driver::FontDialog, 4, 4, "font-dialog \"FACE\" SIZE \"STYLE\" OK|Cancel"}},
      {"screenshot", {&Driver::Screenshot, 2, 2, "screenshot window|client|screen|ID FILE"}},
      {"expect-pixels",
       {&Driver::ExpectPixels, 7, 7, "expect-pixels FILE X Y W H all|any|none white|dark|#RRGGBB"}},
      {"expect-visible", {&Driver::ExpectVisible, 2, 2, "expect-visible ID yes|no"}},
      {"expect-client-size", {&Driver::ExpectClientSize, 2, 2, "expect-client-size W H"}},
      {"expect-rect", {&Driver::ExpectRect, 5, 5, "expect-rect ID X Y W H"}},
      {"dpi-change", {&Driver::DpiChange, 1, 1, "dpi-change DPI"}},
      {"expect-text-fits", {&Driver::ExpectTextFits, 1, 40, "expect-text-fits ID..."}},
      {"display-dpi", {&Driver::DisplayDpi, 1, 1, "display-dpi DPI"}},
      {"expect-rows", {&Driver::ExpectRows, 3, 3, "expect-rows ID COLUMN \"TEXT|TEXT|...\""}},
      {"select-row", {&Driver::SelectListRow, 2, 2, "select-row ID ROW"}},
      {"double-click-row", {&Driver::DoubleClickListRow, 2, 2, "double-click-row ID ROW"}},
      {"ctrl-click-row", {&Driver::CtrlClickListRow, 2, 2, "ctrl-click-row ID ROW"}},
      {"objects-mark", {&Driver::ObjectsMark, 0, 0, "objects-mark"}},
      {"expect-objects-flat",
       {&Driver::ExpectObjectsFlat, 1, 11, "expect-objects-flat SLACK [KIND COUNT]..."}},
      {"unmanaged-windows", {&Driver::UnmanagedWindows, 0, 0, "unmanaged-windows"}},
  };
  return kCommands;
}

bool Driver::Run(const std::vector<Command>& commands, std::string* error) {
  // Check the whole scenario's shape before anything runs.
  for (const Command& command : commands) {
    auto found = Commands().find(command.name);
    std::string problem;
    if (found == Commands().end()) {
      problem = "unknown command \"" + command.name + "\"";
    } else if (command.args.size() < found->second.min_args ||
               command.args.size() > found->second.max_args) {
      problem = "wrong number of arguments; usage: " + std::string(found->second.usage);
    }
    if (!problem.empty()) {
      *error = "line " + std::to_string(command.line) + ": " + problem;
      return false;
    }
  }
  if (std::string problem = CheckNames(commands); !problem.empty()) {
    *error = std::move(problem);
    return false;
  }
  for (const Command& command : commands) {
    std::string shown = command.name;
    for (const std::string& arg : command.args) {
      shown += ' ';
      shown += Quote(arg);
    }
    const std::string where = "line " + std::to_string(command.line) +
                              (command.round.empty() ? "" : " [round " + command.round + "]");
    std::printf("  %s: %s\n", where.c_str(), shown.c_str());
    std::fflush(stdout);
    std::string problem;
    if (!(this->*Commands().at(command.name).handler)(command, &problem)) {
      *error = where + " (" + command.name + "): " + problem;
      return false;
    }
  }
  return true;
}

void Driver::StopProgram() {
  StopInstance();
  for (auto& [name, instance] : parked_) EndProcess(instance.process);
}

void Driver::SwitchTo(const std::string& name) {
  if (name == instance_) return;
  parked_[instance_] = {std::move(process_), pid_, main_window_};
  Instance next;
  if (auto it = parked_.find(name); it != parked_.end()) {
    next = std::move(it->second);
    parked_.erase(it);
  }
  process_ = std::move(next.process);
  pid_ = next.pid;
  main_window_ = next.main_window;
  instance_ = name;
}

bool Driver::Use(const Command& command, std::string* error) {
  const std::string name = Arg(command, 0);
  if (name != instance_ && !parked_.contains(name)) {
    *error = "no instance named " + Quote(name) + " was started";
    return false;
  }
  SwitchTo(name);
  return true;
}

void Driver::StopInstance() {
  EndProcess(process_);
  main_window_ = nullptr;
}

std::string Driver::SaveFailureScreenshot() {
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  Image image;
  const std::string path = placeholders_["SHOTS"] + "\\failure.bmp";
  if (!CaptureScreen(screen, &image) || !WriteWholeFile(path, EncodeBmp(image))) return "";
  return path;
}

std::string Driver::Arg(const Command& command, size_t index) const {
  return ExpandPlaceholders(command.args.at(index), placeholders_);
}

std::string Driver::PathArg(const Command& command, size_t index) const {
  std::string path = Arg(command, index);
  const bool absolute =
      path.size() >= 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
  return absolute ? path : placeholders_.at("SHOTS") + "\\" + path;
}

bool Driver::IntArg(const Command& command, size_t index, long* value, std::string* error) const {
  const std::string text = Arg(command, index);
  char* end = nullptr;
  *value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') {
    *error =
        "argument " + std::to_string(index + 1) + " must be a whole number, not " + Quote(text);
    return false;
  }
  return true;
}

bool Driver::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool Driver::NeedMainWindow(std::string* error) const {
  if (main_window_ && IsWindow(main_window_)) return true;
  *error = main_window_ ? "the main window is gone" : "no main window yet (use wait-window first)";
  return false;
}

bool Driver::Control(const Command& command, size_t index, HWND* control,
                     std::string* error) const {
  if (!NeedMainWindow(error)) return false;
  long id = 0;
  const bool named = LookUpControl(Arg(command, index), &id);
  if (!named && !IntArg(command, index, &id, error)) return false;
  // The window may be shown before all of its controls exist: give them the wait bound.
  Poll(timeout_ms_, [&] { return (*control = FindControl(main_window_, int(id))) != nullptr; });
  if (!*control) {
    *error = "the main window has no control number " + std::to_string(id) +
             (named ? " (" + Arg(command, index) + ")" : "");
    return false;
  }
  return true;
}

bool Driver::Target(const Command& command, size_t index, HWND* target, std::string* error) const {
  if (!NeedMainWindow(error)) return false;
  const std::string name = Arg(command, index);
  if (name == "window") {
    *target = main_window_;
    return true;
  }
  if (name == "focus") {
    *target = FocusedWindow(main_window_);
    if (!*target) *error = "no control of the program has the keyboard focus";
    return *target != nullptr;
  }
  return Control(command, index, target, error);
}

bool Driver::WaitDialogGone(HWND dialog, const char* what, std::string* error) {
  if (Poll(timeout_ms_, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) return true;
  *error = std::string("the ") + what + " is still open after the answer";
  if (HWND other = FindAnyDialog(pid_); other && other != dialog) {
    std::string title;
    ReadText(other, &title);
    *error += "; another dialog is on top: " + Quote(title) + " " + Quote(MessageBoxText(other));
  }
  return false;
}

bool Driver::Timeout(const Command& command, std::string* error) {
  long ms = 0;
  if (!IntArg(command, 0, &ms, error)) return false;
  if (ms <= 0 || ms > 300000) {
    *error = "timeout must be 1..300000 ms";
    return false;
  }
  timeout_ms_ = DWORD(ms);
  return true;
}

bool Driver::Pause(const Command& command, std::string* error) {
  long ms = 0;
  if (!IntArg(command, 0, &ms, error)) return false;
  if (ms < 0 || ms > long(kMaxSleepMs)) {
    *error = "sleep must be 0..60000 ms";
    return false;
  }
  ::Sleep(DWORD(ms));
  return true;
}

bool Driver::Write(const Command& command, std::string* error) {
  const std::string path = Arg(command, 0);
  if (WriteWholeFile(path, Arg(command, 1))) return true;
  *error = "cannot write " + path;
  return false;
}

bool Driver::Delete(const Command& command, std::string* error) {
  const std::string path = Arg(command, 0);
  if (::DeleteFileW(Wide(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return true;
  *error = "cannot delete " + path + ": " + LastErrorText();
  return false;
}

bool Driver::Copy(const Command& command, std::string* error) {
  const std::string from = Arg(command, 0);
  const std::string to = Arg(command, 1);
  if (::CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE)) return true;
  *error = "cannot copy " + from + " to " + to + ": " + LastErrorText();
  return false;
}

bool Driver::Start(const Command& command, std::string* error) {
  if (!command.args.empty()) SwitchTo(Arg(command, 0));
  if (Running()) {
    *error = "the program is already running";
    return false;
  }
  StopInstance();
  const std::string folder = placeholders_["PROGRAM"];
  const std::string exe = folder + "\\quarrane.exe";
  std::string command_line = "\"" + exe + "\"";
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  if (!CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, folder.c_str(), &startup, &info)) {
    *error = "cannot start " + exe + ": " + LastErrorText();
    return false;
  }
  process_.Reset(info.hProcess);
  UniqueHandle thread(info.hThread);
  pid_ = info.dwProcessId;
  main_window_ = nullptr;
  // Should the driver itself be killed, the job takes the program down with it.
  if (!job_) {
    job_.Reset(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    ZeroMemory(&limits, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_) {
      SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits,
                              sizeof limits);
    }
  }
  if (job_) AssignProcessToJobObject(job_.get(), process_.get());
  ResumeThread(thread.get());
  return true;
}

bool Driver::WaitWindow(const Command& command, std::string* error) {
  const std::string by = Arg(command, 0);
  const std::string text = Arg(command, 1);
  if (by != "class" && by != "title") {
    *error = "say \"class\" or \"title\", not " + Quote(by);
    return false;
  }
  long ms = long(timeout_ms_);
  if (command.args.size() > 2 && !IntArg(command, 2, &ms, error)) return false;
  if (!process_) {
    *error = "the program has not been started";
    return false;
  }
  HWND found = nullptr;
  bool exited = false;
  Poll(DWORD(ms), [&] {
    const std::vector<HWND> windows = WindowsBy(by, text);
    if (!windows.empty()) {
      found = windows.front();
      return true;
    }
    exited = !Running();
    return exited;
  });
  if (found) {
    main_window_ = found;
    return true;
  }
  DWORD code = 0;
  if (exited) GetExitCodeProcess(process_.get(), &code);
  *error = "no window with " + by + " " + Quote(text) + " within " + std::to_string(ms) + " ms" +
           (exited ? "; the program exited with code " + std::to_string(code) : "");
  if (HWND dialog = FindAnyDialog(pid_)) {
    std::string title;
    ReadText(dialog, &title);
    *error += "; a dialog is open: " + Quote(title) + " " + Quote(MessageBoxText(dialog));
  }
  return false;
}

// Waits until the program has no window of that class or title (any it had closed).
bool Driver::ExpectNoWindow(const Command& command, std::string* error) {
  const std::string by = Arg(command, 0);
  const std::string text = Arg(command, 1);
  long ms = 0;
  if (by != "class" && by != "title") {
    *error = "say \"class\" or \"title\", not " + Quote(by);
    return false;
  }
  if (!IntArg(command, 2, &ms, error)) return false;
  if (!process_ || Poll(DWORD(ms), [&] { return WindowsBy(by, text).empty(); })) return true;
  *error = "a window with " + by + " " + Quote(text) + " is still open after " +
           std::to_string(ms) + " ms";
  return false;
}

std::vector<HWND> Driver::WindowsBy(const std::string& by, const std::string& text) const {
  std::vector<HWND> found;
  for (HWND window : TopLevelWindows(pid_)) {
    std::string title;
    if (by == "class" ? WindowClass(window) == text : ReadText(window, &title) && title == text)
      found.push_back(window);
  }
  return found;
}

bool Driver::WaitExit(const Command& command, std::string* error) {
  long code = 0;
  long ms = long(timeout_ms_);
  if (!IntArg(command, 0, &code, error)) return false;
  if (command.args.size() > 1 && !IntArg(command, 1, &ms, error)) return false;
  if (!process_) {
    *error = "the program has not been started";
    return false;
  }
  if (WaitForSingleObject(process_.get(), DWORD(ms)) != WAIT_OBJECT_0) {
    *error = "the program still runs after " + std::to_string(ms) + " ms";
    if (HWND dialog = FindAnyDialog(pid_)) {
      std::string title;
      ReadText(dialog, &title);
      *error += "; a dialog is open: " + Quote(title) + " " + Quote(MessageBoxText(dialog));
    }
    return false;
  }
  DWORD found = 0;
  GetExitCodeProcess(process_.get(), &found);
  process_.Reset();
  main_window_ = nullptr;
  if (long(found) == code) return true;
  *error = "expected exit code " + std::to_string(code) + ", found " + std::to_string(found);
  return false;
}

bool Driver::ExpectTitle(const Command& command, std::string* error) {
  if (!NeedMainWindow(error)) return false;
  const std::string expected = Arg(command, 0);
  std::string found;
  if (Poll(timeout_ms_, [&] { return ReadText(main_window_, &found) && found == expected; }))
    return true;
  *error = "expected title " + Quote(expected) + ", found " + Quote(found);
  return false;
}

bool Driver::ExpectPosition(const Command& command, std::string* error) {
  if (!NeedMainWindow(error)) return false;
  long x = 0, y = 0;
  if (!IntArg(command, 0, &x, error) || !IntArg(command, 1, &y, error)) return false;
  RECT rect = {};
  if (Poll(timeout_ms_,
           [&] { return GetWindowRect(main_window_, &rect) && rect.left == x && rect.top == y; }))
    return true;
  *error = "expected the outer top-left corner at (" + std::to_string(x) + ", " +
           std::to_string(y) + "), found (" + std::to_string(rect.left) + ", " +
           std::to_string(rect.top) + ")";
  return false;
}

bool Driver::SetText(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  if (WriteText(control, Arg(command, 1))) return true;
  *error = "the program did not take the text: " + LastErrorText();
  return false;
}

bool Driver::ExpectText(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  const std::string expected = Arg(command, 1);
  std::string found;
  bool answered = false;
  if (Poll(timeout_ms_, [&] {
        answered = ReadText(control, &found);
        return answered && found == expected;
      }))
    return true;
  *error = answered ? "expected " + Quote(expected) + ", found " + Quote(found)
                    : "the program did not answer WM_GETTEXT";
  return false;
}

bool Driver::ExpectFocus(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  HWND focus = nullptr;
  if (Poll(timeout_ms_, [&] {
        focus = FocusedWindow(main_window_);
        return focus && (focus == control || IsChild(control, focus));
      }))
    return true;
  *error =
      "expected the focus in control " + Arg(command, 0) + ", found it " +
      (focus ? "in control " + std::to_string(GetDlgCtrlID(focus)) + " (" + WindowClass(focus) + ")"
             : std::string("nowhere"));
  return false;
}

bool Driver::Click(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  PostClick(control);
  return true;
}

bool Driver::DoubleClick(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  PostDoubleClick(control);
  return true;
}

bool Driver::Key(const Command& command, std::string* error) {
  HWND target = nullptr;
  if (!Target(command, 0, &target, error)) return false;
  UINT key = 0;
  if (!ParseKey(Arg(command, 1), &key)) {
    *error = "unknown key " + Quote(Arg(command, 1));
    return false;
  }
  PostKey(target, key);
  return true;
}

bool Driver::Button(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  PostMessageA(control, BM_CLICK, 0, 0);
  return true;
}

bool Driver::Notify(const Command& command, std::string* error) {
  HWND control = nullptr;
  if (!Control(command, 0, &control, error)) return false;
  PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
  return true;
}

bool Driver::MenuCommand(const Command& command, std::string* error) {
  if (!NeedMainWindow(error)) return false;
  long number = 0;
  if (!LookUpCommand(Arg(command, 0), &number) && !IntArg(command, 0, &number, error)) return false;
  PostMessageA(main_window_, WM_COMMAND, MAKEWPARAM(number, 0), 0);
  return true;
}

bool Driver::Close(const Command&, std::string* error) {
  if (!NeedMainWindow(error)) return false;
  PostMessageA(main_window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

}  // namespace qr::e2e
