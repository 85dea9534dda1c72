#pragma once
// Packs a two-dimensional SQLite R*Tree in one go. Inserting rows one at a
// time makes SQLite rewrite a leaf and its ancestors per row (several
// microseconds each, the largest cost of finishing a big map); a finished
// map is never changed again, so its tree is built bottom-up instead: full
// leaves in the order given, then full parents over them, up to the root.
//
// The tree goes straight into the table's shadow tables, in SQLite's own
// layout: `<t>_node` holds each node as one blob of the size SQLite chose
// when it created the table (a 2-byte tree depth, used in the root only, a
// 2-byte cell count, then per cell an 8-byte id and four 4-byte floats, all
// big-endian); `<t>_rowid` maps each row to its leaf and `<t>_parent` each
// node to its parent. The root is node 1. Coordinates are rounded outwards
// to floats exactly as SQLite rounds inserted values, so every box holds
// the same numbers a row-by-row insert would have stored.
#include <cstdint>
#include <span>
#include <string_view>

#include "map/mapdb.h"

namespace orvela::osm {

struct RtreeRow {
  int64_t id;
  double minx, maxx, miny, maxy;  // in the order of the table's columns
};

// Fills the empty R*Tree `table` (columns: id, minx, maxx, miny, maxy) with
// `rows`, keeping their order in the leaves: give them sorted along a
// space-filling curve so that neighbours share leaves. Database errors are
// checked ("Adding line index").
void RTREE_PACK(map::MapDb& db, std::string_view table, std::span<const RtreeRow> rows);

}  // namespace orvela::osm
