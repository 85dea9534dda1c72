#!/bin/sh
# Import time, peak memory and output size of our importer next to GDAL's
# ogr2ogr on the same files, in the same run:
#   - the Liechtenstein extract as XML, bzip2-packed XML and PBF,
#   - a 293 MB XML made by replicating the extract 20 times, and the same
#     data as PBF (both made in a scratch folder, never kept).
# Each import runs RUNS times (default 3), ours and ogr2ogr's in turn, and
# the medians are printed.
# Usage: bench/osm/import_vs_ogr2ogr.sh [BUILD_DIR] [DATA_DIR]
# Needs: ogr2ogr (package gdal-bin), /usr/bin/time, python3, bunzip2, and an
# optimised build with the benchmarks: cmake --preset bench && cmake --build
# --preset bench (BUILD_DIR defaults to build-bench).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-bench}
data=${2:-$root/../shared/data}
runs=${RUNS:-3}
orvela=$build/orvela
to_pbf=$build/bench/orvela_osm_to_pbf
li=$data/osm/liechtenstein-2013-08-03
for tool in "$orvela" "$to_pbf"; do
  [ -x "$tool" ] || { echo "no $tool: build the bench preset first" >&2; exit 1; }
done
command -v ogr2ogr >/dev/null || { echo "ogr2ogr missing: apt-get install gdal-bin" >&2; exit 1; }
[ -f "$li.osm.bz2" ] || { echo "no test data at $data" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bunzip2 -kc "$li.osm.bz2" > "$work/li.osm"
python3 "$data/../tools/replicate-osm.py" "$work/li.osm" 20 "$work/li20.osm" >/dev/null
"$to_pbf" "$work/li20.osm" "$work/li20.osm.pbf"

# measure OUTPUT CMD...: prints "wall_s cpu_s peak_kb output_bytes"
measure() {
  out=$1; shift
  rm -f "$out"
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >/dev/null 2>&1 || echo "  (command failed: $*)" >&2
  read -r wall user sys kb < "$work/time.txt"
  size=$(stat -c %s "$out" 2>/dev/null || echo 0)
  echo "$wall $(echo "$user $sys" | awk '{printf "%.2f", $1 + $2}') $kb $size"
}

# median of the lines on stdin, column by column
median() {
  sort -n -k1,1 | awk '{ line[NR] = $0 } END { print line[int((NR + 1) / 2)] }'
}

printf '%-24s %-8s %8s %8s %9s %10s\n' input tool wall_s cpu_s peak_MB output_MB
for input in "$work/li.osm" "$li.osm.bz2" "$li.osm.pbf" "$work/li20.osm" "$work/li20.osm.pbf"; do
  name=$(basename "$input")
  : > "$work/ours"
  : > "$work/gdal"
  for _ in $(seq "$runs"); do
    measure "$work/out.orvel" "$orvela" --home "$work" --import "$input" "$work/out.orvel" >> "$work/ours"
    case "$name" in
      # ogr2ogr's OSM driver reads no bzip2: the packed file is timed on our side only.
      *.bz2) echo "0 0 0 0" >> "$work/gdal" ;;
      *) measure "$work/out.sqlite" ogr2ogr -f SQLite "$work/out.sqlite" "$input" >> "$work/gdal" ;;
    esac
  done
  ours=$(median < "$work/ours")
  gdal=$(median < "$work/gdal")
  for row in "orvela $ours" "ogr2ogr $gdal"; do
    set -- $row
    printf '%-24s %-8s %8s %8s %9.1f %10.1f\n' "$name" "$1" "$2" "$3" \
      "$(echo "$4" | awk '{print $1/1024}')" "$(echo "$5" | awk '{print $1/1048576}')"
  done
  case "$name" in li20*) nodes=1314660 ;; *) nodes=65733 ;; esac
  echo "$name $(stat -c %s "$input") $nodes $ours $gdal" | awk '{
    printf "  %s: %.1f MB/s of input file, %.0f nodes/s", $1, $2 / 1048576 / $4, $3 / $4
    if ($8 > 0) printf ", orvela/ogr2ogr wall %.2f, cpu %.2f", $4 / $8, $5 / $9
    printf "\n" }'
done
echo
echo "Phases of our import of li20.osm (median-free single run):"
"$build/bench/orvela_import_phases" "$work/li20.osm"
