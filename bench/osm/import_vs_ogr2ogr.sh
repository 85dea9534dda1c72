#!/bin/sh
# Import time, peak memory and output size of our importer next to GDAL's
# ogr2ogr on the same files, in the same run:
#   - the Liechtenstein extract as XML and as PBF,
#   - a 293 MB XML made by replicating the extract 20 times (made in a
#     scratch folder, never kept).
# Usage: bench/osm/import_vs_ogr2ogr.sh [ORVELA_BINARY] [DATA_DIR]
# Needs: ogr2ogr (package gdal-bin), /usr/bin/time, python3, bunzip2.
# Build the program optimised first (cmake --preset release or bench).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
orvela=${1:-$root/build-bench/orvela}
data=${2:-$root/../shared/data}
li=$data/osm/liechtenstein-2013-08-03
[ -x "$orvela" ] || { echo "no orvela binary at $orvela" >&2; exit 1; }
command -v ogr2ogr >/dev/null || { echo "ogr2ogr missing: apt-get install gdal-bin" >&2; exit 1; }
[ -f "$li.osm.bz2" ] || { echo "no test data at $data" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bunzip2 -kc "$li.osm.bz2" > "$work/li.osm"
python3 "$data/../tools/replicate-osm.py" "$work/li.osm" 20 "$work/li20.osm" 2>/dev/null ||
  python3 "$root/../shared/tools/replicate-osm.py" "$work/li.osm" 20 "$work/li20.osm"

# measure LABEL OUTPUT CMD...: prints "seconds cpu_seconds peak_kb bytes"
measure() {
  out=$1; shift
  rm -f "$out"
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >/dev/null 2>&1 || echo "  (command failed: $*)" >&2
  read -r wall user sys kb < "$work/time.txt"
  size=$(stat -c %s "$out" 2>/dev/null || echo 0)
  cpu=$(echo "$user $sys" | awk '{printf "%.2f", $1 + $2}')
  echo "$wall $cpu $kb $size"
}

printf '%-26s %-8s %9s %9s %10s %12s\n' input tool wall_s cpu_s peak_MB output_MB
for input in "$work/li.osm" "$li.osm.pbf" "$li.osm.bz2" "$work/li20.osm"; do
  name=$(basename "$input")
  ours=$(measure "$work/out.orvel" "$orvela" --home "$work" --import "$input" "$work/out.orvel")
  case "$name" in
    # ogr2ogr's OSM driver reads no bzip2: compare the packed file on our side only.
    *.bz2) gdal="0 0 0 0" ;;
    *) gdal=$(measure "$work/out.sqlite" ogr2ogr -f SQLite "$work/out.sqlite" "$input") ;;
  esac
  for row in "orvela $ours" "ogr2ogr $gdal"; do
    set -- $row
    printf '%-26s %-8s %9s %9s %10.1f %12.1f\n' "$name" "$1" "$2" "$3" "$(echo "$4" | awk '{print $1/1024}')" \
      "$(echo "$5" | awk '{print $1/1048576}')"
  done
  bytes=$(stat -c %s "$input")
  nodes=$(case "$name" in li20*) echo 1314660;; *) echo 65733;; esac)
  set -- $ours
  ow=$1
  set -- $gdal
  echo "$name $bytes $nodes $ow $1" | awk '{printf "  %s: %.1f MB/s of input file, %.0f nodes/s", $1, $2/1048576/$4, $3/$4;
    if ($5 > 0) printf ", wall ratio orvela/ogr2ogr %.2f", $4/$5; printf "\n"}'
done
