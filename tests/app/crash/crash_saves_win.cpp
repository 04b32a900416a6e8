// Kills the real quarrane.exe at random moments while it saves addressees into a
// growing book, and checks after every kill that the book file still parses and holds
// either the entries before the interrupted save or those after it: never fewer,
// never a mix.
//
//   crash_saves DIST_FOLDER WORK_FOLDER [SEED]
//
// Each launch saves one new name after another (Name field, then File > Save) until a
// second thread ends the program with TerminateProcess after a random delay. A save
// counts as done once the program has emptied the Name field, which it does only
// after the new file is in place. Every save takes the book's lock: a lock that a
// killed program held, or a lock file one left behind (every other launch starts with
// one), must not hold up the next save.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "addressbook/book_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMinLaunches = 20;
constexpr int kMaxLaunches = 80;
constexpr std::size_t kMinSaves = 200;
constexpr int kNameField = 5;
constexpr int kSaveCommand = 41;
constexpr DWORD kKillMinMs = 250;
constexpr DWORD kKillMaxMs = 1500;
constexpr DWORD kWindowWaitMs = 30000;
constexpr DWORD kSaveWaitMs = 10000;
constexpr UINT kSendTimeoutMs = 2000;
constexpr auto kTimeBudget = std::chrono::minutes(4);

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// Closes a process handle and ends the process should it still run.
class Program {
 public:
  Program() = default;
  ~Program() { End(); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Start(const std::string& folder, std::string* error) {
    const std::string exe = folder + "\\quarrane.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi)) {
      *error = "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")";
      return false;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
  }
  bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  void Kill() {
    if (process_) TerminateProcess(process_, 9);
  }
  void End() {
    if (!process_) return;
    Kill();
    WaitForSingleObject(process_, 10000);
    CloseHandle(process_);
    process_ = nullptr;
  }
  DWORD pid() const { return pid_; }

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

struct Search {
  DWORD pid;
  const char* className;  // null: any "#32770" dialog
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (pid == search->pid && IsWindowVisible(window) && std::string(cls) == search->className) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND TopWindowOf(DWORD pid, const char* className) {
  Search search{pid, className, nullptr};
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ReadFieldText(HWND field, std::string* text) {
  char buffer[256] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(field, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &copied))
    return false;
  text->assign(buffer, std::min<std::size_t>(copied, sizeof buffer - 1));
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  *bytes = content.str();
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

std::string Joined(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
  return text;
}

// The book file after a kill: well formed (CR LF lines, each numbered by its position
// and listed), and its names are exactly `before` or `before` plus `pending`.
bool CheckBook(const std::string& path, const std::vector<std::string>& before,
               const std::string& pending, bool* tookPending, std::string* error) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes)) {
    if (before.empty()) {
      *tookPending = false;
      return true;  // nothing saved yet and no file: the book is still empty
    }
    *error = "the book file is gone";
    return false;
  }
  if (!bytes.empty() && (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0)) {
    *error = "the book file does not end with CR LF (a cut-off write)";
    return false;
  }
  const std::vector<qr::AddressEntry> entries = qr::ParseBookFile(bytes);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const qr::AddressEntry& e = entries[i];
    if (e.number != std::to_string(i) || e.listed != "1" || e.street != "street of " + e.name) {
      *error = "line " + std::to_string(i) + " is damaged: \"" + e.name + "^" + e.street + "^...^" +
               e.number + "^" + e.listed + "\"";
      return false;
    }
    names.push_back(e.name);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> expectBefore = before;
  std::sort(expectBefore.begin(), expectBefore.end());
  std::vector<std::string> expectAfter = before;
  if (!pending.empty()) expectAfter.push_back(pending);
  std::sort(expectAfter.begin(), expectAfter.end());
  if (names == expectBefore) {
    *tookPending = false;
    return true;
  }
  if (names == expectAfter) {
    *tookPending = !pending.empty();
    return true;
  }
  *error = "the book holds [" + Joined(names) + "]; expected [" + Joined(before) + "]" +
           (pending.empty() ? "" : " or that plus " + pending);
  return false;
}

struct Totals {
  std::size_t saves = 0;  // saves the program reported done
  int launches = 0;
  int killsDuringSave = 0;  // kills that came while a save was under way
  int interruptedKept = 0;  // of those, the file already held the new name
  int lockFilesLeft = 0;    // kills after which the program's lock file was still there
};

