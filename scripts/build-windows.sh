#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Cross-builds the Windows version on Debian 12, runs its test suite under Wine on a private
# X display, and packs favorizer-<version>-windows-x64.zip in build/windows.
#
# Qt for Windows is built once from Debian's own qtbase source into
# ${XDG_CACHE_HOME:-$HOME/.cache}/favorizer and reused by later runs.
#
#   scripts/build-windows.sh            everything
#   scripts/build-windows.sh --qt-only  only make sure the Qt cache is there
set -euo pipefail
# shellcheck source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$FAVORIZER_ROOT"

qt_only=0
if [[ "${1:-}" == "--qt-only" ]]; then
    qt_only=1
fi

# Must match the host Qt from qt6-base-dev: its moc, rcc and uic generate code for the target Qt.
QT_VERSION=6.4.2
MINGW=x86_64-w64-mingw32
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 xvfb xdotool zip unzip dpkg-dev fonts-liberation2)
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/favorizer"
qt_prefix="$cache_root/qt-$QT_VERSION-mingw-w64-x86_64"
# The game controllers' library, from Debian's source too; Debian 12 has 2.26.5.
SDL_VERSION=2.26.5
sdl_prefix="$cache_root/sdl-$SDL_VERSION-mingw-w64-x86_64"
jobs="${FAVORIZER_JOBS:-2}"

ensure_packages "${FAVORIZER_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"

