// The program's entry point. QR_UPDATE_SITE, the web site the update check asks (scheme
// and host), and QR_UPDATE_PUBLIC_KEY, the key its installers must be signed with, are
// set for this file alone by the build: the release program and the tests' copy, which
// asks a local web site and trusts the tests' key, compile it each with their own.
#include "app/program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return qr::RunProgram(instance, QR_UPDATE_SITE, QR_UPDATE_PUBLIC_KEY);
}
