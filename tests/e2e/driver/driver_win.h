// Runs one scenario against the real program: prepares the scenario's folders,
// starts quarrane.exe in them and carries out the scenario's commands in order,
// stopping at the first that fails. A scenario may run several copies of the program
// side by side (named instances); the commands act on the current one.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "handles_win.h"
#include "object_counter_win.h"
#include "script.h"

namespace qr::e2e {

struct ScenarioFolders {
  std::string dist;  // the built program folder, copied afresh for each scenario
  std::string work;  // the scenario's own folder; data, temp, program and shots go below it
};

// How often waits look again.
inline constexpr DWORD kPollIntervalMs = 50;

class Driver {
 public:
  explicit Driver(ScenarioFolders folders);
  ~Driver();  // ends the program if it still runs; undoes unmanaged-windows
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Creates empty data, temp and shots folders and a fresh program folder.
  bool Prepare(std::string* error);
  // Carries out the commands; on failure `error` says which line, what was expected
  // and what was found.
  bool Run(const std::vector<Command>& commands, std::string* error);
  // Ends every instance of the program: a short wait, then TerminateProcess.
  void StopProgram();
  // Saves the whole screen to the work folder (used after a failure).
  std::string SaveFailureScreenshot();

 private:
  using Handler = bool (Driver::*)(const Command&, std::string*);
  struct CommandInfo {
    Handler handler;
    size_t min_args;
    size_t max_args;
    const char* usage;
  };
  static const std::map<std::string, CommandInfo>& Commands();

  // Argument `index` with the placeholders replaced.
  std::string Arg(const Command& command, size_t index) const;
  // An argument naming a file: placeholders replaced; a relative name is taken
  // inside the shots folder.
  std::string PathArg(const Command& command, size_t index) const;
  bool IntArg(const Command& command, size_t index, long* value, std::string* error) const;
  // Repeats `check` until it returns true or the wait bound passes.
  template <typename Check>
  bool Poll(DWORD timeout_ms, Check check) const;
  bool Running() const;
  bool NeedMainWindow(std::string* error) const;
  bool Control(const Command& command, size_t index, HWND* control, std::string* error) const;
  // Windows of the program whose class (by = "class") or title (by = "title") is `text`.
  std::vector<HWND> WindowsBy(const std::string& by, const std::string& text) const;
  // The main window, a control (name or number), "focus" or "window".
  bool Target(const Command& command, size_t index, HWND* target, std::string* error) const;
  bool WaitDialogGone(HWND dialog, const char* what, std::string* error);

  bool Timeout(const Command&, std::string*);
  bool Pause(const Command&, std::string*);
  bool Write(const Command&, std::string*);
  bool Delete(const Command&, std::string*);
  bool Copy(const Command&, std::string*);
  bool Start(const Command&, std::string*);
  bool Use(const Command&, std::string*);
  // Makes the instance `name` the current one, parking the one that was.
  void SwitchTo(const std::string& name);
  // Ends the current instance: a short wait, then TerminateProcess.
  void StopInstance();
  bool WaitWindow(const Command&, std::string*);
  bool ExpectNoWindow(const Command&, std::string*);
  bool WaitExit(const Command&, std::string*);
  bool ExpectTitle(const Command&, std::string*);
  bool ExpectPosition(const Command&, std::string*);
  bool SetText(const Command&, std::string*);
  bool ExpectText(const Command&, std::string*);
  bool ExpectFocus(const Command&, std::string*);
  bool Click(const Command&, std::string*);
  bool DoubleClick(const Command&, std::string*);
  bool Key(const Command&, std::string*);
  bool Button(const Command&, std::string*);
  bool Notify(const Command&, std::string*);
  bool MenuCommand(const Command&, std::string*);
  bool Close(const Command&, std::string*);
  bool ExpectMessage(const Command&, std::string*);
  bool ExpectNoMessage(const Command&, std::string*);
  bool ExpectFile(const Command&, std::string*);
  bool ExpectFileLike(const Command&, std::string*);
  bool ExpectPresent(const Command&, std::string*);
  bool ExpectAbsent(const Command&, std::string*);
  bool ExpectLine(const Command&, std::string*);
  // The program's peak working set, the most memory it has held at once (in KB).
  bool PeakWorkingSetKb(size_t* kb, std::string* error) const;
  bool MarkMemory(const Command&, std::string*);
  bool ExpectMemoryGrowth(const Command&, std::string*);
  bool FileDialog(const Command&, std::string*);
  bool FontDialog(const Command&, std::string*);
  bool Screenshot(const Command&, std::string*);
  bool ExpectPixels(const Command&, std::string*);
  bool ExpectVisible(const Command&, std::string*);
  bool ExpectClientSize(const Command&, std::string*);
  // A control's rectangle in its parent's client area, and whether its text fits it.
  bool ExpectRect(const Command&, std::string*);
  bool DpiChange(const Command&, std::string*);
  bool ExpectTextFits(const Command&, std::string*);
  bool TextFits(const Command& command, size_t index, std::string* error);
  // List views (driver_list_win.cpp).
  bool ListControl(const Command& command, HWND* list, std::string* error) const;
  bool ListRow(const Command& command, HWND list, long* row, std::string* error) const;
  bool ExpectRows(const Command&, std::string*);
  bool SelectListRow(const Command&, std::string*);
  bool DoubleClickListRow(const Command&, std::string*);
  bool CtrlClickListRow(const Command&, std::string*);
  bool ListRowPoint(const Command&, HWND* list, LPARAM* where, std::string* error);
  // Object counts and the window-manager setting (driver_objects_win.cpp).
  bool CountObjects(ObjectCounts* counts, std::string* error);
  bool ObjectsMark(const Command&, std::string*);
  bool ExpectObjectsFlat(const Command&, std::string*);
  bool UnmanagedWindows(const Command&, std::string*);
  void RestoreWindowManagerSetting();
  // The display's DPI for the program's next start (the prefix's LogPixels), restored
  // when the scenario ends.
  bool DisplayDpi(const Command&, std::string*);
  void RestoreDisplayDpi();

  ScenarioFolders folders_;
  std::map<std::string, std::string> placeholders_;
  DWORD timeout_ms_ = 10000;
  UniqueHandle job_;
  // The current instance of the program: its process and the window commands act on.
  UniqueHandle process_;
  DWORD pid_ = 0;
  HWND main_window_ = nullptr;
  ObjectCounter object_counter_;
  std::optional<ObjectCounts> object_mark_;
  // unmanaged-windows: whether the setting was made, and the value it replaced.
  bool managed_setting_made_ = false;
  std::optional<std::string> managed_before_;
  // display-dpi: whether the setting was made, and the value it replaced.
  bool dpi_setting_made_ = false;
  std::optional<DWORD> dpi_before_;
  size_t memory_mark_kb_ = 0;  // the peak working set at mark-memory; 0: no mark
  std::string instance_ = "main";
  // The other instances, by name.
  struct Instance {
    UniqueHandle process;
    DWORD pid = 0;
    HWND main_window = nullptr;
  };
  std::map<std::string, Instance> parked_;
};

template <typename Check>
bool Driver::Poll(DWORD timeout_ms, Check check) const {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (check()) return true;
    if (GetTickCount64() >= deadline) return false;
    ::Sleep(kPollIntervalMs);
  }
}

}  // namespace qr::e2e
