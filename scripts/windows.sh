#!/usr/bin/env bash
# Builds Voxmere for 64-bit Windows on this Debian machine and packages it:
#   build-windows/voxmere-<version>-win64.zip and build-windows/voxmere-<version>-win64-setup.exe
# Installs what is missing from Debian's packages (mingw-w64, Wine, NSIS), builds SDL2 for
# Windows from Debian's own SDL2 source package once (cached outside the clone, keyed by its
# version, the same version the Linux build uses), and copies the art and sound from a Linux
# build's generator, which is not cross-built (it needs FreeType).
#
#   scripts/windows.sh [--linux-build DIR] [--no-packages]
# DIR is a configured Linux build whose voxmere-assets output is used (made there when missing);
# by default build/, configured as a Release build when absent.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux_build=$root/build
packages=1
while (($#)); do
    case $1 in
        --linux-build) linux_build=$2; shift 2 ;;
        --no-packages) packages=0; shift ;;
        *) echo "usage: $0 [--linux-build DIR] [--no-packages]" >&2; exit 2 ;;
    esac
done
jobs=$(nproc)
win_build=$root/build-windows
triplet=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake

install_missing() {
    local missing=() package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# The Linux build's packages, then the cross compiler (posix threads), Wine to run the tests,
# NSIS for the installer, dpkg-dev to unpack Debian's source package, unzip for the zip's test.
"$root/scripts/install-deps.sh"
wine_arch=$(dpkg --print-architecture)
install_missing g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    wine wine64 "libwine:$wine_arch" nsis dpkg-dev unzip xvfb xauth

# SDL2 for Windows, built from the source of the SDL2 the Linux build links.
sdl_version=$(dpkg-query -W -f='${Version}' libsdl2-dev)
sdl_source=$(dpkg-query -W -f='${source:Package}' libsdl2-dev)
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/voxmere
sdl_prefix=$cache_root/sdl2-$sdl_version-mingw64
mkdir -p "$cache_root"

# The system's Debian mirrors and suites, read from its own apt sources (deb822 or one-line),
# as deb-src lines for a private source list; the system's apt setup is left as it is.
system_source_lines() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [[ -f "$file" ]] || continue
        awk '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && uris != "" && suites != "") {
                    n = split(uris, u, " "); m = split(suites, s, " ")
                    for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
                        printf "deb-src%s %s %s %s\n", (key != "" ? " [signed-by=" key "]" : ""), u[i], s[j], comps
                }
                types = uris = suites = comps = key = ""
            }
            /^[ \t]*#/ {next}
            /^[ \t]*$/ {flush(); next}
            {
                field = tolower($1); sub(/:$/, "", field); $1 = ""; sub(/^ +/, "")
                if (field == "types") types = $0
                else if (field == "uris") uris = $0
                else if (field == "suites") suites = $0
                else if (field == "components") comps = $0
                else if (field == "signed-by") key = $0
                else if (field == "enabled" && tolower($0) == "no") types = ""
            }
            END {flush()}' "$file"
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f "$file" ]] || continue
        sed -n 's/^[ \t]*deb\([ \t]\)/deb-src\1/p' "$file"
    done
}

build_sdl2() {
    local work
    work=$(mktemp -d "$cache_root/sdl2-build.XXXXXX")
    local apt=$work/apt
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/etc/preferences.d" \
        "$apt/etc/apt.conf.d"
    system_source_lines | sort -u >"$apt/sources.list"
    if [[ ! -s "$apt/sources.list" ]]; then
        echo "windows.sh: no Debian sources found in /etc/apt to fetch SDL2's source from" >&2
        return 1
    fi
    local apt_options=(-o "Dir::Etc::SourceList=$apt/sources.list"
        -o "Dir::Etc::SourceParts=$apt/etc/none" -o "Dir::State::Lists=$apt/lists"
        -o "Dir::Cache=$apt/cache" -o "Dir::Etc::Preferences=$apt/etc/none"
        -o "Dir::Etc::PreferencesParts=$apt/etc/preferences.d" -o "APT::Sandbox::User=root"
        -o "Debug::NoLocking=1")
    echo "Fetching Debian's source of $sdl_source $sdl_version"
    apt-get "${apt_options[@]}" -q update >"$work/apt-update.log"
    (cd "$work" && apt-get "${apt_options[@]}" -q source "$sdl_source=$sdl_version" >apt-source.log)
    local src
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "$sdl_source-*" | head -n 1)
    [[ -n "$src" ]] || { echo "windows.sh: the SDL2 source did not unpack" >&2; return 1; }
    echo "Building SDL2 $sdl_version for Windows (a few minutes, once)"
    cmake -S "$src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$work/prefix" \
        -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF >"$work/configure.log"
    cmake --build "$work/build" -j"$jobs" >"$work/build.log"
    cmake --install "$work/build" >"$work/install.log"
    # Another engineer's build may have finished meanwhile: the first one stays.
    mv -T "$work/prefix" "$sdl_prefix" 2>/dev/null || true
    rm -rf "$work"
}

if [[ ! -f "$sdl_prefix/bin/SDL2.dll" ]]; then
    # One build at a time per cache, whoever starts it.
    exec 9>"$cache_root/sdl2.lock"
    flock 9
    [[ -f "$sdl_prefix/bin/SDL2.dll" ]] || build_sdl2
    flock -u 9
fi
echo "SDL2 for Windows: $sdl_prefix"

# The art and sound: the Linux generator's output, made where it is missing.
if [[ ! -f "$linux_build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$linux_build" -DCMAKE_BUILD_TYPE=Release -DVOXMERE_WERROR=ON \
        -DVOXMERE_UNITY_TESTS=ON
fi
cmake --build "$linux_build" -j"$jobs" --target assets

# The game, its tests and the packages.
cmake -S "$root" -B "$win_build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DSDL2_DIR="$sdl_prefix/lib/cmake/SDL2" -DVOXMERE_LINUX_ASSETS="$linux_build" \
    -DVOXMERE_WERROR=ON -DVOXMERE_UNITY_TESTS=ON -DVOXMERE_TEST_SHARDS=4 ${VOXMERE_WINDOWS_CMAKE_ARGS:-}
cmake --build "$win_build" -j"$jobs"
if ((packages)); then
    (cd "$win_build" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win_build/CMakeCache.txt")
    ls -l "$win_build/voxmere-$version-win64.zip" "$win_build/voxmere-$version-win64-setup.exe"
fi
