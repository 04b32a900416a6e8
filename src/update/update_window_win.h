// The update check in its "Checking for Updates" progress window, run from
// Help > Check for Updates and from the start-up question.
#pragma once

#include <windows.h>

#include <string>

#include "update/update_flow.h"

namespace qr {

// Control numbers inside the "Checking for Updates" window.
inline constexpr int kUpdateProgressBarId = 101;
inline constexpr int kUpdateStatusId = 102;  // the newest status label
inline constexpr int kUpdateCountdownId = 103;
inline constexpr char kUpdateWindowClass[] = "QuarraneUpdateWindow";

// Runs the update check against the web site `site` (scheme and host) in a progress
// window whose outer top-left corner is `corner` and whose inner size is 400 x 100; an
// installer is started only with a signature by `publicKey`. The "up to date" and
// "could not be verified" messages are owned by `owner`. After kFailed the window stays
// open with the error for the user to close; after kInstallerStarted the caller must
// end the program without saving the book settings.
UpdateOutcome RunUpdateCheck(HINSTANCE instance, HWND owner, WindowCorner corner,
                             const std::string& version, const std::string& site,
                             const EcdsaPublicKey& publicKey);

}  // namespace qr
