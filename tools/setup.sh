# Shared by ./run and ./test: installs what is missing, then configures and builds.
# Sourced, with BUILD_DIR set by the caller.

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev
          libgtest-dev libbenchmark-dev libgif-dev libzip-dev xvfb xauth fonts-arphic-uming
          libxkbcommon-dev ccache xdotool imagemagick python3 clang libclang-rt-14-dev
          desktop-file-utils librsvg2-bin dpkg-dev file
          libfluidsynth-dev timgm6mb-soundfont python3-mido poppler-utils
          qt6-translations-l10n)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
      --no-install-recommends "${missing[@]}"
  fi
}

configure_and_build() {
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  # A configure that stopped half way (say, before the packages were in) leaves a cache but no
  # build files; its cache may name another generator, so it starts again from nothing.
  if [ ! -f "$BUILD_DIR/build.ninja" ] && [ ! -f "$BUILD_DIR/Makefile" ]; then
    rm -rf "$BUILD_DIR/CMakeCache.txt" "$BUILD_DIR/CMakeFiles"
    cmake -S . -B "$BUILD_DIR" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
