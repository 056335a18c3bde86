#!/usr/bin/env bash
# The whole `tsubaki --chart` process on generated families, timed from outside with GNU
# time (wall seconds and peak memory), beside its yardsticks:
#   - 1,000 persons as BMP against floor_write, which writes the same number of bytes the way
#     "図面.BMP" is written (zeroed band, write, fsync, rename, folder fsync);
#   - 1,000 persons as PNG against Graphviz drawing the same family (dot -Tpng);
#   - 10,000 and 30,000 persons as BMP and PNG (peak memory; the 30,000-person BMP is about
#     7 GB, so WORK needs the room).
#
#   bench/chart_figures.sh [WORK] [RUNS]
#
# WORK defaults to /tmp/tsubaki-chart-figures, RUNS (timed runs of each command) to 5; each
# line gives the median of the runs. Needs a build (scripts/setup) and Graphviz
# (apt-get install graphviz) for the comparison with dot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/tsubaki-chart-figures}
runs=${2:-5}
build="$root/build"
tsubaki="$build/app/tsubaki/tsubaki"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$work"
cd "$work"

# Capacities large enough for 30,000 persons; KANKYO.TXT is read from the working directory.
iconv -f CP932 -t UTF-8 "$root/samples/KANKYO.TXT" |
  sed -e 's/^最大登録人数,.*/最大登録人数,32000/' -e 's/^最大婚姻数,.*/最大婚姻数,32000/' |
  iconv -f UTF-8 -t CP932 >KANKYO.TXT

for n in 1000 10000 30000; do
  [ -d "g$n" ] || "$build/bench/generate_registers" "$n" "g$n" 1 --dot "g$n.dot" >/dev/null
done

# The median wall time and peak memory of RUNS runs of a command.
measure() {
  local label=$1
  shift
  local times=() peaks=()
  for ((i = 0; i < runs; i++)); do
    local out
    out=$(/usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -n 1)
    times+=("${out% *}")
    peaks+=("${out#* }")
  done
  local t p
  t=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  p=$(printf '%s\n' "${peaks[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  printf '%-34s %8.2f s %8d MB\n' "$label" "$t" "$((p / 1024))"
}

bmp_bytes() { "$tsubaki" --chart "$work/size.bmp" g1000 >/dev/null 2>&1 && stat -c %s size.bmp; }

measure "1,000 persons, --chart .bmp" "$tsubaki" --chart "$work/o.bmp" g1000
measure "1,000 persons, floor_write" "$build/bench/floor_write" "$(bmp_bytes)" "$work/floor.bmp"
measure "1,000 persons, --chart .png" "$tsubaki" --chart "$work/o.png" g1000
if command -v dot >/dev/null; then
  measure "1,000 persons, dot -Tpng" dot -Tpng -o "$work/dot.png" g1000.dot
fi
for n in 10000 30000; do
  measure "$n persons, --chart .bmp" "$tsubaki" --chart "$work/o$n.bmp" "g$n"
  rm -f "$work/o$n.bmp"
  measure "$n persons, --chart .png" "$tsubaki" --chart "$work/o$n.png" "g$n"
done
rm -f size.bmp o.bmp floor.bmp
