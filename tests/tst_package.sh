#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack, checked by Debian's and
# freedesktop.org's own tools, unpacked into a root the running user cannot
# write and run from there, away from the source and build trees: the window
# starts offscreen, and a lab file gives its text and PDF reports.
#
# Usage: tst_package.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail

src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
version=$3
arch=$(dpkg --print-architecture)

work=$(mktemp -d /tmp/tuberon-package.XXXXXX)
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FALHA: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "cpack"
(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/tuberon_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$work/out"; fail "no $(basename "$deb")"; }

step "control fields"
# Whole values first: grep -q stopping early must not fail the pipe.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tuberon ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
maintainer=$(field Maintainer)
grep -q '^Equipe Tuberon <.*@.*>$' <<<"$maintainer" || fail "Maintainer: $maintainer"
# Computed from the binary (shlibdeps) plus the font the page report needs and
# Qt's Portuguese texts and the SQLite driver of the store of cases.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//')
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 \
           libqt6printsupport6 libqt6sql6 libqt6sql6-sqlite fonts-liberation qt6-translations-l10n; do
    grep -q "^$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
description=$(field Description)
for word in cassava mandioca; do
    grep -q "$word" <<<"$description" || fail "Description lacks '$word'"
done

step "lintian"
lintian --fail-on error --info "$deb" | tee "$work/lintian.log" || fail "lintian reports errors"

step "contents"
root="$work/root"
dpkg -x "$deb" "$root"
id=org.example.tuberon
for f in usr/bin/tuberon \
         usr/libexec/tuberon/libtuberon_fileformats.so \
         usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml \
         usr/share/mime/packages/tuberon.xml \
         usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/man/man1/tuberon.1.gz \
         usr/share/doc/tuberon/copyright \
         usr/share/doc/tuberon/changelog.gz; do
    [ -f "$root/$f" ] || fail "missing /$f"
done
# Nothing but the program, its file formats module and its desktop files: the
# pictures and the page template are compiled into the program.
unexpected=$(cd "$root" && find . -type f | grep -v -e '^\./usr/bin/tuberon$' \
    -e '^\./usr/libexec/tuberon/libtuberon_fileformats\.so$' -e '^\./usr/share/' || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"

# Each hicolor size holds a PNG of that size.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
for size in 16 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || fail "missing icon $size"
    [ "$(head -c8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "icon $size is not PNG"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "icon $size is $(png_size "$png")"
done

sections=$(readelf -S --wide "$root/usr/bin/tuberon")
grep -q '\.symtab' <<<"$sections" && fail "program not stripped"
# A path to the source or build tree in the program would mean it looks
# for files where it was built.
for tree in "$src" "$build"; do
    grep -qaF "$tree" "$root/usr/bin/tuberon" && fail "program refers to $tree"
done
manual=$(zcat "$root/usr/share/man/man1/tuberon.1.gz")
grep -q '^\.TH TUBERON 1' <<<"$manual" || fail "manual page"
for opt in lote saida rendimento prnt plantio tecnico silencioso memoria help version; do
    grep -q -- "-\\\\-$opt" <<<"$manual" || fail "manual lacks --$opt"
done

step "desktop entry, AppStream, MIME type"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=tuberon %f' "$root/usr/share/applications/$id.desktop" || fail "Exec"
grep -qx 'MimeType=application/x-tuberon-case;' "$root/usr/share/applications/$id.desktop" || fail "MimeType"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
# The MIME package compiles and gives the glob.
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/tuberon.xml" "$work/mime/packages/"
XDG_DATA_DIRS="$work" update-mime-database "$work/mime" || fail "update-mime-database"
grep -q '^application/x-tuberon-case:\*\.tuberon$' "$work/mime/globs" || fail "glob *.tuberon"

step "run from a read-only root"
chmod -R a-w "$root"
run="$work/run"
mkdir -p "$run/runtime"
chmod 700 "$run/runtime"
as_user=()
hide_trees=()
if [ "$(id -u)" -eq 0 ]; then
    # Root writes anywhere: run as nobody, and hide the source and build
    # trees in a private mount namespace.
    chmod 755 "$work"
    chown -R nobody:nogroup "$run"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    if unshare --mount --propagation private true 2>/dev/null; then
        hide_trees=(unshare --mount --propagation private --)
    else
        echo "unshare not permitted: the source and build trees stay visible"
    fi
fi
# Prefix to the program (e.g. timeout) and extra environment, per run.
wrap=()
extra_env=()
program() {
    # Build tree first: it may lie inside the source tree.
    local mounts="for d in '$build' '$src'; do if [ -d \"\$d\" ]; then mount -t tmpfs tmpfs \"\$d\" || exit 99; fi; done; "
    local cmd=(env -i PATH=/usr/bin:/bin HOME="$run" XDG_CACHE_HOME="$run/cache"
               XDG_RUNTIME_DIR="$run/runtime" LC_ALL=C.UTF-8 "${extra_env[@]}"
               "${as_user[@]}" "${wrap[@]}" "$root/usr/bin/tuberon" "$@")
    if [ ${#hide_trees[@]} -gt 0 ]; then
        (cd "$run" && "${hide_trees[@]}" sh -c "${mounts}exec \"\$@\"" sh "${cmd[@]}")
    else
        (cd "$run" && "${cmd[@]}")
    fi
}
"${as_user[@]}" touch "$root/usr/bin/probe" 2>/dev/null && fail "the root is writable"
"${as_user[@]}" touch "$run/probe" || fail "the work folder is not writable"
rm -f "$run/probe"

# The window starts from the installed program and keeps running until closed.
wrap=(timeout 6)
extra_env=(QT_QPA_PLATFORM=offscreen)
set +e
program >"$work/window.log" 2>&1
rc=$?
set -e
wrap=()
extra_env=()
[ $rc -eq 124 ] || { cat "$work/window.log"; fail "the window ended by itself (status $rc)"; }

# With no display and no platform named, help, version and a lab file work.
out=$(program --version) || fail "--version"
[ "$out" = "Tuberon 1.0.0.0" ] || fail "--version says '$out'"
out=$(program --help) || fail "--help"
for opt in lote saida rendimento prnt plantio tecnico silencioso memoria; do
    grep -q -- "--$opt" <<<"$out" || fail "--help lacks --$opt"
done

step "a lab file through the unpacked program"
cat >"$run/amostras.csv" <<'CSV'
Amostra;Produtor;CPF;Localidade;Município;Talhão;Laudo;Argila;pH;P;K;MO;Al;Ca;Mg;CTC;V
A1;João da Conceição;123.456.789-00;Linha São Pedro;Santa Cruz;Gleba 2;L-17;35;5,2;6;40;2;0,4;2;1;8;35
A2;Maria Aparecida Souza;987.654.321-00;Passo Fundo;Ijuí;Talhão 1;L-18;60;5,8;3;80;3;0;3;1;12;50
CSV
[ ${#as_user[@]} -eq 0 ] || chown nobody:nogroup "$run/amostras.csv"
technician="Eng. Agr. Ana Lima - CREA-RS 123456"
set +e
program --lote amostras.csv --saida relatorios --tecnico "$technician" --silencioso >"$work/lote.log" 2>&1
rc=$?
set -e
[ $rc -eq 0 ] || { cat "$work/lote.log"; fail "--lote ended with status $rc"; }

# Only the reports, in the folder asked for (and Qt's own cache and runtime).
written=$(cd "$run" && find . -type f ! -path './cache/*' ! -path './runtime/*' | sort | tr '\n' ' ')
expected="./amostras.csv ./relatorios/A1.pdf ./relatorios/A1.txt ./relatorios/A2.pdf ./relatorios/A2.txt ./relatorios/resumo.csv ./relatorios/resumo.xlsx "
[ "$written" = "$expected" ] || fail "files written: $written"

while IFS='|' read -r sample producer place; do
    txt="$run/relatorios/$sample.txt"
    pdf="$run/relatorios/$sample.pdf"
    # The text report: Windows-1252 with CR LF, as the window writes it.
    text=$(iconv -f WINDOWS-1252 -t UTF-8 "$txt") || fail "$sample.txt is not Windows-1252"
    for want in "$producer" "$place"; do
        grep -qF "$want" <<<"$text" || fail "$sample.txt lacks '$want'"
    done
    lines=$(wc -l <"$txt")
    crlf=$(grep -c $'\r$' "$txt" || true)
    [ "$lines" -gt 10 ] && [ "$crlf" -eq "$lines" ] || fail "$sample.txt: $crlf of $lines lines end in CR LF"
    # The page report: a one-page PDF with the producer and the technician.
    [ "$(head -c5 "$pdf")" = "%PDF-" ] || fail "$sample.pdf is not PDF"
    pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
    [ "$pages" = 1 ] || fail "$sample.pdf has $pages pages"
    page=$(pdftotext -layout "$pdf" -)
    for want in "$producer" "$place" "$technician"; do
        grep -qF "$want" <<<"$page" || fail "$sample.pdf lacks '$want'"
    done
done <<'TABLE'
A1|João da Conceição|Linha São Pedro
A2|Maria Aparecida Souza|Passo Fundo
TABLE

echo "OK"
