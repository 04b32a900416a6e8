# Shared set-up for scripts/test, scripts/run and scripts/bench: installs what is
# missing, builds the trees, and starts (and later stops) the services the program
# needs here: the CUPS scheduler with a PDF printer, an X display, a Wine prefix.
# Source it; it defines functions and changes nothing by itself.

QR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QR_BUILD=${QR_BUILD:-$QR_ROOT/build}
QR_WINE=/usr/lib/wine/wine64
QR_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
  libbenchmark-dev g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nasm dpkg-dev wine wine64 xvfb
  xauth x11-utils cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils imagemagick
  fonts-liberation2 nsis nodejs npm libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  python3)
_qr_started=()

qr_log() { echo "== $*" >&2; }

# Installs every missing package (and the deb-src entry the dependency build needs).
qr_install_packages() {
  local missing=() p src=/etc/apt/sources.list.d/debian-src.sources
  for p in "${QR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  # nodejs from another repository may bundle npm.
  if [[ " ${missing[*]} " == *" npm "* ]] && command -v npm >/dev/null; then
    missing=("${missing[@]/npm}")
  fi
  local need_update=0
  if [[ ! -f $src ]] && ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ &&
     ! grep -qs '^deb-src' /etc/apt/sources.list; then
    cat >"$src" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    need_update=1
  fi
  missing=($(printf '%s\n' "${missing[@]}" | grep -v '^$' || true))
  if ((${#missing[@]})) || ((need_update)); then
    qr_log "installing: ${missing[*]:-(source index only)}"
    apt-get update -q >/dev/null
    ((${#missing[@]})) && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      "${missing[@]}" >/dev/null
  fi
  return 0
}

# Builds the dependencies, the Windows tree (program folder: build/dist) and, unless
# QR_SKIP_NATIVE=1, the native tree of the platform-free code.
qr_build() {
  local type=${QR_BUILD_TYPE:-Release} jobs
  jobs=$(nproc)
  "$QR_ROOT/scripts/build-deps" "$QR_BUILD/deps"
  qr_log "building Windows tree"
  cmake -S "$QR_ROOT" -B "$QR_BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
    -DCMAKE_TOOLCHAIN_FILE="$QR_ROOT/cmake/mingw-w64-wine.cmake" \
    -DCMAKE_PREFIX_PATH="$QR_BUILD/deps" -DQR_DIST_DIR="$QR_BUILD/dist" \
    ${QR_WIN_CMAKE_ARGS:-} >/dev/null
  cmake --build "$QR_BUILD/win" -j"$jobs"
  if [[ ${QR_SKIP_NATIVE:-0} != 1 ]]; then
    qr_log "building native tree"
    cmake -S "$QR_ROOT" -B "$QR_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$QR_BUILD/native" -j"$jobs"
  fi
}

# Starts cupsd when it is not running and makes sure the PDF printer exists and is the
# default. A second PDF printer, "PDF-Envelopes", offers every envelope size the program
# has (scripts/envelope-ppd); the envelope size tests print on it. The third, "PDF-Margins",
# is the same with a quarter inch of unprintable margin on every side.
qr_start_cups() {
  if ! pgrep -x cupsd >/dev/null; then
    /usr/sbin/cupsd
    _qr_started+=(cupsd)
    local i
    for i in $(seq 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
  fi
  lpadmin -d PDF 2>/dev/null
  lpstat -p PDF >/dev/null 2>&1 || { echo "the CUPS PDF printer could not be set up" >&2; return 1; }
  _qr_add_envelope_printer PDF-Envelopes || return 1
  _qr_add_envelope_printer PDF-Margins --margin 18
}

# Adds the cups-pdf printer $1 whose description is scripts/envelope-ppd's with the
# further arguments, unless it exists.
_qr_add_envelope_printer() {
  local name=$1 ppd
  shift
  if ! lpstat -p "$name" >/dev/null 2>&1; then
    ppd=$(mktemp --suffix=.ppd)
    "$QR_ROOT/scripts/envelope-ppd" "$@" >"$ppd" &&
      lpadmin -p "$name" -E -v cups-pdf:/ -P "$ppd" 2>/dev/null
    rm -f "$ppd"
  fi
  lpstat -p "$name" >/dev/null 2>&1 ||
    { echo "the CUPS printer $name could not be set up" >&2; return 1; }
}

# Starts Xvfb on a free display and exports DISPLAY.
qr_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QR_XVFB_PID=$!
    local i
    for i in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
    if kill -0 "$QR_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      _qr_started+=(xvfb)
      return 0
    fi
  done
  echo "no free X display" >&2
  return 1
}

# Makes a fresh Wine prefix in $1 with fixed font replacements, so text measures the same
# on every run, and exports WINEPREFIX.
qr_make_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  rm -rf "$WINEPREFIX"
  "$QR_WINE" wineboot -i >/dev/null 2>&1
  local key='HKCU\Software\Wine\Fonts\Replacements'
  "$QR_WINE" reg add "$key" /v "Arial" /d "Liberation Sans" /f >/dev/null 2>&1
  "$QR_WINE" reg add "$key" /v "Times New Roman" /d "Liberation Serif" /f >/dev/null 2>&1
  "$QR_WINE" reg add "$key" /v "Courier New" /d "Liberation Mono" /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  _qr_started+=(wineprefix)
}

# Stops what this script started.
qr_stop_services() {
  local s
  for s in "${_qr_started[@]}"; do
    case $s in
      wineprefix) /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" ;;
      xvfb) kill "$QR_XVFB_PID" 2>/dev/null || true ;;
      cupsd) pkill -x cupsd 2>/dev/null || true ;;
    esac
  done
  _qr_started=()
}
