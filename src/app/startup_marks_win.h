// Marks at the steps of start-up, for the timing build only. A build with QR_STARTUP_MARKS
// defined (bench/win builds the program so) records the performance counter at each mark
// and, once start-up is over, appends "<step> <counter>" lines to the file named by the
// environment variable QR_STARTUP_MARKS_FILE, for startup_timer to set against the moment
// it started the process. In every other build both functions do nothing.
#pragma once

namespace qr {

// Records that start-up reached `step` (a fixed text without blanks).
void StartupMark(const char* step);

// Writes the marks recorded so far, once; later calls do nothing.
void WriteStartupMarks();

// Whether marks are recorded and not written yet (never outside the timing build).
bool StartupMarksPending();

}  // namespace qr
