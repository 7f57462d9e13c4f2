#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a desktop and the
# Debian package rely on: these files and no others, a launcher that
# desktop-file-validate accepts, the icon its Icon= names in the hicolor
# theme, the README, and the programs run from there with a bare environment
# and no display. Where a mount namespace can be had (as root), the source and
# build folders are hidden from the programs, so that nothing they need may
# come from there.
#   check-install.sh CMAKE SOURCE_DIR BUILD_DIR VERSION BINDIR DATADIR DOCDIR
set -euo pipefail
cmake=$1 source_dir=$2 build_dir=$3 version=$4 bindir=$5 datadir=$6 docdir=$7

work=$(mktemp -d "${TMPDIR:-/tmp}/tolven-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! "$cmake" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    exit 1
fi

# Exactly these, so that nothing of the build (libraries, tests, tools) slips in.
expected=$(LC_ALL=C sort <<FILES
$bindir/konkur
$bindir/tolven-admin
$datadir/applications/konkur.desktop
$datadir/icons/hicolor/scalable/apps/konkur.svg
$docdir/README.md
$docdir/docs/main-window.png
FILES
)
installed=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
if [ "$installed" != "$expected" ]; then
    fail "installed files differ from the expected ones:"
    diff <(echo "$expected") <(echo "$installed") || true
fi

desktop=$prefix/$datadir/applications/konkur.desktop
if [ -f "$desktop" ]; then
    # Warnings and hints count too: the launcher is meant to be clean.
    if ! validation=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$validation" ]; then
        fail "desktop-file-validate: ${validation:-exit code not 0}"
    fi
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    if [ -z "$icon" ] || ! cmp -s "$prefix/$datadir/icons/hicolor/scalable/apps/$icon.svg" \
            "$source_dir/client/common/resources/icons/konkur.svg"; then
        fail "Icon=$icon is not the program's icon in hicolor/scalable/apps"
    fi
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    [ -x "$prefix/$bindir/${exec_line%% *}" ] || fail "Exec=$exec_line is not an installed program"
fi
cmp -s "$prefix/$docdir/README.md" "$source_dir/README.md" || fail "README.md is not in $docdir"

for program in konkur tolven-admin; do
    if [ -f "$prefix/$bindir/$program" ] && readelf -d "$prefix/$bindir/$program" | grep -q 'R.*PATH'; then
        fail "$program carries a run path: $(readelf -d "$prefix/$bindir/$program" | grep 'R.*PATH')"
    fi
done

# The programs, from a folder of their own with a bare environment: no
# display, no settings, a home of their own. Prints one FAIL line per fault.
check_programs() {
    local bin=$prefix/$bindir home=$work/home runtime=$work/runtime
    mkdir -p "$home" && mkdir -m 700 "$runtime"
    cd "$work"
    local bare=(env -i "HOME=$home" PATH=/usr/bin:/bin "XDG_RUNTIME_DIR=$runtime")
    local answer
    for program in konkur tolven-admin; do
        answer=$("${bare[@]}" "$bin/$program" --version 2>&1) || echo "FAIL: $program --version exits with $?"
        [ "$answer" = "$program (TOLVEN Konkurerberverwaltung) $version" ] ||
            echo "FAIL: $program --version says \"$answer\""
    done

    local database=$home/.local/share/TOLVEN/konkur/tolven.db
    answer=$("${bare[@]}" "$bin/tolven-admin" path 2>&1) || true
    [ "$answer" = "$database" ] || echo "FAIL: tolven-admin path says \"$answer\", not $database"
    # The SQLite driver comes from Qt's plugin folder.
    "${bare[@]}" "$bin/tolven-admin" init >"$work/init.log" 2>&1 ||
        echo "FAIL: tolven-admin init: $(cat "$work/init.log")"
    "${bare[@]}" "$bin/tolven-admin" check >"$work/check.log" 2>&1 ||
        echo "FAIL: tolven-admin check: $(cat "$work/check.log")"

    # Without settings the client shows its login window and waits there.
    local code=0
    "${bare[@]}" QT_QPA_PLATFORM=offscreen timeout 3 "$bin/konkur" >"$work/konkur.log" 2>&1 || code=$?
    [ "$code" -eq 124 ] || echo "FAIL: konkur ended by itself (exit code $code): $(cat "$work/konkur.log")"
    # The offscreen platform's notes on what it cannot do are no fault of ours.
    local complaints
    complaints=$(grep -v '^This plugin does not support' "$work/konkur.log" || true)
    [ -z "$complaints" ] || echo "FAIL: konkur complains: $complaints"
    echo "programs checked"
}

export prefix bindir work version
export -f check_programs
if unshare --mount --propagation private true 2>/dev/null; then
    echo "The programs run with $source_dir and $build_dir hidden."
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    report=$(unshare --mount --propagation private -- bash -c \
        'mount -t tmpfs tmpfs "$1" && mount -t tmpfs tmpfs "$2" && check_programs' hide "$build_dir" "$source_dir" 2>&1)
else
    echo "No mount namespace here: the programs run with the source and build folders in place."
    report=$(bash -c check_programs 2>&1)
fi
grep -v '^programs checked$' <<<"$report" || true
failures=$((failures + $(grep -c '^FAIL' <<<"$report" || true)))
grep -q '^programs checked$' <<<"$report" || fail "the programs' checks did not run to their end"

if ((failures)); then
    echo "$failures fault(s) in the installed tree"
    exit 1
fi
echo "Installed tree in order: $(wc -l <<<"$installed") files; the programs run from it."
