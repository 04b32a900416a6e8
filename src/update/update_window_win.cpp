#include "update/update_window_win.h"
#include "base/wide_text_win.h"

#include <commctrl.h>
#include <wininet.h>

#include <vector>

#include "base/file_system.h"
#include "update/update_download_win.h"
#include "update/update_files_win.h"
#include "update/update_info.h"
#include "wingui/dpi_win.h"
#include "wingui/modal_win.h"
#include "wingui/scoped_win.h"
#include "wingui/window_class_win.h"
#include "wingui/window_win.h"

namespace qr {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 100;
// The status line: one line high, two for the download error.
constexpr int kStatusX = 25, kStatusY = 50, kStatusWidth = 350;

// The progress window's own procedure: only what DefWindowProc does, so the close box
// of a window left open after an error closes it once the event loop runs again.
LRESULT CALLBACK UpdateWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DPICHANGED) {
    FollowDpiChange(hwnd, wp, lp);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// "Checking for Updates": a progress bar, a status label and a countdown label. The
// window is destroyed with this object unless it is left open for the user.
class ProgressWindow {
 public:
  ProgressWindow(HINSTANCE instance, WindowCorner corner) {
    if (!RegisterFormWindowClass(instance, kUpdateWindowClass, UpdateWindowProc)) return;
    const SIZE size = OuterSizeForClient(kClientWidth, kClientHeight, kWindowStyle);
    hwnd_ =
        CreateWindowExW(0, Wide(kUpdateWindowClass).c_str(), L"Checking for Updates", kWindowStyle,
                        corner.x, corner.y, size.cx, size.cy, nullptr, nullptr, instance, nullptr);
    if (!hwnd_) return;
    progress_ = Child("msctls_progress32", "", 0, kUpdateProgressBarId, 25, 20, 350, 20);
    SendMessageW(progress_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    // The labels exist from the start, empty, so that their numbers always answer.
    status_ = Child("STATIC", "", SS_LEFT, kUpdateStatusId, kStatusX, kStatusY, kStatusWidth, 20);
    countdown_ = Child("STATIC", "", SS_LEFT, kUpdateCountdownId, 20, 70, 350, 20);
    // Hidden until the countdown starts: it would cover the two-line error text.
    ShowWindow(countdown_, SW_HIDE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
  }
  ~ProgressWindow() { Close(); }
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  void SetProgress(int percent) {
    SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    Repaint();
  }

  // Each step's text replaces the previous one in the status place; the download
  // error takes two lines.
  void ShowStatus(const std::string& text, bool tall) {
    PlaceChild(status_, kStatusX, kStatusY, kStatusWidth, tall ? 40 : 20);
    SetWindowTextUtf8(status_, text);
    Repaint();
  }

  void ShowCountdown(const std::string& text) {
    SetWindowTextUtf8(countdown_, text);
    ShowWindow(countdown_, SW_SHOWNA);
    Repaint();
  }

  void Close() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  // Leaves the window on screen, for the user to close.
  void LeaveOpen() { hwnd_ = nullptr; }

 private:
  HWND Child(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
    return hwnd_ ? AddFormChild(hwnd_, cls, text, style, id, x, y, w, h) : nullptr;
  }
  // The window is not serviced during the check, so each change is painted at once.
  void Repaint() {
    if (hwnd_)
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }

  HWND hwnd_ = nullptr;
  HWND progress_ = nullptr;
  HWND status_ = nullptr;
  HWND countdown_ = nullptr;
};

std::string TemporaryFolder() {
  // The block as UTF-8, its terminating zeros kept.
  std::string utf8;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    std::size_t length = 0;
    while (block[length] != L'\0' || block[length + 1] != L'\0') ++length;
    utf8 = Utf8(std::wstring_view(block, length + 2));
    FreeEnvironmentStringsW(block);
  }
  const std::vector<std::string> environment =
      SplitEnvironmentBlock(utf8.empty() ? nullptr : utf8.c_str());
  return ChooseTemporaryFolder(environment, CurrentDirectory());
}

class WindowHost final : public UpdateHost {
 public:
  WindowHost(ProgressWindow& window, HWND owner, const EcdsaPublicKey& publicKey)
      : window_(window), owner_(owner), publicKey_(publicKey) {}

  void SetProgress(int percent) override { window_.SetProgress(percent); }
  void ShowStatus(const std::string& text, bool tall) override { window_.ShowStatus(text, tall); }
  void ShowCountdown(const std::string& text) override { window_.ShowCountdown(text); }
  void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
  std::int32_t Download(const std::string& address, const std::string& localPath,
                        std::uint64_t limit) override {
    return DownloadWithinLimits(address, localPath, limit);
  }
  bool ReadFileStart(const std::string& path, std::size_t limit, std::string* bytes) override {
    return ReadStartOfFile(path, limit, bytes);
  }
  bool CreatePrivateFolder(const std::string& path) override {
    return qr::CreatePrivateFolder(path);
  }
  void RemoveFolder(const std::string& path) override { RemoveFolderWithFiles(path); }
  bool HoldAndHashInstaller(const std::string& path, Sha256Digest* digest) override {
    return installer_.OpenAndHash(path, digest);
  }
  void ReleaseInstaller() override { installer_.Release(); }
  bool VerifySignature(const std::string& message, const EcdsaSignature& signature) override {
    Sha256Digest digest{};
    return Sha256Of(message, &digest) && VerifyEcdsaP256(publicKey_, digest, signature);
  }
  void CloseWindowAndTell(const std::string& title, const std::string& text) override {
    window_.Close();
    ShowMessageBox(owner_, title, text, MB_OK);
  }
  bool StartInstaller(const std::string& path, const std::string& folder) override {
    return StartProgram(path, folder);
  }

 private:
  ProgressWindow& window_;
  HWND owner_;
  EcdsaPublicKey publicKey_;
  HeldFile installer_;
};

}  // namespace

UpdateOutcome RunUpdateCheck(HINSTANCE instance, HWND owner, WindowCorner corner,
                             const std::string& version, const std::string& site,
                             const EcdsaPublicKey& publicKey) {
  ProgressWindow window(instance, corner);
  const std::string temporaryFolder = TemporaryFolder();
  WindowHost host(window, owner, publicKey);
  const UpdateOutcome outcome =
      RunUpdateSteps(host, SystemFileSystem(), site, temporaryFolder, version);
  if (outcome == UpdateOutcome::kFailed) window.LeaveOpen();
  return outcome;
}

}  // namespace qr
