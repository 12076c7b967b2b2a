#!/usr/bin/env bash
# The installed layout works: `cmake --install` of the build folder into a staging folder, then the
# installed lumictl drives an emulated daisy chain whose COM port it learns only from the QVXCtrlEnv.ini in
# the installed share/lumivane, and reads the model names there. Also checks the system files.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
stage=$(mktemp -d)
trap 'kill "${sim:-}" 2>/dev/null || true; rm -rf "$stage"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

DESTDIR=$stage/root cmake --install "$build" --prefix /usr >/dev/null
prefix=$stage/root/usr
libdir=$(dirname "$(find "$prefix/lib" -name 'libcorvalink.so.1' | head -1)")
for file in bin/lumictl bin/lumiwatch bin/lumisim share/lumivane/ModelName.txt share/lumivane/CommandName.csv \
    lib/systemd/system/lumiwatch.service lib/sysusers.d/lumivane.conf lib/tmpfiles.d/lumivane.conf \
    share/bash-completion/completions/lumictl; do
    [[ -e $prefix/$file ]] || fail "$file is not installed"
done
for library in tessera traitbook corvalink; do
    [[ -L $libdir/lib$library.so.1 ]] || fail "lib$library.so.1 (the SONAME link) is missing in $libdir"
done
[[ $libdir == */lib/*-linux-gnu* ]] || fail "libraries are not in the multiarch folder: $libdir"

# An emulated chain of two monitors on a pseudo-terminal, reachable as COM7 only through the installed INI.
cat >"$stage/fleet" <<'FLEET'
data-port 0
search-port none
chain com7
monitor first model=QX-T988 power=off id=1
monitor second model=QX-T988 power=off id=2
FLEET
"$build/bin/lumisim" "$stage/fleet" >"$stage/sim.out" 2>&1 </dev/null &
sim=$!
for _ in $(seq 50); do grep -q '^ready' "$stage/sim.out" && break; sleep 0.1; done
device=$(awk '$1 == "chain" {print $3}' "$stage/sim.out")
[[ -n $device ]] || fail "the emulator did not start: $(cat "$stage/sim.out")"
printf '[ComPorts]\nCOM7=%s\n' "$device" >"$prefix/share/lumivane/QVXCtrlEnv.ini"

export LUMIVANE_DATA_DIR=$stage/data LUMIVANE_RUNTIME_DIR=$stage/run LD_LIBRARY_PATH=$libdir
unset LUMIVANE_COM7 LUMIVANE_PROGRAM_DIR
mkdir -p "$LUMIVANE_DATA_DIR"
lumictl=$prefix/bin/lumictl
"$lumictl" monitors add --com 7 --id 2 --model QX-T988 --name Second >/dev/null
"$lumictl" power on Second >/dev/null || fail "the installed lumictl could not switch the monitor on"
reply=$("$lumictl" query 'POWR????' Second)
[[ $reply == "Second: 1" ]] || fail "unexpected reply: $reply"
"$lumictl" models | grep -q 'ZR-1190 (Brela)' || fail "the installed lumictl lists no models"

# The system files, with the tools that judge them where they are installed.
if command -v systemd-analyze >/dev/null; then
    systemd-analyze verify --man=no "$source/packaging/lumiwatch.service" 2>&1 |
        grep -v "Command /usr/bin/lumiwatch is not executable\|No such file or directory" && fail "unit file problems" || true
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$source/packaging/lumidesk.desktop" || fail "desktop entry"
    desktop-file-validate "$source/packaging/lumiwatch-autostart.desktop" || fail "autostart entry"
fi
if command -v man >/dev/null; then
    for page in $(find "$prefix/share/man" -type f 2>/dev/null); do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [[ -z $warnings ]] || fail "$page: $warnings"
    done
fi
echo "check-install: the staged installation works"