# Fetches a Debian source package's source and unpacks it, with Debian's patches, into a folder.
# The source comes from the machine's own Debian archives, named again as deb-src entries in a
# folder of the script's own, so the machine's apt configuration is left alone.
# fetch_debian_source PACKAGE VERSION_PREFIX INTO FOLDER_NAME
fetch_debian_source() {
    local package="$1" version="$2" into="$3" folder="$4" apt_dir file
    apt_dir="$(mktemp -d)"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"
    : >"$apt_dir/sources.list"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        if [[ -f "$file" ]]; then
            sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file" >>"$apt_dir/sources.list"
        fi
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        if [[ -f "$file" ]]; then
            sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt_dir/sources.list.d/${file##*/}"
        fi
    done
    local apt_options=(
        -o "Dir::Etc::sourcelist=$apt_dir/sources.list"
        -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
        -o "Dir::State::lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir"
        -o "Dir::Cache::archives=$apt_dir/archives" -o "Debug::NoLocking=1")
    # Everything apt writes goes to the private folder, so no root is needed.
    apt-get "${apt_options[@]}" update
    mkdir -p "$into"
    (cd "$into" && apt-get "${apt_options[@]}" source --download-only "$package=$(
        apt-cache "${apt_options[@]}" showsrc "$package" | sed -n 's/^Version: //p' | grep "^$version" | head -n 1
    )")
    local dsc
    dsc="$(find "$into" -maxdepth 1 -name "${package}_*.dsc" | head -n 1)"
    (cd "$into" && dpkg-source -x "$(basename "$dsc")" "$folder")
    rm -rf -- "$apt_dir"
}

build_qt() {
    if [[ -f "$qt_prefix/.complete" ]]; then
        echo "Qt $QT_VERSION for Windows: using the cache in $qt_prefix"
        return 0
    fi
    echo "Qt $QT_VERSION for Windows: building once into $qt_prefix (this takes a while)"
    local started=$SECONDS
    # An interrupted build goes on where it stopped.
    local work="$cache_root/qt-work"
    rm -rf -- "$qt_prefix"
    if [[ ! -f "$work/src/qtbase/CMakeLists.txt" ]]; then
        rm -rf -- "$work"
        fetch_debian_source qt6-base "$QT_VERSION" "$work/src" qtbase
    fi
    # The build keeps its toolchain's path, and an interrupted build may be resumed from another
    # checkout, so the toolchain lives beside the build.
    cp "$FAVORIZER_ROOT/cmake/mingw-w64-x86_64.cmake" "$work/mingw-w64-x86_64.cmake"
    # Only what the program and its tests use, optimised for size (which also builds fastest).
    cmake -S "$work/src/qtbase" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_opengl=OFF -DINPUT_opengl=no \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_tabletevent=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
        -DFEATURE_vulkan=OFF -DFEATURE_accessibility=OFF -DFEATURE_sessionmanager=OFF \
        -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF \
        -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF -DFEATURE_imageformat_ppm=OFF \
        -DFEATURE_imageformat_xbm=OFF -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF \
        -DFEATURE_undogroup=OFF -DFEATURE_undoview=OFF -DFEATURE_graphicsview=OFF \
        -DFEATURE_graphicseffect=OFF -DFEATURE_mdiarea=OFF -DFEATURE_calendarwidget=OFF \
        -DFEATURE_datetimeedit=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF \
        -DFEATURE_filedialog=OFF -DFEATURE_wizard=OFF -DFEATURE_columnview=OFF \
        -DFEATURE_dial=OFF -DFEATURE_lcdnumber=OFF -DFEATURE_syntaxhighlighter=OFF \
        -DFEATURE_textbrowser=OFF -DFEATURE_splashscreen=OFF -DFEATURE_toolbox=OFF \
        -DFEATURE_testlib=ON -DFEATURE_widgets=ON
    cmake --build "$work/build" --parallel "$jobs"
    cmake --install "$work/build"
    touch "$qt_prefix/.complete"
    rm -rf -- "$work"
    echo "Qt build took $((SECONDS - started)) s"
}

build_sdl() {
    if [[ -f "$sdl_prefix/.complete" ]]; then
        echo "SDL $SDL_VERSION for Windows: using the cache in $sdl_prefix"
        return 0
    fi
    echo "SDL $SDL_VERSION for Windows: building once into $sdl_prefix"
    local started=$SECONDS
    local work="$cache_root/sdl-work"
    rm -rf -- "$sdl_prefix" "$work"
    fetch_debian_source libsdl2 "$SDL_VERSION" "$work/src" sdl
    cp "$FAVORIZER_ROOT/cmake/mingw-w64-x86_64.cmake" "$work/mingw-w64-x86_64.cmake"
    # The game-controller layer alone. Video stays on: Windows' DirectInput needs SDL's helper
    # window.
    cmake -S "$work/src/sdl" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_INSTALL_PREFIX="$sdl_prefix" \
        -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
        -DSDL_AUDIO=OFF -DSDL_RENDER=OFF -DSDL_HAPTIC=OFF -DSDL_POWER=OFF -DSDL_SENSOR=OFF \
        -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF -DSDL_VIDEO=ON
    cmake --build "$work/build" --parallel "$jobs"
    cmake --install "$work/build"
    "$MINGW-strip" --strip-unneeded "$sdl_prefix/bin/SDL2.dll"
    touch "$sdl_prefix/.complete"
    rm -rf -- "$work"
    echo "SDL build took $((SECONDS - started)) s"
}

mkdir -p "$cache_root"
# One build at a time: a second run waits for the first instead of building Qt twice.
exec 9>"$cache_root/qt.lock"
flock 9
build_qt
build_sdl
flock -u 9
if ((qt_only)); then
    exit 0
fi

# --- The program and its tests, cross-built -------------------------------------------------

build_dir="$FAVORIZER_ROOT/build/windows"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
started=$SECONDS
cmake -S "$FAVORIZER_ROOT" -B "$build_dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$FAVORIZER_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt_prefix;$sdl_prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DFAVORIZER_BUILD_BENCH=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine"
cmake --build "$build_dir" --parallel "$jobs"
echo "Cross-build took $((SECONDS - started)) s"

# The run-time DLLs a Windows program needs, found by following its imports through Qt's and
# MinGW's folders; Windows' own DLLs are found in neither and left out.
runtime_dirs=("$qt_prefix/bin" "$sdl_prefix/bin"
    "$(dirname "$("$MINGW-g++-posix" -print-file-name=libstdc++-6.dll)")"
    "$(dirname "$("$MINGW-g++-posix" -print-file-name=libwinpthread-1.dll)")")
find_runtime_dll() {
    local dir
    for dir in "${runtime_dirs[@]}"; do
        if [[ -f "$dir/$1" ]]; then
            echo "$dir/$1"
            return 0
        fi
    done
    return 1
}
needed_dlls() {
    local -A seen=()
    local queue=("$@") file name found
    while ((${#queue[@]} > 0)); do
        file="${queue[0]}"
        queue=("${queue[@]:1}")
        while read -r name; do
            if [[ -z "${seen[$name]:-}" ]] && found="$(find_runtime_dll "$name")"; then
                seen[$name]=1
                echo "$found"
                queue+=("$found")
            fi
        done < <("$MINGW-objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
    done
}

# --- The test suite under Wine, on an X display of its own ----------------------------------

# Wine wants a display even for Qt's off-screen platform; the package test shows real windows
# on it, with no window manager, as on a cabinet.
scratch="$(mktemp -d "${TMPDIR:-/tmp}/favorizer-windows.XXXXXX")"
timeout=20
fail() {
    echo "error: $*" >&2
    exit 1
}
# shellcheck source=xvfb_session.sh
source "$FAVORIZER_ROOT/scripts/xvfb_session.sh"
stop_test_session() {
    if [[ -n "${WINEPREFIX:-}" ]]; then
        "$wineserver" -k 2>/dev/null || true
    fi
    stop_screen
    rm -rf -- "$scratch"
}
trap stop_test_session EXIT
start_screen 1280x1024x24 || fail "Xvfb did not start"

# A Wine prefix of the suite's own, made once and kept in the cache. No Mono or Gecko offers.
export WINEPREFIX="$cache_root/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# A server left running for this prefix would show the windows on its own display: one run at a
# time, with a server of its own.
exec 8>"$cache_root/wine.lock"
flock 8
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    if ! "$wine" wineboot --init >"$scratch/wineboot.log" 2>&1; then
        cat "$scratch/wineboot.log" >&2
        fail "cannot make the Wine prefix $WINEPREFIX"
    fi
    # wineboot returns before the prefix is written out: it is whole once the server has ended.
    "$wineserver" -w
    [[ -f "$WINEPREFIX/system.reg" ]] || fail "the Wine prefix $WINEPREFIX was not made"
fi
# One server for the whole run, so each test starts quickly. Wine's own background programs are
# started now, away from the tests' output: started by a test they would keep its output open,
# and CTest would wait for them.
"$wineserver" -p || fail "cannot start a Wine server for $WINEPREFIX"
"$wine" wineboot </dev/null >/dev/null 2>&1
# With no window manager on the display, Wine gives its windows the keyboard itself, as Windows
# does, only when it does not leave them to a window manager.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
windows_path() {
    echo "Z:${1//\//\\}"
}
WINEPATH=""
for dir in "${runtime_dirs[@]}"; do
    WINEPATH+="${WINEPATH:+;}$(windows_path "$dir")"
done
export WINEPATH

started=$SECONDS
# A failed test runs once more: Wine sometimes takes tens of seconds to end a killed process,
# which the single-copy test's takeover step then meets. A second failure fails the run.
ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs" --timeout 300 \
    --repeat until-pass:2
echo "Windows suite took $((SECONDS - started)) s"

# --- The package ----------------------------------------------------------------------------

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
package="favorizer-$version-windows-x64"
# Every version unzips into the same folder, so a newer one unzipped over an older one keeps the
# settings and log beside the program.
staging="$build_dir/package/favorizer"
rm -rf -- "$build_dir/package"
mkdir -p "$staging/platforms"
cp "$build_dir/favorizer.exe" "$staging/"
cp "$qt_prefix/plugins/platforms/qwindows.dll" "$staging/platforms/"
# The licence of the face built into the program, its lines ended the Windows way.
sed 's/$/\r/' "$FAVORIZER_ROOT/packaging/LiberationSans-LICENSE.txt" >"$staging/LiberationSans-LICENSE.txt"
while read -r dll; do
    cp "$dll" "$staging/"
done < <(needed_dlls "$build_dir/favorizer.exe" "$qt_prefix/plugins/platforms/qwindows.dll" | sort -u)
"$MINGW-strip" --strip-unneeded "$staging"/*.exe "$staging"/*.dll "$staging"/platforms/*.dll
rm -f -- "$build_dir/$package.zip"
(cd "$build_dir/package" && zip -q -r -9 "../$package.zip" favorizer)
echo "Package: $build_dir/$package.zip ($(du -k "$build_dir/$package.zip" | cut -f1) KiB)"
(cd "$build_dir/package" && find favorizer -type f | sort)

# --- The package as a cabinet owner uses it -------------------------------------------------

# Without the build's search path, so only what the zip holds is found.
started=$SECONDS
WINE="$wine" env -u WINEPATH bash "$FAVORIZER_ROOT/tests/wine/package_test.sh" \
    "$build_dir/$package.zip" "$FAVORIZER_ROOT/demo/cabinet"
echo "Package test took $((SECONDS - started)) s"
