#include "object_counter_win.h"

#include <psapi.h>

#include <vector>

#include "handles_win.h"
#include "ui_win.h"

namespace qr::e2e {
namespace {

constexpr char kLibraryName[] = "qrobjects.dll";
constexpr DWORD kRemoteThreadWaitMs = 30000;

// Where the module with file name `name` is loaded in `process`; null if it is not.
char* RemoteModule(HANDLE process, const char* name) {
  std::vector<HMODULE> modules(256);
  DWORD needed = 0;
  while (EnumProcessModulesEx(process, modules.data(), DWORD(modules.size() * sizeof(HMODULE)),
                              &needed, LIST_MODULES_ALL)) {
    if (needed > modules.size() * sizeof(HMODULE)) {
      modules.resize(needed / sizeof(HMODULE));
      continue;
    }
    modules.resize(needed / sizeof(HMODULE));
    for (HMODULE module : modules) {
      char base[MAX_PATH] = {};
      if (GetModuleBaseNameA(process, module, base, sizeof base) && _stricmp(base, name) == 0)
        return reinterpret_cast<char*>(module);
    }
    break;
  }
  return nullptr;
}

// Runs start(parameter) on a new thread in `process` and waits for its exit code.
bool RunInProcess(HANDLE process, void* start, void* parameter, DWORD* exit_code,
                  std::string* error) {
  UniqueHandle thread(CreateRemoteThread(
      process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), parameter, 0, nullptr));
  if (!thread) {
    *error = "cannot start a thread in the program: " + LastErrorText();
    return false;
  }
  if (WaitForSingleObject(thread.get(), kRemoteThreadWaitMs) != WAIT_OBJECT_0) {
    *error = "a thread started in the program has not ended after " +
             std::to_string(kRemoteThreadWaitMs) + " ms";
    return false;
  }
  return GetExitCodeThread(thread.get(), exit_code) != 0;
}

}  // namespace

bool ObjectCounter::Load(HANDLE process, std::string* error) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string path = exe;
  path = path.substr(0, path.find_last_of('\\') + 1) + kLibraryName;

  // Loaded here as well, to learn where QrCountObjects lies within the library.
  HMODULE local = LoadLibraryA(path.c_str());
  if (!local) {
    *error = "cannot load " + path + ": " + LastErrorText();
    return false;
  }
  const auto* local_count = reinterpret_cast<const char*>(GetProcAddress(local, "QrCountObjects"));
  const auto* local_font = reinterpret_cast<const char*>(GetProcAddress(local, "QrFontOfWindow"));
  const std::ptrdiff_t count_offset = local_count - reinterpret_cast<const char*>(local);
  const std::ptrdiff_t font_offset = local_font - reinterpret_cast<const char*>(local);
  FreeLibrary(local);
  if (!local_count || !local_font) {
    *error = path + " has no QrCountObjects";
    return false;
  }

  // The program's LoadLibraryA: the system library that holds ours is loaded there
  // too, and the function lies at the same place within it.
  const auto* load_library = reinterpret_cast<const char*>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
  HMODULE system = nullptr;
  char system_name[MAX_PATH] = {};
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          load_library, &system) ||
      !GetModuleBaseNameA(GetCurrentProcess(), system, system_name, sizeof system_name)) {
    *error = "cannot tell which library holds LoadLibraryA: " + LastErrorText();
    return false;
  }
  char* remote_system = RemoteModule(process, system_name);
  if (!remote_system) {
    *error = std::string("cannot find ") + system_name + " in the program: " + LastErrorText();
    return false;
  }
  void* remote_load_library = remote_system + (load_library - reinterpret_cast<char*>(system));

  void* remote_path =
      VirtualAllocEx(process, nullptr, path.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  SIZE_T written = 0;
  DWORD loaded = 0;
  const bool ran =
      remote_path &&
      WriteProcessMemory(process, remote_path, path.c_str(), path.size() + 1, &written) &&
      RunInProcess(process, remote_load_library, remote_path, &loaded, error);
  if (remote_path) VirtualFreeEx(process, remote_path, 0, MEM_RELEASE);
  if (!ran || !loaded) {
    if (error->empty()) *error = "the program could not load " + path;
    return false;
  }
  char* remote_library = RemoteModule(process, kLibraryName);
  remote_result_ = VirtualAllocEx(process, nullptr, sizeof(ObjectCounts), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
  remote_query_ =
      VirtualAllocEx(process, nullptr, sizeof(FontQuery), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote_library || !remote_result_ || !remote_query_) {
    *error = "cannot find " + path + " in the program after loading it, or no memory there";
    return false;
  }
  remote_count_ = remote_library + count_offset;
  remote_font_ = remote_library + font_offset;
  return true;
}

bool ObjectCounter::FontOf(HANDLE process, DWORD pid, HWND window, LOGFONTW* font,
                           std::string* error) {
  if (pid_ != pid) {
    if (!Load(process, error)) return false;
    pid_ = pid;
  }
  FontQuery query;
  query.window = window;
  SIZE_T done = 0;
  DWORD status = 0;
  if (!WriteProcessMemory(process, remote_query_, &query, sizeof query, &done) ||
      !RunInProcess(process, remote_font_, remote_query_, &status, error) ||
      !ReadProcessMemory(process, remote_query_, &query, sizeof query, &done) ||
      done != sizeof query) {
    if (error->empty()) *error = "cannot ask the program for a font: " + LastErrorText();
    return false;
  }
  if (!query.found) {
    *error = "the control has no font of its own";
    return false;
  }
  *font = query.font;
  return true;
}

bool ObjectCounter::Count(HANDLE process, DWORD pid, ObjectCounts* counts, std::string* error) {
  if (pid_ != pid) {
    if (!Load(process, error)) return false;
    pid_ = pid;
  }
  DWORD status = 0;
  if (!RunInProcess(process, remote_count_, remote_result_, &status, error)) return false;
  if (status != 0) {
    *error = "qrobjects.dll cannot count icons: user32 has no GetCursorFrameInfo";
    return false;
  }
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, remote_result_, counts, sizeof *counts, &read) ||
      read != sizeof *counts) {
    *error = "cannot read the counts from the program: " + LastErrorText();
    return false;
  }
  return true;
}

}  // namespace qr::e2e
