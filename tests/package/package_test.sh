#!/bin/sh
# The Debian package made by CPack from the install rules: its control data, its contents and,
# as root, an install into a scratch root (the installed tool reads the installed demo base and
# runs its companion for sample-forms, print and mail, the start script lays out the user's copy)
# and a removal that leaves nothing behind.
# Usage: package_test.sh PACKAGE_DIR VERSION MAIL_SINK (the package.build test fills PACKAGE_DIR)
set -eu
deb=$(ls "$1"/zorel_"$2"_*.deb)
sink=$3
if ! command -v dpkg-deb >/dev/null; then
  echo "SKIP: dpkg-deb is missing"
  exit 77
fi
work=$(mktemp -d)
sink_pid=
trap '[ -z "$sink_pid" ] || kill "$sink_pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

dpkg-deb --info "$deb" >"$work/info"
for field in 'Package: zorel' 'Architecture: ' 'Maintainer: ' 'Section: misc'; do
  grep -q "^ $field" "$work/info" || fail "no '$field' in the control data"
done
for dependency in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
  libqt6svg6 qt6-translations-l10n libc6; do
  grep '^ Depends:' "$work/info" | grep -q "$dependency" || fail "$dependency not in Depends"
done

dpkg-deb --contents "$deb" | awk '{print $6}' >"$work/contents"
for file in ./usr/bin/zorel ./usr/bin/zorel-cli ./usr/bin/zorel-mkdb ./usr/bin/zorel-start \
  ./usr/libexec/zorel/zorel-cli-qt ./usr/share/applications/zorel.desktop \
  ./usr/share/icons/hicolor/scalable/apps/zorel.svg \
  ./usr/share/metainfo/example.severny_vektor.zorel.metainfo.xml \
  ./usr/share/zorel/guide/index.html ./usr/share/zorel/demo/db/factory.dat \
  ./usr/share/man/man1/zorel.1.gz ./usr/share/man/man1/zorel-start.1.gz \
  ./usr/share/man/man1/zorel-cli.1.gz ./usr/share/man/man1/zorel-mkdb.1.gz \
  ./usr/share/doc/zorel/copyright ./usr/share/doc/zorel/changelog.gz; do
  grep -qxF "$file" "$work/contents" || fail "$file not in the package"
done
if grep -v '^\./usr/' "$work/contents" | grep -qv '^\./$'; then
  fail "files outside /usr: $(grep -v '^\./usr/' "$work/contents" | tr '\n' ' ')"
fi

if [ "$(id -u)" -ne 0 ] || ! command -v dpkg >/dev/null; then
  echo "package checked; install not tried (needs root)"
  exit 0
fi
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
# The scratch root has none of the dependencies: they are checked above instead.
dpkg --root="$root" --log=/dev/null --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "install"; }
[ -x "$root/usr/bin/zorel" ] || fail "zorel not installed"
"$root/usr/bin/zorel-cli" --db "$root/usr/share/zorel/demo/db" info >"$work/cli.out" ||
  fail "the installed zorel-cli cannot read the installed demo base"
grep -q '^records: [1-9]' "$work/cli.out" || fail "the installed demo base is empty"
# The commands that need Qt run in the companion installed under libexec.
cli() { "$root/usr/bin/zorel-cli" --db "$root/usr/share/zorel/demo/db" "$@"; }
cli sample-forms "$work/rpt" >"$work/cli.out" 2>&1 || { cat "$work/cli.out"; fail "sample-forms"; }
cli print "$work/rpt/Карточка предприятия.rpt" --record 2 --pdf "$work/card.pdf" \
  >"$work/cli.out" 2>&1 || { cat "$work/cli.out"; fail "print"; }
[ "$(head -c 5 "$work/card.pdf")" = "%PDF-" ] || fail "print wrote no PDF"
mkdir "$work/sink"
mkfifo "$work/sink.in"
/usr/bin/python3 "$sink" serve "$work/sink" <"$work/sink.in" >"$work/sink.out" 2>&1 &
sink_pid=$!
exec 3>"$work/sink.in" # the server runs while this stays open
for _ in $(seq 100); do grep -q '^PORT ' "$work/sink.out" && break || sleep 0.1; done
port=$(sed -n 's/^PORT //p' "$work/sink.out")
[ -n "$port" ] || { cat "$work/sink.out"; fail "no mail server"; }
cli mail --server 127.0.0.1 --port "$port" --from zorel@localhost --subject check --body text \
  --test-address check@localhost --record 0 >"$work/cli.out" 2>&1 ||
  { cat "$work/cli.out"; fail "mail"; }
exec 3>&-
wait "$sink_pid"
sink_pid=
[ -f "$work/sink/0001.eml" ] || { cat "$work/cli.out"; fail "mail sent nothing"; }
# The menu's start script: the first start copies the demo base into the user's data folder and
# runs the program beside it (a stand-in for the program reports where it ran).
printf '#!/bin/sh\npwd\necho "$@"\n' >"$root/usr/bin/zorel"
XDG_DATA_HOME="$work/data" "$root/usr/bin/zorel-start" /debug >"$work/start.out" ||
  fail "zorel-start"
[ "$(cat "$work/start.out")" = "$(printf '%s\n%s' "$work/data/zorel/work" /debug)" ] ||
  fail "zorel-start ran the program as: $(cat "$work/start.out")"
[ "$(find "$work/data/zorel/db" -type f -perm -u+w | wc -l)" -ge 10 ] ||
  fail "no writable copy of the demo base"
ls "$work/data/zorel/lists/"*.lst >/dev/null || fail "no list files copied"
dpkg --root="$root" --log=/dev/null -r zorel >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "remove"; }
left=$(find "$root/usr" ! -type d 2>/dev/null | head -5)
[ -z "$left" ] || fail "left after removal: $left"
echo "package installed into a scratch root and removed cleanly"
