// Start-up to the main window, as a user sees it: starts each program from its own folder
// with a fresh ALLUSERSPROFILE and TEMP (for quarrane.exe a first start: the data folder,
// qr.inf and the book's settings are all created), waits until its window with the given
// title is shown, then closes it and waits for the program to end. The programs take turns
// run by run, so a machine that slows down for a while slows all of them alike.
//
//   startup_timer <window title> <scratch folder> <runs> <key>=<program.exe> [<key>=...]
//
// prints one line per run and, per program, a summary line
//
//   <key>_ms median=<ms> min=<ms> max=<ms> runs=<n>
//
// A program built with start-up marks (app/startup_marks_win.h) writes them to the file
// named by QR_STARTUP_MARKS_FILE, which is set for every start; each mark is printed as
//
//   mark <key> <step> median=<ms>
//
// in milliseconds from the moment the process was started, in the order they were made.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h) {}
  ~Handle() {
    if (h_) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

std::wstring Wide(const std::string& text) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

double Frequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(frequency.QuadPart);
}

double Milliseconds(LONGLONG from, LONGLONG to) {
  return 1000.0 * static_cast<double>(to - from) / Frequency();
}

struct FoundWindow {
  DWORD processId;
  const std::wstring* title;
  HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM context) {
  auto* found = reinterpret_cast<FoundWindow*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (owner == found->processId && IsWindowVisible(window) && *found->title == title) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

struct Program {
  std::string key;
  std::string path;  // the executable; its folder is the working folder
  std::vector<double> times;
  std::vector<std::string> steps;                    // mark names in the order first made
  std::map<std::string, std::vector<double>> marks;  // per step, one figure per run
  bool writesMarks = false;
};

// Reads the marks the program wrote: "frequency <f>" then "<step> <counter>" lines.
void ReadMarks(const std::wstring& file, LONGLONG start, Program& program) {
  std::ifstream in{std::filesystem::path(file)};
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string step;
    long long counter = 0;
    if (!(words >> step >> counter) || step == "frequency") continue;
    program.writesMarks = true;
    if (!program.marks.count(step)) program.steps.push_back(step);
    program.marks[step].push_back(Milliseconds(start, counter));
  }
}

// One start: milliseconds until the window showed, or a negative value on failure. Each
// start has a profile folder of its own (`run` names it), so each is a first run.
double OneStart(Program& program, const std::wstring& title, const std::string& scratch,
                const std::string& run) {
  const std::wstring profile = Wide(scratch + "\\" + program.key + run);
  const std::wstring temp = profile + L"\\temp";
  const std::wstring marks = profile + L"\\marks.txt";
  CreateDirectoryW(Wide(scratch).c_str(), nullptr);
  CreateDirectoryW(profile.c_str(), nullptr);
  CreateDirectoryW(temp.c_str(), nullptr);
  DeleteFileW(marks.c_str());
  SetEnvironmentVariableW(L"ALLUSERSPROFILE", profile.c_str());
  SetEnvironmentVariableW(L"TEMP", temp.c_str());
  SetEnvironmentVariableW(L"TMP", temp.c_str());
  SetEnvironmentVariableW(L"QR_STARTUP_MARKS_FILE", marks.c_str());

  std::wstring exe = Wide(program.path);
  const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, shown;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", program.path.c_str(), GetLastError());
    return -1;
  }
  Handle processHandle(process.hProcess);
  Handle threadHandle(process.hThread);

  FoundWindow found{process.dwProcessId, &title, nullptr};
  for (int i = 0; i < 60000 && !found.window; ++i) {
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
    if (found.window) break;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "%s ended before its window showed\n", program.path.c_str());
      return -1;
    }
    Sleep(1);
  }
  QueryPerformanceCounter(&shown);
  if (!found.window) {
    std::fprintf(stderr, "no window of %s within a minute\n", program.path.c_str());
    TerminateProcess(process.hProcess, 1);
    return -1;
  }
  // A program that writes marks does so once its start-up is over: it is left to finish
  // (a program not known to write them is given three seconds in its warm-up start).
  if (program.writesMarks || run == "0") {
    for (int i = 0; i < 300 && GetFileAttributesW(marks.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
      Sleep(10);
  }
  PostMessageW(found.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%s did not end after WM_CLOSE\n", program.path.c_str());
    TerminateProcess(process.hProcess, 1);
  }
  ReadMarks(marks, start.QuadPart, program);
  return Milliseconds(start.QuadPart, shown.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: startup_timer <title> <scratch> <runs> <key>=<program.exe>...\n");
    return 2;
  }
  const std::wstring title = Wide(argv[1]);
  const std::string scratch = argv[2];
  const int runs = std::max(1, std::atoi(argv[3]));
  std::vector<Program> programs;
  for (int i = 4; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::size_t equals = arg.find('=');
    if (equals == std::string::npos) {
      std::fprintf(stderr, "not <key>=<program.exe>: %s\n", argv[i]);
      return 2;
    }
    programs.push_back({arg.substr(0, equals), arg.substr(equals + 1), {}, {}, {}, false});
  }
  // The first start of each warms Wine's caches and is not counted.
  for (Program& p : programs) {
    if (OneStart(p, title, scratch, "0") < 0) return 1;
    p.steps.clear();
    p.marks.clear();
  }
  for (int run = 1; run <= runs; ++run) {
    std::printf("run %d:", run);
    for (Program& p : programs) {
      // Wine now and then fails to start a process at all: such a start is made again once.
      double ms = OneStart(p, title, scratch, std::to_string(run));
      if (ms < 0) ms = OneStart(p, title, scratch, std::to_string(run) + "again");
      if (ms < 0) return 1;
      std::printf(" %s %.1f ms", p.key.c_str(), ms);
      p.times.push_back(ms);
    }
    std::printf("\n");
  }
  for (const Program& p : programs) {
    std::vector<double> sorted = p.times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("%s_ms median=%.1f min=%.1f max=%.1f runs=%d\n", p.key.c_str(), Median(p.times),
                sorted.front(), sorted.back(), runs);
    for (const std::string& step : p.steps)
      std::printf("mark %s %s median=%.1f\n", p.key.c_str(), step.c_str(),
                  Median(p.marks.at(step)));
  }
  return 0;
}
