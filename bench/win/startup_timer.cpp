// Start-up to the main window, as a user sees it: launches quarrane.exe from its program
// folder with a fresh ALLUSERSPROFILE and TEMP (a first start: the data folder, qr.inf and
// the book's settings are all created), waits until the main window is shown, then closes
// it and waits for the program to end. Prints one line per run and a summary line:
//
//   startup_timer <folder of quarrane.exe> <window title> <scratch folder> [runs]
//   startup_ms median=<ms> min=<ms> max=<ms> runs=<n>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

struct FoundWindow {
  DWORD processId;
  const char* title;
  HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM context) {
  auto* found = reinterpret_cast<FoundWindow*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  if (owner == found->processId && IsWindowVisible(window) && std::string(title) == found->title) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// One start: milliseconds until the window showed, or a negative value on failure.
double OneStart(const std::string& folder, const std::string& title, const std::string& scratch,
                int run) {
  const std::string profile = scratch + "\\run" + std::to_string(run);
  CreateDirectoryA(scratch.c_str(), nullptr);
  CreateDirectoryA(profile.c_str(), nullptr);
  CreateDirectoryA((profile + "\\temp").c_str(), nullptr);
  SetEnvironmentVariableA("ALLUSERSPROFILE", profile.c_str());
  SetEnvironmentVariableA("TEMP", (profile + "\\temp").c_str());
  SetEnvironmentVariableA("TMP", (profile + "\\temp").c_str());

  std::string command = "\"" + folder + "\\quarrane.exe\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, shown;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", command.c_str(), GetLastError());
    return -1;
  }
  Handle processHandle(process.hProcess);
  Handle threadHandle(process.hThread);

  FoundWindow found{process.dwProcessId, title.c_str(), nullptr};
  for (int i = 0; i < 60000 && !found.window; ++i) {
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
    if (found.window) break;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "quarrane.exe ended before its window showed\n");
      return -1;
    }
    Sleep(1);
  }
  QueryPerformanceCounter(&shown);
  if (!found.window) {
    std::fprintf(stderr, "no window titled \"%s\" within a minute\n", title.c_str());
    TerminateProcess(process.hProcess, 1);
    return -1;
  }
  PostMessageA(found.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "quarrane.exe did not end after WM_CLOSE\n");
    TerminateProcess(process.hProcess, 1);
  }
  return Milliseconds(start, shown);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_timer <program folder> <title> <scratch> [runs]\n");
    return 2;
  }
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  // The first start warms Wine's caches and is not counted.
  if (OneStart(argv[1], argv[2], argv[3], 0) < 0) return 1;
  std::vector<double> times;
  for (int run = 1; run <= runs; ++run) {
    const double ms = OneStart(argv[1], argv[2], argv[3], run);
    if (ms < 0) return 1;
    std::printf("run %d: %.1f ms\n", run, ms);
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("startup_ms median=%.1f min=%.1f max=%.1f runs=%d\n", times[times.size() / 2],
              times.front(), times.back(), runs);
  return 0;
}
