// qrdrive: runs one end-to-end scenario against the real program.
//
//   qrdrive SCENARIO.qrs DIST_FOLDER WORK_FOLDER
//
// Folders may be given as Unix paths (/x/y becomes Z:\x\y) so that CMake can pass
// its own. Exit code 0 when every step passed, 1 when a step failed, 2 when the
// scenario could not be read or the folders could not be prepared.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "driver_win.h"
#include "script.h"

namespace {

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: qrdrive SCENARIO.qrs DIST_FOLDER WORK_FOLDER\n");
    return 2;
  }
  const std::string script_path = WindowsPath(argv[1]);
  std::ifstream in(script_path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) {
    std::fprintf(stderr, "FAIL: cannot read scenario %s\n", script_path.c_str());
    return 2;
  }
  const qr::e2e::ParsedScript script = qr::e2e::ParseScript(text.str());
  if (!script.error.empty()) {
    std::fprintf(stderr, "FAIL: %s: %s\n", script_path.c_str(), script.error.c_str());
    return 2;
  }

  qr::e2e::Driver driver({WindowsPath(argv[2]), WindowsPath(argv[3])});
  std::string error;
  if (!driver.Prepare(&error)) {
    std::fprintf(stderr, "FAIL: %s\n", error.c_str());
    return 2;
  }
  std::printf("scenario %s\n", script_path.c_str());
  std::fflush(stdout);
  if (!driver.Run(script.commands, &error)) {
    std::fflush(stdout);
    std::fprintf(stderr, "FAIL: %s: %s\n", script_path.c_str(), error.c_str());
    const std::string shot = driver.SaveFailureScreenshot();
    if (!shot.empty()) std::fprintf(stderr, "screen at the failure: %s\n", shot.c_str());
    driver.StopProgram();
    return 1;
  }
  driver.StopProgram();
  std::printf("PASS\n");
  return 0;
}
