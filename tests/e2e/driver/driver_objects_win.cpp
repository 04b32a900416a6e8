// The driver's check that the program gives back the GDI and USER objects it takes
// (counted inside it, see object_counter_win.h), and the window-manager setting that
// lets a scenario open and close windows hundreds of times.
#include <cstdio>
#include <map>

#include "driver_util_win.h"
#include "driver_win.h"
#include "ui_win.h"

namespace qr::e2e {

using namespace detail;

namespace {

// Wine's X11 settings for the program alone (by its file name).
constexpr char kX11SettingsKey[] = "Software\\Wine\\AppDefaults\\quarrane.exe\\X11 Driver";
constexpr char kManagedValue[] = "Managed";

// The kinds of objects counted, by the names scenarios use.
struct ObjectKind {
  const char* name;
  std::uint32_t ObjectCounts::*count;
};
constexpr ObjectKind kObjectKinds[] = {{"gdi", &ObjectCounts::gdi},
                                       {"windows", &ObjectCounts::windows},
                                       {"menus", &ObjectCounts::menus},
                                       {"icons", &ObjectCounts::icons},
                                       {"accelerators", &ObjectCounts::accelerators}};

std::string Describe(const ObjectCounts& counts) {
  std::string text;
  for (const ObjectKind& kind : kObjectKinds)
    text += (text.empty() ? "" : ", ") + std::string(kind.name) + " " +
            std::to_string(counts.*kind.count);
  return text;
}

std::string DescribeGrowth(const ObjectCounts& before, const ObjectCounts& after) {
  std::string text;
  for (const ObjectKind& kind : kObjectKinds) {
    char change[16];
    std::snprintf(change, sizeof change, "%+lld",
                  static_cast<long long>(after.*kind.count) - before.*kind.count);
    text += (text.empty() ? "" : ", ") + std::string(kind.name) + " " + change;
  }
  return text;
}

}  // namespace

bool Driver::CountObjects(ObjectCounts* counts, std::string* error) {
  if (!NeedMainWindow(error)) return false;
  // A sent message is answered from the program's message loop, so the count does not
  // start in the middle of the program's handling of a message.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(main_window_, WM_NULL, 0, 0, SMTO_BLOCK, kSendTimeoutMs, &ignored)) {
    *error = "the program does not answer";
    return false;
  }
  if (!object_counter_.Count(process_.get(), pid_, counts, error)) return false;
  // An open main window comes with GDI objects, a menu (its menu bar or system menu)
  // and a cursor.
  if (!counts->gdi || !counts->windows || !counts->menus || !counts->icons) {
    *error = "counted " + Describe(*counts) +
             " while the main window is open: counting does not work with this Wine";
    return false;
  }
  return true;
}

bool Driver::ObjectsMark(const Command&, std::string* error) {
  // The mark is taken once two counts in a row agree, so that objects of work the
  // program is just finishing are not part of it.
  ObjectCounts counts, again;
  bool counted = CountObjects(&counts, error);
  const bool settled = counted && Poll(timeout_ms_, [&] {
                         if (!(counted = CountObjects(&again, error))) return true;
                         const bool same = again == counts;
                         counts = again;
                         return same;
                       });
  if (!counted) return false;
  if (!settled) {
    *error = "the counts did not settle within " + std::to_string(timeout_ms_) +
             " ms; the last: " + Describe(counts);
    return false;
  }
  object_mark_ = counts;
  std::printf("  objects: %s\n", Describe(counts).c_str());
  return true;
}

