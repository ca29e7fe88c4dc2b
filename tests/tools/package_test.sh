#!/usr/bin/env bash
# The program as a package: builds the .deb from the build folder and checks
# what it holds and depends on, validates the desktop entry and AppStream
# metainfo, installs into a temporary root with DESTDIR and runs
# loadcalc-cli from there, on the installed sample and on the workbook an
# installed copy keeps in the user's data folder.
#
#   tests/tools/package_test.sh BUILDDIR
#
# Everything happens in a folder of its own under BUILDDIR, removed at the
# end. An installed copy's folder (<root>/usr/bin) is not the program's to
# write even for root, who runs CI: the sample workbook at
# <root>/usr/share/loadcalc marks it as installed, so the user-data-folder
# fallback is exercised as root too. Exits 77 when a Debian tool it needs is
# missing (tools/install-deps.sh installs them), 1 on the first failed check.
set -euo pipefail

build=$(cd "${1:?usage: tests/tools/package_test.sh BUILDDIR}" && pwd)
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "package test: $tool is not installed; nothing checked." >&2; exit 77; }
done

work=$(mktemp -d "$build/package-test-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }
workbook=电气计算.xls

# --- the package ----------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
debs=("$work"/cpack/loadcalc_*.deb)
[ -f "${debs[0]}" ] || fail "no loadcalc_*.deb in $work/cpack"
deb=${debs[0]}

# Without Qt the build has no dialog: then only the command-line tools and
# the sample are packaged.
gui_files=() gui_packages=()
if [ -x "$build/bin/loadcalc" ]; then
  gui_files=(./usr/bin/loadcalc ./usr/share/applications/loadcalc.desktop
    ./usr/share/metainfo/io.github.volmira.loadcalc.metainfo.xml
    ./usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/loadcalc.png)
  gui_packages=(libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-arphic-uming)
fi

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for file in ./usr/bin/loadcalc-cli ./usr/bin/xls-dump "./usr/share/loadcalc/$workbook" \
  ./usr/share/man/man1/loadcalc-cli.1.gz "${gui_files[@]}"; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
if grep -v '^\./usr/' <<<"$contents" | grep -qv '^\./$'; then
  fail "the package installs outside /usr: $(grep -v '^\./usr/' <<<"$contents" | grep -v '^\./$' | head -n 3)"
fi

depends=$(dpkg-deb --field "$deb" Depends)
for package in libc6 libstdc\\+\\+6 "${gui_packages[@]}"; do
  grep -Eq "(^|, )$package[a-z0-9]*( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
if grep -Eq -- '-dev\b|cmake|g\+\+|gtest|googletest|benchmark|xvfb|xdotool|python3' <<<"$depends"; then
  fail "Depends names a package only the build needs: $depends"
fi

# The packaged (stripped) programs run.
dpkg-deb -x "$deb" "$work/unpacked"
"$work/unpacked/usr/bin/loadcalc-cli" --workbook "$work/unpacked/usr/share/loadcalc/$workbook" --json \
  >"$work/unpacked.json" || fail "the packaged loadcalc-cli failed on the packaged sample"

# --- installed into a temporary root ---------------------------------------
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install into $root failed"; }

if [ ${#gui_files[@]} -gt 0 ]; then
  desktop-file-validate "$root/usr/share/applications/loadcalc.desktop" ||
    fail "desktop-file-validate rejects loadcalc.desktop"
  appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.volmira.loadcalc.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo"
  grep -q '^Exec=loadcalc %f$' "$root/usr/share/applications/loadcalc.desktop" ||
    fail "the desktop entry does not start loadcalc with the file"
  for size in 16x16 32x32 48x48 256x256; do
    head -c 4 "$root/usr/share/icons/hicolor/$size/apps/loadcalc.png" | grep -q PNG || fail "the $size icon is not a PNG"
  done
fi

# The man page answers every option of --help.
man_page=$(gzip -dc "$root/usr/share/man/man1/loadcalc-cli.1.gz")
for option in $("$root/usr/bin/loadcalc-cli" --help | grep -Eo -- '--[a-z-]+' | sort -u); do
  grep -qF -- "$(sed 's/-/\\-/g' <<<"$option")" <<<"$man_page" || fail "the man page does not describe $option"
done

cli=$root/usr/bin/loadcalc-cli
sample=$root/usr/share/loadcalc/$workbook
"$cli" --workbook "$sample" --json >"$work/sample.json" || fail "loadcalc-cli --workbook <sample> --json failed"
grep -q '"rows":\[\[' "$work/sample.json" || fail "no circuits from the installed sample: $(head -c 300 "$work/sample.json")"

# --- the workbook's home for an installed copy -----------------------------
# No workbook beside the program: the sample is copied into the user's data
# folder on first start and read from there; the program's folder gains
# nothing.
mkdir -p "$work/home"
env -u XDG_DATA_HOME HOME="$work/home" "$cli" --json >"$work/home.json" 2>"$work/home.err" ||
  { cat "$work/home.err" >&2; fail "the installed loadcalc-cli found no workbook of its own"; }
[ -f "$work/home/.local/share/loadcalc/$workbook" ] || fail "no workbook in ~/.local/share/loadcalc after the first start"
cmp -s "$work/sample.json" "$work/home.json" || fail "the user's copy of the sample gives other results"
[ ! -e "$root/usr/bin/$workbook" ] || fail "the installed copy wrote its workbook into its own folder"
XDG_DATA_HOME="$work/data" "$cli" --json >/dev/null 2>&1 || fail "loadcalc-cli failed with XDG_DATA_HOME set"
[ -f "$work/data/loadcalc/$workbook" ] || fail "XDG_DATA_HOME/loadcalc holds no workbook after the first start"

# The user's own workbook stays the user's: a later start does not replace
# it, even when it cannot be read.
echo "not a workbook" >"$work/data/loadcalc/$workbook"
XDG_DATA_HOME="$work/data" "$cli" --json >/dev/null 2>&1 && fail "loadcalc-cli read a file that is not a workbook"
[ "$(cat "$work/data/loadcalc/$workbook")" = "not a workbook" ] || fail "a later start replaced the user's workbook"
echo "package test: $(basename "$deb") checked"
