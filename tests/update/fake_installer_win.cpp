// A stand-in for a downloaded installer: it leaves "installer-ran.txt" beside itself,
// saying which arguments it was given and whether its own folder was its working
// folder, and ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string marker(path, length);
  marker.erase(marker.find_last_of('\\') + 1);
  marker += "installer-ran.txt";

  // The arguments are what follows the program's own (possibly quoted) name.
  const char* args = GetCommandLineA();
  if (*args == '"') {
    ++args;
    while (*args && *args != '"') ++args;
    if (*args) ++args;
  } else {
    while (*args && *args != ' ' && *args != '\t') ++args;
  }
  while (*args == ' ' || *args == '\t') ++args;

  // Compared without the folders' final backslash, and without regard to case.
  const std::string folder = marker.substr(0, marker.find_last_of('\\'));
  char current[MAX_PATH] = {};
  const DWORD currentLength = GetCurrentDirectoryA(MAX_PATH, current);
  std::string working(current, currentLength < MAX_PATH ? currentLength : 0);
  if (!working.empty() && working.back() == '\\') working.pop_back();
  const std::string where =
      lstrcmpiA(working.c_str(), folder.c_str()) == 0 ? "its own folder" : working;

  const std::string text =
      "installer ran with arguments [" + std::string(args) + "] in " + where + "\r\n";
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok ? 0 : 1;
}
