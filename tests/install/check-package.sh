#!/usr/bin/env bash
# The Debian package of the build folder: its control fields, its contents and lintian without errors.
# The package is built into a staging folder and never installed here.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null) || fail "cpack failed"
deb=$(ls "$out"/lumivane_*.deb)
[[ $(dpkg-deb -f "$deb" Package) == lumivane ]] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libqt6widgets6 acl; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == "default-mta | mail-transport-agent, msmtp-mta" ]] || fail "Recommends"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/lumictl ./usr/bin/lumiwatch ./usr/lib/systemd/system/lumiwatch.service \
    ./usr/lib/sysusers.d/lumivane.conf ./usr/lib/tmpfiles.d/lumivane.conf ./usr/share/lumivane/ModelName.txt \
    ./usr/share/man/man1/lumictl.1.gz ./usr/share/doc/lumivane/copyright ./etc/xdg/autostart/lumiwatch.desktop; do
    grep -qxF "$file" <<<"$contents" || fail "$file is not in the package"
done
grep -q 'include/' <<<"$contents" && fail "headers belong to the development files, not the package"
control=$(mktemp -d -p "$out")
dpkg-deb -e "$deb" "$control"
for script in postinst prerm postrm; do
    [[ -x $control/$script ]] || fail "$script missing or not executable"
    sh -n "$control/$script" || fail "$script has a syntax error"
done
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >&2 || fail "lintian found errors"
fi
echo "check-package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
