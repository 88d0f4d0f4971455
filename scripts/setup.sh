# Shared by scripts/run and scripts/test: installs the Debian packages that
# are missing, makes sure the Spanish locale exists, and builds into build/.
# Every step is skipped when already done.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and running need: the core, the command line, the window (Qt
# with its Spanish texts, and the free twin of the Arial font), the help
# viewer (chmlib) and the help file's compiler (chmcmd, of fp-utils).
BUILD_PACKAGES=(g++ cmake make pkg-config libxml2-dev libcli11-dev locales
                qt6-base-dev qt6-translations-l10n fonts-liberation libchm-dev fp-utils)
# What the tests need besides: GoogleTest; the dBase readers and writers of
# other programs that the tables are checked against; an X server and the
# tools that drive the window as a person would.
TEST_PACKAGES=(googletest libgtest-dev libgmock-dev python3 python3-dbfread python3-dbf gdal-bin pgdbf
               xvfb x11-utils xdotool)

# What the sanitizer build and the fuzzers need: clang and its run-time
# libraries (libFuzzer, the sanitizers).
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
  done
  if ((${#missing[@]})); then
    echo "Instalando: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# The tests read numbers under Spanish regional settings.
ensure_spanish_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
    as_root sed -i 's/^# *\(es_ES.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^es_ES.UTF-8 UTF-8' /etc/locale.gen || echo 'es_ES.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen
  fi
}

build() {
  cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$ROOT/build" -j"$(nproc)"
}

# The core and the command line with AddressSanitizer and
# UndefinedBehaviorSanitizer, into build-asan/ (no window: Qt is not built).
build_sanitized() {
  cmake -S "$ROOT" -B "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRANSVORMOS_SANITIZE=ON \
    -DTRANSVORMOS_BUILD_APP=OFF -DTRANSVORMOS_BUILD_TESTS=ON
  cmake --build "$ROOT/build-asan" -j"$(nproc)"
}

# The suites whose code runs on more than one thread (the services and the
# conversion) with ThreadSanitizer, into build-tsan/.
build_thread_sanitized() {
  cmake -S "$ROOT" -B "$ROOT/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRANSVORMOS_SANITIZE_THREADS=ON \
    -DTRANSVORMOS_BUILD_APP=OFF -DTRANSVORMOS_BUILD_TESTS=ON
  cmake --build "$ROOT/build-tsan" -j"$(nproc)" --target services_test sigad_to_timetable_test
}

# The libFuzzer targets, built with clang into build-fuzz/.
build_fuzzers() {
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTRANSVORMOS_FUZZ=ON -DTRANSVORMOS_BUILD_APP=OFF -DTRANSVORMOS_BUILD_TESTS=OFF
  cmake --build "$ROOT/build-fuzz" -j"$(nproc)" --target dbf_reader_fuzz number_rules_fuzz conversion_fuzz export_fuzz
}
