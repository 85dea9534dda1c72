#include "osm/rtree_pack.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "map/db_error.h"
#include "osm/batched_insert.h"

namespace orvela::osm {
namespace {

constexpr std::string_view kCheck = "Adding line index";
constexpr size_t kCellBytes = 8 + 4 * 4;
constexpr size_t kHeaderBytes = 4;

// SQLite stores an inserted minimum as the largest float not above it and a
// maximum as the smallest float not below it, nudging by one part in 2^23.
constexpr double kTowardsZero = 1.0 - 1.0 / 8388608.0;
constexpr double kAwayFromZero = 1.0 + 1.0 / 8388608.0;

float value_down(double d) {
  auto f = static_cast<float>(d);
  if (f > d) f = static_cast<float>(d * (d < 0 ? kAwayFromZero : kTowardsZero));
  return f;
}

float value_up(double d) {
  auto f = static_cast<float>(d);
  if (f < d) f = static_cast<float>(d * (d < 0 ? kTowardsZero : kAwayFromZero));
  return f;
}

struct Cell {
  int64_t id;                // a row id in a leaf, a child node number above
  std::array<float, 4> box;  // minx, maxx, miny, maxy
};

void put_be(std::vector<uint8_t>& out, size_t at, uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) {
    out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v & 0xFF);
    v >>= 8;
  }
}

class Packer {
 public:
  Packer(map::MapDb& db, std::string_view table)
      : db_(db),
        rowid_(db, std::string(table) + "_rowid (rowid, nodeno)", 2, std::string(kCheck)),
        parent_(db, std::string(table) + "_parent (nodeno, parentnode)", 2, std::string(kCheck)) {
    std::string t(table);
    node_size_ = static_cast<size_t>(
        db_.DBGETNUMRES("select length(data) from " + t + "_node where nodeno=1;"));
    db_.IFDBERREX(kCheck);
    capacity_ = node_size_ > kHeaderBytes ? (node_size_ - kHeaderBytes) / kCellBytes : 0;
    if (capacity_ < 2) {
      // No root node as SQLite creates one: refuse rather than guess.
      throw map::DbFatalError(SQLITE_CORRUPT, std::string(kCheck), "no r-tree root in " + t);
    }
    node_ = db_.DBPREPARE("insert or replace into " + t + "_node (nodeno, data) values (?1, ?2);");
    db_.IFDBERREX(kCheck);
    rowid_.prepare();
    parent_.prepare();
  }

  void pack(std::span<const RtreeRow> rows) {
    if (rows.empty()) return;
    std::vector<Cell> level;
    level.reserve(rows.size());
    for (const RtreeRow& r : rows) {
      level.push_back(
          {r.id, {value_down(r.minx), value_up(r.maxx), value_down(r.miny), value_up(r.maxy)}});
    }
    int depth = 0;
    while (level.size() > capacity_) {
      level = build_level(level, depth);
      ++depth;
    }
    write_node(1, depth, level, depth == 0);
    rowid_.flush();
    parent_.flush();
  }

 private:
  // Groups `cells` into nodes of (nearly) equal fill and returns a cell per node.
  std::vector<Cell> build_level(const std::vector<Cell>& cells, int depth) {
    const size_t n = cells.size();
    const size_t groups = (n + capacity_ - 1) / capacity_;
    std::vector<Cell> parents;
    parents.reserve(groups);
    for (size_t g = 0; g < groups; ++g) {
      std::span<const Cell> group(cells.data() + g * n / groups,
                                  (g + 1) * n / groups - g * n / groups);
      const int64_t nodeno = next_node_++;
      write_node(nodeno, 0, group, depth == 0);
      parents.push_back({nodeno, bounds(group)});
    }
    return parents;
  }

  static std::array<float, 4> bounds(std::span<const Cell> cells) {
    std::array<float, 4> b = cells.front().box;
    for (const Cell& c : cells) {
      b[0] = std::min(b[0], c.box[0]);
      b[1] = std::max(b[1], c.box[1]);
      b[2] = std::min(b[2], c.box[2]);
      b[3] = std::max(b[3], c.box[3]);
    }
    return b;
  }

  // Writes node `nodeno` holding `cells` and records where each cell went:
  // rows of a leaf in the rowid table, child nodes in the parent table.
  void write_node(int64_t nodeno, int depth, std::span<const Cell> cells, bool leaf) {
    blob_.assign(node_size_, 0);
    put_be(blob_, 0, static_cast<uint64_t>(depth), 2);
    put_be(blob_, 2, cells.size(), 2);
    size_t at = kHeaderBytes;
    for (const Cell& c : cells) {
      put_be(blob_, at, static_cast<uint64_t>(c.id), 8);
      for (size_t i = 0; i < 4; ++i)
        put_be(blob_, at + 8 + 4 * i, std::bit_cast<uint32_t>(c.box[i]), 4);
      at += kCellBytes;
      std::span<BatchedInsert::Value> link = (leaf ? rowid_ : parent_).add();
      link[0] = c.id;
      link[1] = nodeno;
    }
    db_.DBBINDQWORD(node_, 1, nodeno);
    db_.DBBINDBLOB(node_, 2, blob_);
    step(node_);
  }

  void step(sqlite3_stmt* st) {
    db_.IFDBERREX("binding parameters");
    db_.DBSTEP(st);
    db_.IFDBERREX(kCheck);
    db_.DBRESET(st);
    db_.DBCLEARBINDINGS(st);
  }

  map::MapDb& db_;
  size_t node_size_ = 0;
  size_t capacity_ = 0;
  int64_t next_node_ = 2;
  map::Stmt node_;
  BatchedInsert rowid_, parent_;
  std::vector<uint8_t> blob_;
};

}  // namespace

void RTREE_PACK(map::MapDb& db, std::string_view table, std::span<const RtreeRow> rows) {
  Packer(db, table).pack(rows);
}

}  // namespace orvela::osm
