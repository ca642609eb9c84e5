#!/usr/bin/env bash
# Builds the Debian package, looks at its control data and contents, unpacks it in
# a scratch root and runs the unpacked command line on a PDF: it has to find its
# engine host under libexec/ and write a file that pdfinfo opens only with the
# password. Runs lintian on the package when it is installed.
# Usage: check-package.sh BUILD_DIR MAKE_PDFS_PROGRAM
set -euo pipefail
build=$(cd "$1" && pwd)
make_pdfs=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

cd "$build"
rm -f pdfzerovovor_*.deb
(umask 022 && cpack -G DEB >"$scratch/cpack.log") || { cat "$scratch/cpack.log"; fail "cpack failed"; }
debs=(pdfzerovovor_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
deb=$build/${debs[0]}

dpkg-deb -I "$deb" >"$scratch/info"
grep -q '^ Package: pdfzerovovor$' "$scratch/info" || fail "no package name in the control data"
grep -Eq '^ Depends: .*libqpdf' "$scratch/info" || fail "dependencies not computed: $(grep Depends "$scratch/info")"
grep -Eq '^ Depends: .*libwx_gtk3u_core|^ Depends: .*libwxgtk3' "$scratch/info" ||
    fail "no wxWidgets dependency: $(grep Depends "$scratch/info")"

dpkg-deb -c "$deb" | awk '{print $6}' >"$scratch/contents"
for path in ./usr/bin/pdfzerovovor ./usr/bin/pdfzerovovor-cli \
    ./usr/libexec/pdfzerovovor/pdfzerovovor-engine \
    ./usr/share/pdfzerovovor/Themes/default.zip ./usr/share/pdfzerovovor/Themes/face.xml \
    ./usr/share/pdfzerovovor/option.cfg ./usr/share/applications/pdfzerovovor.desktop \
    ./usr/share/metainfo/com.brisklowan.pdfzerovovor.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/pdfzerovovor.svg \
    ./usr/share/icons/hicolor/256x256/apps/pdfzerovovor.png \
    ./usr/share/man/man1/pdfzerovovor.1.gz ./usr/share/man/man1/pdfzerovovor-cli.1.gz \
    ./usr/share/bash-completion/completions/pdfzerovovor-cli \
    ./usr/lib/systemd/user/pdfzerovovor-watch@.service \
    ./usr/share/doc/pdfzerovovor/copyright ./usr/share/doc/pdfzerovovor/changelog.gz; do
    grep -qx "$path" "$scratch/contents" || fail "$path is not in the package"
done
# Folders 0755 and everything owned by root, whatever the umask or user of the build.
odd=$(dpkg-deb -c "$deb" | awk '($1 ~ /^d/ && $1 != "drwxr-xr-x") || $2 != "root/root"')
[ -z "$odd" ] || fail "odd modes or owners: $odd"

dpkg -x "$deb" "$scratch/root"
grep -q '^ExecStart=/usr/bin/pdfzerovovor-cli --watch ' \
    "$scratch/root/usr/lib/systemd/user/pdfzerovovor-watch@.service" ||
    fail "the watch service does not start the installed command line"
mkdir "$scratch/in" "$scratch/out" "$scratch/home"
"$make_pdfs" "$scratch/in" 1 3 >/dev/null
HOME=$scratch/home "$scratch/root/usr/bin/pdfzerovovor-cli" -q -o "$scratch/out" -u user \
    -p owner "$scratch/in/doc0000.pdf" || fail "the unpacked command line did not encrypt"
written=$scratch/out/doc0000_encryption.pdf
pdfinfo -upw user "$written" | grep -q '^Encrypted: *yes' || fail "the output does not open with its password"
pdfinfo "$written" >/dev/null 2>&1 && fail "the output opens without a password"

if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$scratch/lintian" 2>&1 || {
        cat "$scratch/lintian"
        fail "lintian reports errors"
    }
    grep -v 'root privileges' "$scratch/lintian" || true
fi
echo "check-package: $(basename "$deb") installs its files, runs unpacked and encrypts"
