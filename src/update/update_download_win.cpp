#include "update/update_download_win.h"

#include <windows.h>

#include <sddl.h>
#include <urlmon.h>
#include <wininet.h>

#include "base/wide_text_win.h"
#include "update/update_info.h"
#include "wingui/scoped_win.h"

namespace qr {

namespace {

// URLDownloadToFileW of "urlmon.dll", found at run time.
using UrlDownloadToFileFn = HRESULT(WINAPI*)(IUnknown*, LPCWSTR, LPCWSTR, DWORD,
                                             IBindStatusCallback*);

// The library is loaded at the first download from the system folder only (a
// "urlmon.dll" beside the program or in the working folder is never loaded), and kept
// for the rest of the run: under Wine a download after the library was unloaded and
// loaded again at times waits forever for its end. Null when it cannot be had.
UrlDownloadToFileFn UrlDownloadToFile() {
  static const UrlDownloadToFileFn download = []() -> UrlDownloadToFileFn {
    const HMODULE urlmon = LoadLibraryExW(L"urlmon.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const FARPROC proc = urlmon ? GetProcAddress(urlmon, "URLDownloadToFileW") : nullptr;
    return proc ? reinterpret_cast<UrlDownloadToFileFn>(reinterpret_cast<void (*)()>(proc))
                : nullptr;
  }();
  return download;
}

// Told of the download's progress, it stops the download (E_ABORT) as soon as the
// watch says so. It lives on the stack of the one synchronous download, so its
// reference count is not what keeps it alive.
class WatchingCallback final : public IBindStatusCallback {
 public:
  explicit WatchingCallback(std::uint64_t limit) : watch_(limit, GetTickCount64()) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IBindStatusCallback) {
      *out = static_cast<IBindStatusCallback*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG, ULONG status, LPCWSTR) override {
    const std::int64_t now = static_cast<std::int64_t>(GetTickCount64());
    // Only the data statuses count bytes; the others show that the download still runs.
    const bool data = status == BINDSTATUS_BEGINDOWNLOADDATA ||
                      status == BINDSTATUS_DOWNLOADINGDATA || status == BINDSTATUS_ENDDOWNLOADDATA;
    const bool go = data ? watch_.Arrived(progress, now) : watch_.StillWaiting(now);
    return go ? S_OK : E_ABORT;
  }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

 private:
  DownloadWatch watch_;
};

void FreeLocal(HLOCAL h) { LocalFree(h); }
using ScopedLocal = ScopedHandle<HLOCAL, FreeLocal>;

// The current user's security identifier in its text form ("S-1-5-21-..."); empty when
// it cannot be had.
std::wstring CurrentUserSid() {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
  const ScopedKernelHandle token(rawToken);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
    return {};
  }
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    return {};
  }
  const ScopedLocal owned(text);
  return text;
}

}  // namespace

std::int32_t DownloadWithinLimits(const std::string& address, const std::string& localPath,
                                  std::uint64_t limit) {
  HRESULT result = E_FAIL;
  if (const UrlDownloadToFileFn download = UrlDownloadToFile()) {
    // A copy kept by the system's web cache would hide a newer file on the site.
    DeleteUrlCacheEntryW(Wide(address).c_str());
    WatchingCallback callback(limit);
    result = download(nullptr, Wide(address).c_str(), Wide(localPath).c_str(), 0, &callback);
  }
  Sleep(1000);
  return static_cast<std::int32_t>(result);
}

bool CreatePrivateFolder(const std::string& path) {
  const std::wstring sid = CurrentUserSid();
  if (sid.empty()) return false;
  // Protected ("P"): no entries inherited from the folder around it; one entry giving the
  // user all rights, inherited by the files and folders made inside.
  const std::wstring descriptor = L"D:P(A;OICI;GA;;;" + sid + L")";
  PSECURITY_DESCRIPTOR raw = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor.c_str(), SDDL_REVISION_1,
                                                            &raw, nullptr)) {
    return false;
  }
  const ScopedLocal owned(raw);
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, raw, FALSE};
  return CreateDirectoryW(Wide(path).c_str(), &attributes) != FALSE;
}

void RemoveFolderWithFiles(const std::string& path) {
  const std::wstring folder = Wide(path);
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW found = {};
    struct Search {
      HANDLE handle;
      ~Search() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
      }
    };
    const Search find{FindFirstFileW((folder + L"*").c_str(), &found)};
    if (find.handle != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          const std::wstring file = folder + found.cFileName;
          SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(file.c_str());
        }
      } while (FindNextFileW(find.handle, &found));
    }
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace qr
