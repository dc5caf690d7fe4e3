#!/usr/bin/env bash
# Checks a Debian package built by scripts/package.sh: lintian finds no
# error, the package holds every file it must, and the unpacked programs
# run (vantrell --version and --help, vantrell-sim --help) as a user without
# root. Exits non-zero on the first problem.
#
#   bash scripts/check_package.sh DEB
set -euo pipefail

deb="${1:?usage: check_package.sh DEB}"
[ -f "$deb" ] || { echo "check-package: no file $deb" >&2; exit 1; }

echo "-- lintian $(basename "$deb")"
lintian --fail-on error --display-info "$deb" || { echo "check-package: lintian reports errors" >&2; exit 1; }

echo "-- contents"
listing="$(dpkg-deb -c "$deb" | awk '{print $NF}')"
expected=(
  ./usr/bin/vantrell ./usr/bin/vantrell-configurator ./usr/bin/vantrell-sim
  ./usr/libexec/vantrell/vantrell-netd
  ./usr/share/applications/vantrell-configurator.desktop
  ./usr/share/icons/hicolor/scalable/apps/vantrell-configurator.svg
  ./usr/share/man/man1/vantrell.1.gz ./usr/share/man/man1/vantrell-configurator.1.gz
  ./usr/share/man/man1/vantrell-sim.1.gz
  ./usr/share/bash-completion/completions/vantrell ./usr/share/zsh/vendor-completions/_vantrell
  ./usr/share/doc/vantrell/copyright ./usr/share/doc/vantrell/changelog.gz
)
for file in "${expected[@]}"; do
  grep -qxF "$file" <<<"$listing" || { echo "check-package: $file missing" >&2; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q 'libcap2-bin' || { echo "check-package: no libcap2-bin dependency" >&2; exit 1; }
# Only the helper may be given a capability, and nothing is setuid.
postinst="$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./postinst)"
grep -q 'setcap cap_net_admin+ep "$helper"' <<<"$postinst" || { echo "check-package: postinst sets no capability on the helper" >&2; exit 1; }
if grep -n 'setcap' <<<"$postinst" | grep -v '"$helper"' | grep -qv '^[0-9]*: *#'; then
  echo "check-package: postinst runs setcap on something else" >&2
  exit 1
fi
grep -q '^helper="/usr/libexec/vantrell/vantrell-netd"$' <<<"$postinst" || { echo "check-package: postinst names another helper" >&2; exit 1; }
if dpkg-deb -c "$deb" | awk '{print $1}' | grep -q '^...[sS]'; then
  echo "check-package: setuid file in the package" >&2
  exit 1
fi

echo "-- unpacked programs run without root"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
chmod -R a+rX "$work"
run_as_user() {
  if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi
}
version="$(run_as_user "$work/root/usr/bin/vantrell" --version)"
[ "$version" = "vantrell $(dpkg-deb -f "$deb" Version)" ] || { echo "check-package: vantrell --version says '$version'" >&2; exit 1; }
run_as_user "$work/root/usr/bin/vantrell" --help | grep -q '^  cleanup ' || { echo "check-package: vantrell --help lists no cleanup" >&2; exit 1; }
run_as_user "$work/root/usr/bin/vantrell-sim" --help | grep -q -- '--scenario FILE' || { echo "check-package: vantrell-sim --help fails" >&2; exit 1; }

# Both programs look for the helper where the package puts it.
for program in vantrell vantrell-configurator; do
  grep -qaF /usr/libexec/vantrell/vantrell-netd "$work/root/usr/bin/$program" ||
    { echo "check-package: $program does not look for /usr/libexec/vantrell/vantrell-netd" >&2; exit 1; }
done

echo "-- postinst gives the capability to the helper only"
if [ "$(id -u)" -eq 0 ] && command -v getcap >/dev/null; then
  mkdir -p "$work/libexec"
  cp /bin/true "$work/libexec/vantrell-netd"
  sed "s|^helper=.*|helper=\"$work/libexec/vantrell-netd\"|" <<<"$postinst" >"$work/postinst"
  sh "$work/postinst" configure
  caps="$(getcap "$work/libexec/vantrell-netd")"
  [[ "$caps" == *"cap_net_admin=ep"* ]] || { echo "check-package: helper got '$caps'" >&2; exit 1; }
  for program in vantrell vantrell-configurator vantrell-sim; do
    [ -z "$(getcap "$work/root/usr/bin/$program")" ] || { echo "check-package: $program has a capability" >&2; exit 1; }
  done
else
  echo "(skipped: needs root and getcap)"
fi
echo "package ok: $deb"
