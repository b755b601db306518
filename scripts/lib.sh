# Shared by the scripts: install what is missing, configure and build.

# Installs the Debian packages among "$@" that are not installed yet.
ensure_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "${missing[@]}"
}

# What the native build and its tests need (dpkg-dev reads the Debian package's
# dependencies, abigail-tools the library's ABI).
ensure_build_packages() {
  ensure_packages cmake ninja-build g++ make binutils libgtest-dev libbenchmark-dev libcurl4-openssl-dev \
    libxml2-dev libsqlite3-dev nlohmann-json3-dev openssl ca-certificates python3 dpkg-dev abigail-tools
  command -v node >/dev/null || ensure_packages nodejs
  # npm installs the pinned TypeScript that checks the sample pages.
  command -v npm >/dev/null || ensure_packages npm
}

# What the Windows cross build and its tests under wine need.
ensure_windows_packages() {
  # clang and lld build the stand-in browser library and a consumer in
  # Microsoft's C++ ABI; llvm's dlltool makes that consumer's import library.
  ensure_packages g++-mingw-w64-x86-64-posix wine64 googletest clang-16 lld-16 llvm-16
}

# What the browser libraries need (WebKitGTK; Qt WebEngine, whose Chromium
# draws with Mesa's GL), and a virtual display for their tests.
ensure_browser_packages() {
  ensure_packages pkgconf libwebkit2gtk-4.1-dev qt6-webengine-dev qt6-webchannel-dev libgl-dev libgl1-mesa-dri \
    xvfb xauth
}

# configure_and_build PRESET: configures and builds one of CMakePresets.json.
configure_and_build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}
