#pragma once
// Where the conversion keeps node positions until the ways that use them have
// been read. Positions live in a bounded memory (NodeCache); only those it
// pushes out go to the scratch table osm_nodes of the map being written. In a
// file of a few million nodes nothing reaches SQLite at all, and in a larger
// one memory still stays bounded.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "map/mapdb.h"
#include "osm/element_source.h"
#include "osm/node_cache.h"

namespace orvela::osm {

class NodeStore {
 public:
  explicit NodeStore(map::MapDb& db, unsigned cache_bits = NodeCache::kMaxBits)
      : db_(db), cache_(cache_bits) {}

  // Creates the scratch table (dropping an old one) and prepares its statements.
  void create_table();
  // Finalizes the statements and frees the memory; the table stays until
  // the caller drops it. No position can be asked for afterwards.
  void finalize();

  // Keeps the position of `n`. A node id met before keeps its first
  // position: returns false and changes nothing then.
  bool ADDOSMNODE(const OSMNODE& n);
  // The position of node `id`; false (and `n` all zeros) when it never came.
  bool GETOSMNODE(uint64_t id, OSMNODE& n);
  // The positions of the nodes `ids` that came, in order, into `out`
  // (replacing its contents); returns how many never came.
  size_t get_many(std::span<const uint64_t> ids, std::vector<OSMNODE>& out);

  // Positions that did not fit in memory and went to the table.
  uint64_t spilled() const { return spilled_; }

 private:
  void spill(const OSMNODE& n);
  void flush();

  // Positions are put into the cache a few nodes late, so that the memory
  // of each one's bucket is fetched while the next ones are read.
  static constexpr size_t kPending = 8;
  std::array<OSMNODE, kPending> pending_{};
  size_t npending_ = 0;

  map::MapDb& db_;
  NodeCache cache_;
  map::Stmt QS_ADDNODE, QS_GETNODE;
  uint64_t max_id_ = 0;
  bool any_ = false;
  uint64_t spilled_ = 0;
};

}  // namespace orvela::osm
