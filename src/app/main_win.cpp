// The program's entry point. QR_UPDATE_SITE, the web site the update check asks (scheme
// and host), is set for this file alone by the build: the release program and the
// tests' copy, which asks a local web site, compile it each with their own.
#include "app/program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return qr::RunProgram(instance, QR_UPDATE_SITE);
}
