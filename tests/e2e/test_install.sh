#!/usr/bin/env bash
# `cmake --install BUILD --prefix DIR` twice into a temporary folder: the
# first writes a whole installation that the records tool finds sound and the
# program starts on; the second, over a school's edited roster, settings,
# sound and a record file, keeps every one of them and puts back what was
# deleted.
#   test_install.sh BUILD_DIR SOURCE_DIR   (on an X server: the installed program is started)
set -u
build=$1
source=$2
tmp=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
# A shared folder's name may hold blanks and Japanese.
dir="$tmp/学校の フォルダ"
prog="$dir/ソルメア"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$dir" >"$tmp/install1.log" 2>&1 || { cat "$tmp/install1.log"; echo "FAIL: first install"; exit 1; }
grep -F "Missing on this PC" "$tmp/install1.log" && fail "a package a PC needs is missing (scripts/setup.sh installs them)"

# The layout of the demo installation.
for f in 共通データ.txt 生徒用名簿.txt 音フォルダ/新音ファイル.txt \
         ソルメア/設定.txt ソルメア/タイム回数データ.txt ソルメア/ソルメアヘルプ.txt; do
  cmp -s "$build/demo/$f" "$dir/$f" || fail "$f is not the demo's"
done
cmp -s "$source/dist/solmea.svg" "$prog/solmea.svg" || fail "no icon"
for f in solmea solmea-records; do [ -x "$prog/$f" ] || fail "no program $f"; done
cues=$(cd "$build/demo/音フォルダ" && ls *.wav | wc -l)
[ "$cues" -ge 9 ] && [ "$(cd "$dir/音フォルダ" && ls *.wav | wc -l)" -eq "$cues" ] || fail "the cues are not all there"
for f in ソルメア/成績累積データ.dat 成績累積データ家庭用.dat; do [ ! -e "$dir/$f" ] || fail "$f written by the install"; done

# The desktop entry starts this installation's program.
entry="$dir/solmea.desktop"
[ -x "$entry" ] || fail "no executable desktop entry"
grep -qxF "Exec=\"$prog/solmea\"" "$entry" || fail "Exec of the desktop entry: $(grep ^Exec "$entry")"
grep -qxF "Icon=$prog/solmea.svg" "$entry" || fail "Icon of the desktop entry"
grep -qxF "Path=$prog" "$entry" || fail "Path of the desktop entry"
desktop-file-validate "$entry" || fail "desktop-file-validate (scripts/setup.sh installs it)"

"$prog/solmea-records" check "$prog" >"$tmp/check1.txt" 2>&1 || { cat "$tmp/check1.txt"; fail "records tool check on the new installation"; }

# The installed program starts on it: its first window appears.
"$prog/solmea" >"$tmp/solmea.log" 2>&1 &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --name '^velmora$' >/dev/null || { cat "$tmp/solmea.log"; fail "the installed program shows no name selection screen"; }
kill -0 "$pid" 2>/dev/null || fail "the installed program ended"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
pid=""

# A school's changes: its own roster, common data and level table, its own
# right-answer cue, a stored run; a cue deleted by mistake.
printf '1,2016,0,0,"Aoi",0,"",""\r\n2,2014,0,0,"Ren",0,"",""\r\n' >"$dir/生徒用名簿.txt"
printf '5\r\n"00000Test school"\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n' >"$dir/共通データ.txt"
sed -i 's/^40,60,/35,55,/' "$prog/タイム回数データ.txt"
printf 'RIFF-not-the-demo-cue' >"$dir/音フォルダ/正解1.wav"
rm "$dir/音フォルダ/間違い1.wav"
# 2025-12-09 (46000) at noon, pupil 1, level 1, 30 s, site 12345.
printf '\x00\x00\x00\x00\x00\x76\xe6\x40\x00\x00\x00\x00\x00\x00\xe0\x3f\x01\x00\x01\x00\x1e\x00\x00\x0012345     0    \x00\x00\x00\x00\x00' \
  >"$prog/成績累積データ.dat"
[ "$(stat -c %s "$prog/成績累積データ.dat")" -eq 44 ] || fail "the test's record is not 44 bytes"
mkdir "$tmp/before"
kept=(生徒用名簿.txt 共通データ.txt ソルメア/タイム回数データ.txt ソルメア/設定.txt 音フォルダ/新音ファイル.txt
      音フォルダ/正解1.wav ソルメア/成績累積データ.dat)
for f in "${kept[@]}"; do mkdir -p "$tmp/before/$(dirname "$f")"; cp "$dir/$f" "$tmp/before/$f"; done

cmake --install "$build" --prefix "$dir" >"$tmp/install2.log" 2>&1 || { cat "$tmp/install2.log"; echo "FAIL: second install"; exit 1; }
for f in "${kept[@]}"; do cmp -s "$tmp/before/$f" "$dir/$f" || fail "$f was overwritten"; done
grep -qF "Kept (already there): $dir/生徒用名簿.txt" "$tmp/install2.log" || fail "the install does not say it kept the roster"
cmp -s "$build/demo/音フォルダ/間違い1.wav" "$dir/音フォルダ/間違い1.wav" || fail "a deleted cue was not put back"
[ ! -e "$dir/成績累積データ家庭用.dat" ] || fail "the shared log written by the install"

# The records tool reads the school's installation with its run.
"$prog/solmea-records" check "$prog" >"$tmp/check2.txt" 2>&1 || { cat "$tmp/check2.txt"; fail "records tool check after the second install"; }
"$prog/solmea-records" csv "$prog" --utf8 >"$tmp/records.csv" 2>&1 || fail "records tool csv"
grep -qF "2025/12/09,12:00:00,1,Aoi,1,＋－,30,5,12345" "$tmp/records.csv" || { cat "$tmp/records.csv"; fail "the stored run is not read with the school's roster"; }

if [ "$failures" -gt 0 ]; then echo "$failures failed"; exit 1; fi
echo "install: layout, desktop entry, program start, and the second install kept every edited file"