bool Driver::ExpectObjectsFlat(const Command& command, std::string* error) {
  long slack = 0;
  if (!IntArg(command, 0, &slack, error)) return false;
  if (slack < 0) {
    *error = "the slack must not be negative";
    return false;
  }
  // The growth allowed for each kind: the slack, plus what the scenario names for it.
  std::map<std::string, long> allowed;
  for (const ObjectKind& kind : kObjectKinds) allowed[kind.name] = slack;
  if (command.args.size() % 2 == 0) {
    *error = "give a kind and a number of objects, in pairs, after the slack";
    return false;
  }
  for (size_t i = 1; i < command.args.size(); i += 2) {
    long extra = 0;
    auto found = allowed.find(Arg(command, i));
    if (found == allowed.end()) {
      *error = "no kind of object " + Quote(Arg(command, i)) +
               "; say gdi, windows, menus, icons or accelerators";
      return false;
    }
    if (!IntArg(command, i + 1, &extra, error)) return false;
    found->second += extra;
  }
  if (!object_mark_) {
    *error = "no objects-mark to compare with";
    return false;
  }
  const ObjectCounts& mark = *object_mark_;
  ObjectCounts now;
  bool counted = false;
  const auto flat = [&] {
    for (const ObjectKind& kind : kObjectKinds) {
      if (static_cast<long long>(now.*kind.count) - mark.*kind.count > allowed[kind.name])
        return false;
    }
    return true;
  };
  // Objects given back a moment late (by a window still closing) are waited for.
  Poll(timeout_ms_, [&] { return !(counted = CountObjects(&now, error)) || flat(); });
  if (!counted) return false;
  const std::string growth = DescribeGrowth(mark, now);
  std::printf("  objects: %s; since the mark: %s\n", Describe(now).c_str(), growth.c_str());
  if (flat()) return true;
  std::string limits;
  for (const ObjectKind& kind : kObjectKinds)
    limits += (limits.empty() ? "" : ", ") + std::string(kind.name) + " " +
              std::to_string(allowed[kind.name]);
  *error = "objects grew since the mark: " + growth + "; allowed: " + limits;
  return false;
}

// Wine's X11 driver waits up to 2 s, whenever it hides or destroys a top-level window,
// for a window manager to confirm, and Xvfb has none. Windows it does not hand to a
// window manager are hidden at once. The setting holds for quarrane.exe until the
// scenario ends (it is volatile: should the driver be killed, it ends with the
// wineserver).
bool Driver::UnmanagedWindows(const Command&, std::string* error) {
  if (Running()) {
    *error = "the program reads the setting when it starts: say unmanaged-windows before start";
    return false;
  }
  HKEY key = nullptr;
  LSTATUS status =
      RegCreateKeyExA(HKEY_CURRENT_USER, kX11SettingsKey, 0, nullptr, REG_OPTION_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS && !managed_setting_made_) {
    char before[64] = {};
    DWORD size = sizeof before - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, kManagedValue, nullptr, &type, reinterpret_cast<BYTE*>(before),
                         &size) == ERROR_SUCCESS &&
        type == REG_SZ)
      managed_before_ = before;
  }
  if (status == ERROR_SUCCESS)
    status = RegSetValueExA(key, kManagedValue, 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  if (key) RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    *error =
        "cannot write HKCU\\" + std::string(kX11SettingsKey) + ": error " + std::to_string(status);
    return false;
  }
  managed_setting_made_ = true;
  return true;
}

void Driver::RestoreWindowManagerSetting() {
  if (!managed_setting_made_) return;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kX11SettingsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  if (managed_before_) {
    RegSetValueExA(key, kManagedValue, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(managed_before_->c_str()),
                   DWORD(managed_before_->size() + 1));
  } else {
    RegDeleteValueA(key, kManagedValue);
  }
  RegCloseKey(key);
  managed_setting_made_ = false;
}

}  // namespace qr::e2e

namespace qr::e2e {

namespace {
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLogPixels[] = "LogPixels";
}  // namespace

// Wine takes the display's DPI from the user's LogPixels when a program starts: the
// program started next sees the display at that scale, as on a monitor of that scale.
bool Driver::DisplayDpi(const Command& command, std::string* error) {
  long dpi = 0;
  if (!IntArg(command, 0, &dpi, error)) return false;
  if (Running()) {
    *error = "the program reads the DPI when it starts: say display-dpi before start";
    return false;
  }
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0,
                                   KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS && !dpi_setting_made_) {
    DWORD before = 0, size = sizeof before, type = 0;
    if (RegQueryValueExA(key, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&before),
                         &size) == ERROR_SUCCESS &&
        type == REG_DWORD)
      dpi_before_ = before;
  }
  const DWORD value = DWORD(dpi);
  if (status == ERROR_SUCCESS)
    status = RegSetValueExA(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof value);
  if (key) RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    *error = "cannot write HKCU\\" + std::string(kDesktopKey) + ": error " + std::to_string(status);
    return false;
  }
  dpi_setting_made_ = true;
  return true;
}

void Driver::RestoreDisplayDpi() {
  if (!dpi_setting_made_) return;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  if (dpi_before_) {
    RegSetValueExA(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*dpi_before_),
                   sizeof *dpi_before_);
  } else {
    RegDeleteValueA(key, kLogPixels);
  }
  RegCloseKey(key);
  dpi_setting_made_ = false;
}

}  // namespace qr::e2e
