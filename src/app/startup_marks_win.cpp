#include "app/startup_marks_win.h"

#ifdef QR_STARTUP_MARKS
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#endif

namespace qr {

#ifdef QR_STARTUP_MARKS

namespace {

struct Mark {
  const char* step;
  LONGLONG counter;
};
Mark marks[32];
int markCount = 0;
bool written = false;

}  // namespace

void StartupMark(const char* step) {
  if (written || markCount == static_cast<int>(std::size(marks))) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  marks[markCount++] = {step, now.QuadPart};
}

void WriteStartupMarks() {
  if (written) return;
  written = true;
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"QR_STARTUP_MARKS_FILE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::ofstream out(std::filesystem::path(path), std::ios::app);
  out << "frequency " << frequency.QuadPart << "\n";
  for (int i = 0; i < markCount; ++i) out << marks[i].step << " " << marks[i].counter << "\n";
}

bool StartupMarksPending() { return !written; }

#else

void StartupMark(const char*) {}
void WriteStartupMarks() {}
bool StartupMarksPending() { return false; }

#endif

}  // namespace qr
