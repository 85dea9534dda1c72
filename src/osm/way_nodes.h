#pragma once
// The nodes of routable ways, kept for the intersection search. A row per
// node of each stored way carries what the search needs of the node (its
// position) and of the way (the name and type ids of its line), so the
// search never visits the lines with their vertex blobs.
//
// Rows are held in memory up to a limit and go to the scratch table
// osm_waynodes beyond it. Most rows belong to nodes of a single way, which
// can never be an intersection: a fixed-size filter tells them apart, and
// only the others reach osm_sharedwaynodes, over which the search runs.
#include <cstdint>
#include <string>
#include <vector>

#include "map/mapdb.h"
#include "osm/element_source.h"
#include "osm/shared_nodes.h"

namespace orvela::osm {

class WayNodes {
 public:
  // Rows held in memory: 40 bytes each.
  static constexpr size_t kHeldRows = 1'000'000;

  WayNodes(map::MapDb& db, size_t held_rows = kHeldRows) : db_(db), held_rows_(held_rows) {}

  // Creates the scratch tables (dropping old ones).
  void create_tables();
  // Drops them.
  void drop_tables();

  // One node of a stored routable way; name and type ids 0 mean none.
  void ADDOSMWAYNODE(int64_t wayid, const OSMNODE& n, bool endof, uint32_t name_id,
                     uint32_t type_id);
  // Fills osm_sharedwaynodes with the rows of nodes met in more than one
  // way and indexes it; the search can run after this.
  void prepare_search();

 private:
  struct Row {
    uint64_t nodeid;
    int64_t wayid;
    int32_t lat, lon;
    uint32_t name_id, type_id;
    bool endof;
  };
  void write_rows(sqlite3_stmt* st, const std::vector<Row>& rows, bool shared_only);
  void bind_row(sqlite3_stmt* st, const Row& r);
  void insert(sqlite3_stmt* st);
  std::string insert_into(const char* table) const;

  map::MapDb& db_;
  size_t held_rows_;
  std::vector<Row> rows_;
  bool table_used_ = false;
  SharedNodeFilter shared_;
};

}  // namespace orvela::osm
