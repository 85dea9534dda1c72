#pragma once
// The nodes of routable ways, kept for the intersection search. A row per
// node of each stored way carries what the search needs of the node (its
// position) and of the way (the name and type ids of its line), so the
// search never visits the lines with their vertex blobs.
//
// Rows are held in memory up to a limit, and then the search runs in memory.
// Beyond the limit they go to the scratch table osm_waynodes of the map
// being written, and the search runs in SQL. Most rows belong to nodes of a
// single way, which can never be an intersection: a fixed-size filter tells
// them apart, and only the others are searched.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "map/mapdb.h"
#include "osm/element_source.h"
#include "osm/shared_nodes.h"

namespace orvela::osm {

// A node where routable ways meet: two different ways pass through it and
// at least one of them goes on, or both end there under different names.
struct Intersection {
  uint64_t nodeid = 0;
  int32_t lat = 0, lon = 0;
  // Each distinct (type id, name id) of the ways through it, in that order;
  // 0 stands for none.
  std::vector<std::pair<uint32_t, uint32_t>> kinds;
};

class WayNodes {
 public:
  // Rows held in memory: 40 bytes each.
  static constexpr size_t kHeldRows = 1'000'000;

  WayNodes(map::MapDb& db, size_t held_rows = kHeldRows) : db_(db), held_rows_(held_rows) {}

  // Readies for the rows of a new map (dropping old scratch tables).
  void create_tables();
  // Drops the scratch tables.
  void drop_tables();

  // One node of a stored routable way; name and type ids 0 mean none.
  void ADDOSMWAYNODE(int64_t wayid, const OSMNODE& n, bool endof, uint32_t name_id,
                     uint32_t type_id);
  // Calls `found` for every intersection, by ascending node id (as a signed
  // number, the way SQLite orders it). The rows are gone afterwards.
  void find_intersections(const std::function<void(const Intersection&)>& found);

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
  void create_table(const char* table);
  std::string insert_into(const char* table) const;
  void search_in_memory(const std::function<void(const Intersection&)>& found);
  void prepare_search();
  void search_in_sql(const std::function<void(const Intersection&)>& found);

  map::MapDb& db_;
  size_t held_rows_;
  std::vector<Row> rows_;
  bool table_used_ = false;
  SharedNodeFilter shared_;
};

}  // namespace orvela::osm
