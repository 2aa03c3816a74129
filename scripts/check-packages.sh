#!/usr/bin/env bash
# Builds the two packages and checks them as the people who install them meet them:
# - the Debian package (build-deb/packages/), built with Debian's hardening flags, passes lintian
#   (no hardening notes either), desktop-file-validate and appstreamcli, installs with dpkg -i,
#   runs from /usr/bin, and leaves no file behind once purged;
# - the Windows installer (build-win/Quenbrook-<version>.msi) installs silently under wine in a
#   fresh prefix, the installed Quenbrook.exe opens step 1, a rebuilt package of the same version
#   and then one of the next version (which differs only in the fourth part) each replace the
#   installed one, leaving one uninstall entry with its install folder, the older package is
#   refused, and the silent removal leaves neither files nor the uninstall entry.
# Installs the package on this machine, so it runs as root (or with sudo), as CI does.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
fail() {
  echo "check-packages: $*" >&2
  exit 1
}
version=$(sed -n 's/^project(Quenbrook VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
step1="Step 1 - Select or create a project folder"

# The Windows half runs on a virtual display; the script calls itself there with the package,
# a rebuild of it (same version, new product and package codes) and a package of the next
# version, which differs from it only in the fourth part.
if [ "${1:-}" = --windows-on-display ]; then
  msi=$2 rebuilt=$3 next=$4 next_version=$5
  # A fresh prefix, so that nothing of an earlier run counts.
  export WINEPREFIX="$PWD/build-win/installprefix"
  source scripts/wine-env.sh
  c="$WINEPREFIX/drive_c"
  uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
  exe="$c/Program Files/Quenbrook/Quenbrook.exe"
  qb_wine_stop
  rm -rf "$WINEPREFIX"
  # Whatever fails, no wine process of this prefix outlives the check.
  trap qb_wine_stop EXIT
  qb_wine_prefix
  files() { find "$c" -type f -o -type l | sort; }
  files >"$WINEPREFIX/before.txt"

  # The product codes of the uninstall entries named Quenbrook, one a line.
  entries() {
    wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' |
      awk '/^HKEY/ { key = $0 } /^ +DisplayName +REG_SZ +Quenbrook$/ { print key }' |
      grep -o '{[0-9A-F-]*}$' || true
  }
  # Installs the package $1 of version $2, and checks it is now the one Quenbrook in the list of
  # programs, in place of the one installed before; sets key to its product code. The entry
  # shows the MSI's version, a.b.(c*1000+d) (packaging/windows/msi.cmake).
  install() {
    local previous=${key:-} major minor build revision
    IFS=. read -r major minor build revision <<<"$2"
    wine msiexec /i "$(winepath -w "$1")" /qn || fail "msiexec /i $1 failed: $?"
    wineserver -w
    cmp -s "$exe" build-win/Quenbrook.exe || fail "Quenbrook.exe is not under Program Files"
    key=$(entries)
    [ -n "$key" ] || fail "no uninstall entry named Quenbrook"
    [ "$(wc -l <<<"$key")" -eq 1 ] ||
      fail "$(wc -l <<<"$key") uninstall entries named Quenbrook after $1:"$'\n'"$key"
    [ "$key" != "$previous" ] || fail "$1 left the package installed before it in place"
    entry=$(wine reg query "$uninstall\\$key" 2>/dev/null | tr -d '\r')
    for value in "DisplayName +REG_SZ +Quenbrook$" \
      "DisplayVersion +REG_SZ +$major.$minor.$((build * 1000 + revision))$" \
      "Publisher +REG_SZ +The Quenbrook developers$" \
      "UninstallString +REG_EXPAND_SZ +MsiExec.exe /X$key$" \
      'InstallLocation +REG_SZ +C:\\Program Files\\Quenbrook\\$'; do
      grep -Eq "^ +$value" <<<"$entry" || fail "the uninstall entry lacks $value:"$'\n'"$entry"
    done
    [ -f "$c/windows/Installer/$key/Quenbrook.ico" ] || fail "the uninstall entry has no icon"
  }

  install "$msi" "$version"
  # Windows puts a per-machine shortcut in the common Start menu; wine 8 resolves the
  # Start-menu folder to the user's one even then, so either counts here.
  link=$(find "$c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
    "$c"/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs -name Quenbrook.lnk)
  [ -n "$link" ] || fail "no Start-menu entry"
  strings -e l "$link" | grep -q 'Quenbrook\.ico' || fail "the Start-menu entry has no icon"
  echo "check-packages: installed $key under C:\\Program Files\\Quenbrook"

  # The installed program opens step 1; Alt+F4 closes it, which ends the program.
  wine "C:\\Program Files\\Quenbrook\\Quenbrook.exe" &
  program=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$step1$" | head -1) ||
    fail "the installed Quenbrook.exe showed no window \"$step1\""
  xdotool windowfocus --sync "$window" key alt+F4
  timeout 30 tail --pid=$program -f /dev/null || fail "Quenbrook.exe did not end after Alt+F4"
  wait $program || fail "Quenbrook.exe ended with status $?"
  echo "check-packages: the installed Quenbrook.exe opened \"$step1\" and closed"

  install "$rebuilt" "$version"
  echo "check-packages: a rebuilt $version package replaced it: $key"
  install "$next" "$next_version"
  echo "check-packages: the $next_version package replaced that: $key"
  wine msiexec /i "$(winepath -w "$msi")" /qn &&
    fail "the $version package installed over $next_version"
  wineserver -w
  [ "$(entries)" = "$key" ] || fail "the refused $version package changed the list of programs"
  echo "check-packages: the $version package refused to replace $next_version"

  wine msiexec /x "$key" /qn || fail "msiexec /x failed: $?"
  wineserver -w
  files >"$WINEPREFIX/after.txt"
  left=$(comm -13 "$WINEPREFIX/before.txt" "$WINEPREFIX/after.txt")
  [ -z "$left" ] || fail "the removal left files behind:"$'\n'"$left"
  [ ! -e "$c/Program Files/Quenbrook" ] || fail "the removal left C:\\Program Files\\Quenbrook"
  [ -z "$(entries)" ] || fail "the removal left an uninstall entry named Quenbrook"
  echo "check-packages: the silent removal left no file and no uninstall entry"
  exit 0
fi

scripts/setup-debian.sh lintian desktop-file-utils appstream wixl msitools mingw-w64 wine wine64 \
  xvfb xauth xdotool

# The Debian package, from a build of its own with Debian's flags as dpkg-buildflags gives them,
# hardening included (bindnow is only given with hardening=+all), so the test build keeps its
# own. The build type None adds nothing to them, as Debian's own CMake builds do.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=None -DQUENBROOK_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build-deb -j2 --target quenbrook package_docs
rm -rf build-deb/packages
(cd build-deb && cpack >/dev/null)
deb=build-deb/packages/quenbrook_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"
echo "check-packages: $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb --info "$deb" | sed -n 's/^ \(Depends\|Recommends\):/\1:/p'
[ "$(dpkg-deb --field "$deb" Recommends)" = "qt6-wayland, qt6-translations-l10n" ] ||
  fail "the package does not recommend qt6-wayland and Qt's translations"
contents=$(dpkg-deb --contents "$deb")
grep -q '/usr/share/locale/de/LC_MESSAGES/quenbrook.mo$' <<<"$contents" ||
  fail "the package has no German catalogue"
echo "$contents"

# lintian says it would rather not run as root; everything else it says is checked, and of its
# notes, those on hardening fail the check too.
notes=$(lintian --fail-on error,warning --display-info --pedantic "$deb" \
  2> >(grep -v 'root privileges' >&2)) || fail "lintian failed:"$'\n'"$notes"
echo "$notes"
! grep -q hardening- <<<"$notes" || fail "the program is built without some of Debian's hardening"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate-tree --pedantic --no-net "$root"
echo "check-packages: lintian, desktop-file-validate and appstreamcli passed"

owned=$(dpkg-deb --contents "$deb" | awk '{print substr($6, 2)}' | grep -v '/$')
$sudo dpkg -i "$deb" >/dev/null
[ "$(/usr/bin/quenbrook --version)" = "Quenbrook $version" ] || fail "/usr/bin/quenbrook --version"
$sudo dpkg --purge quenbrook >/dev/null
for file in $owned; do
  [ ! -e "$file" ] || fail "the removal left $file"
done
[ ! -e /usr/share/doc/quenbrook ] || fail "the removal left /usr/share/doc/quenbrook"
echo "check-packages: installed, ran /usr/bin/quenbrook --version, purged without a trace"

# The Windows installer, from the Windows build.
cmake --preset mingw >/dev/null
cmake --build build-win --target msi
msi=build-win/Quenbrook-$version.msi
echo "check-packages: $msi ($(stat -c %s "$msi") bytes)"
# Quenbrook.exe is a versioned file, replaced by its version: the File table has the version
# block's, and the hash table, for files without one, has no row for it.
msiinfo export "$msi" File | grep -qP "^Quenbrook\.exe\tProgram\tQuenbrook\.exe\t\d+\t$version\t1033\t" ||
  fail "the File table lacks Quenbrook.exe's version: $(msiinfo export "$msi" File | tail -n1)"
! msiinfo export "$msi" MsiFileHash | grep -q '^Quenbrook\.exe' || fail "Quenbrook.exe has a hash"
# A rebuild of the same version and the next release, made from the same sources in a scratch
# folder, the way the msi target makes the package.
scratch=$PWD/build-win/msi-check
next_version=${version%.*}.$((${version##*.} + 1))
rm -rf "$scratch"
mkdir "$scratch"
make_msi() {
  (cd build-win && cmake "-DVersion=$1" "-DPublisher=The Quenbrook developers" -DExe=Quenbrook.exe \
    -DIcon=Quenbrook.ico "-DOutput=$2" -P ../packaging/windows/msi.cmake)
}
make_msi "$version" "$scratch/Quenbrook-$version-rebuilt.msi"
make_msi "$next_version" "$scratch/Quenbrook-$next_version.msi"
xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --windows-on-display "$msi" \
  "$scratch/Quenbrook-$version-rebuilt.msi" "$scratch/Quenbrook-$next_version.msi" "$next_version"
echo "check-packages: both packages passed"