int Fail(const std::string& what) {
  std::fprintf(stderr, "FAIL: %s\n", what.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: crash_saves DIST_FOLDER WORK_FOLDER [SEED]\n");
    return 2;
  }
  const std::string dist = WindowsPath(argv[1]);
  const std::string work = WindowsPath(argv[2]);
  const unsigned seed = argc > 3 ? static_cast<unsigned>(std::stoul(argv[3]))
                                 : std::random_device{}() ^ GetTickCount();
  std::printf("seed %u (give it as the third argument to repeat this run)\n", seed);
  std::mt19937 random(seed);

  // Fresh folders: the program folder is a copy of the built one.
  const std::string data = work + "\\data";
  const std::string program = work + "\\program";
  const std::string temp = work + "\\temp";
  std::error_code ec;
  for (const std::string& folder : {data, program, temp}) {
    fs::remove_all(folder, ec);
    fs::create_directories(folder, ec);
    if (ec) return Fail("cannot make " + folder + ": " + ec.message());
  }
  fs::create_directories(data + "\\Quarrane", ec);
  for (auto it = fs::recursive_directory_iterator(dist, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::path target = fs::path(program) / fs::relative(it->path(), dist, ec);
    if (ec) break;
    if (it->is_directory(ec)) {
      fs::create_directories(target, ec);
    } else {
      fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec);
    }
  }
  if (ec || !fs::exists(program + "\\quarrane.exe"))
    return Fail("cannot copy the program from " + dist + " (build it first): " + ec.message());
  SetEnvironmentVariableA("ALLUSERSPROFILE", data.c_str());
  SetEnvironmentVariableA("TEMP", temp.c_str());
  SetEnvironmentVariableA("TMP", temp.c_str());

  const std::string bookFolder = data + "\\Quarrane\\";
  const std::string book = bookFolder + "Addresses.adb";
  // The settings say which book to open; the update question stays away because the
  // counter is set back before every launch.
  const std::string appSettings =
      "[Application]\r\nVersion = 2.80\r\nCurrentAddressbook = Addresses\r\n"
      "CurrentAddressbookDirectory = " +
      bookFolder + "\r\nLastCheckValue = 1\r\n";

  std::vector<std::string> saved;
  Totals totals;
  int nextName = 0;
  const auto started = std::chrono::steady_clock::now();
  while (totals.launches < kMaxLaunches &&
         (totals.launches < kMinLaunches || totals.saves < kMinSaves)) {
    if (std::chrono::steady_clock::now() - started > kTimeBudget)
      return Fail("time budget spent after " + std::to_string(totals.saves) + " saves in " +
                  std::to_string(totals.launches) + " launches");
    if (!WriteWholeFile(bookFolder + "qr.inf", appSettings)) return Fail("cannot write qr.inf");
    const bool planted = totals.launches % 2 == 1;
    if (planted && !WriteWholeFile(book + ".lock", "")) return Fail("cannot write the lock file");
    ++totals.launches;
    Program quarrane;
    std::string error;
    if (!quarrane.Start(program, &error)) return Fail(error);
    HWND window = nullptr;
    const ULONGLONG windowDeadline = GetTickCount64() + kWindowWaitMs;
    while (!(window = TopWindowOf(quarrane.pid(), "QuarraneMainWindow"))) {
      if (!quarrane.Running() || GetTickCount64() > windowDeadline)
        return Fail("launch " + std::to_string(totals.launches) + ": no main window");
      Sleep(20);
    }
    HWND nameField = GetDlgItem(window, kNameField);
    if (!nameField) return Fail("the main window has no Name field");

    // The killer: one TerminateProcess after a random delay.
    const DWORD delay = std::uniform_int_distribution<DWORD>(kKillMinMs, kKillMaxMs)(random);
    std::atomic<bool> killed{false};
    std::thread killer([&] {
      Sleep(delay);
      quarrane.Kill();
      killed = true;
    });

    // Saves back to back until the program is gone. `pending` is the name whose save
    // was asked for and not yet seen done.
    std::string pending;
    bool stuck = false;
    while (!killed && quarrane.Running()) {
      char name[32];
      std::snprintf(name, sizeof name, "entry%04d", nextName++);
      const std::string street = std::string("street of ") + name;
      pending = name;
      HWND streetField = GetDlgItem(window, kNameField + 1);
      DWORD_PTR ignored = 0;
      if (!SendMessageTimeoutA(streetField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(street.c_str()),
                               SMTO_BLOCK, kSendTimeoutMs, &ignored) ||
          !SendMessageTimeoutA(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name), SMTO_BLOCK,
                               kSendTimeoutMs, &ignored)) {
        break;  // killed meanwhile: the form was not complete, nothing was asked
      }
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(kSaveCommand, 0), 0);
      const ULONGLONG saveDeadline = GetTickCount64() + kSaveWaitMs;
      for (;;) {
        std::string text;
        if (ReadFieldText(nameField, &text) && text.empty()) {
          saved.push_back(pending);
          pending.clear();
          ++totals.saves;
          break;
        }
        if (killed || !quarrane.Running()) break;
        if (GetTickCount64() > saveDeadline) {
          stuck = true;
          break;
        }
        Sleep(1);
      }
      if (stuck) break;
    }
    killer.join();
    quarrane.End();
    if (stuck) {
      const bool dialog = TopWindowOf(quarrane.pid(), "#32770") != nullptr;
      return Fail("launch " + std::to_string(totals.launches) + ": the save of " + pending +
                  " did not finish" + (dialog ? " (a message box was open)" : ""));
    }
    if (!planted && fs::exists(book + ".lock", ec)) ++totals.lockFilesLeft;
    bool tookPending = false;
    if (!CheckBook(book, saved, pending, &tookPending, &error))
      return Fail("after launch " + std::to_string(totals.launches) + " (killed after " +
                  std::to_string(delay) + " ms): " + error);
    if (!pending.empty()) {
      ++totals.killsDuringSave;
      if (tookPending) {
        ++totals.interruptedKept;
        saved.push_back(pending);  // the file has it: later checks count it in
      }
    }
  }
  std::printf(
      "%d launches, %zu saves done, %d kills during a save (%d of them after the new "
      "file was in place), %zu entries in the book, %d lock files left by a kill\n",
      totals.launches, totals.saves, totals.killsDuringSave, totals.interruptedKept, saved.size(),
      totals.lockFilesLeft);
  if (totals.saves < kMinSaves) return Fail("fewer saves than " + std::to_string(kMinSaves));
  std::printf("PASS\n");
  return 0;
}
