#include "osm/node_store.h"

namespace orvela::osm {

void NodeStore::create_table() {
  db_.DBQUERY("drop table if exists osm_nodes;");
  db_.IFDBERREX("drop table osm_nodes");
  // The table takes its ids from the data, so it skips "autoincrement": its
  // bookkeeping row would be rewritten on every insert.
  db_.DBQUERY("create table osm_nodes (id integer primary key, lat integer, lon integer);");
  db_.IFDBERREX("create table osm_nodes");
  QS_ADDNODE = db_.DBPREPARE("insert into osm_nodes (id, lat, lon) values (?1, ?2, ?3);");
  QS_GETNODE = db_.DBPREPARE("select id, lat, lon from osm_nodes where id=?1;");
  db_.IFDBERREX("prep query for osm_node");
}

void NodeStore::finalize() {
  QS_ADDNODE.reset();
  QS_GETNODE.reset();
  npending_ = 0;
  cache_.release();
}

bool NodeStore::ADDOSMNODE(const OSMNODE& n) {
  // Extracts list nodes by ascending id: only an id not above the largest
  // one seen can be a repeat, and only then is it looked up.
  if (any_ && n.ID <= max_id_) {
    OSMNODE old;
    if (GETOSMNODE(n.ID, old)) return false;
  }
  if (!any_ || n.ID > max_id_) max_id_ = n.ID;
  any_ = true;
  if (npending_ == kPending) flush();
  cache_.prefetch(n.ID);
  pending_[npending_++] = n;
  return true;
}

void NodeStore::flush() {
  for (size_t i = 0; i < npending_; ++i) {
    cache_.put(pending_[i], [this](const OSMNODE& out) { spill(out); });
  }
  npending_ = 0;
}

void NodeStore::spill(const OSMNODE& n) {
  db_.DBBINDQWORD(QS_ADDNODE, 1, static_cast<int64_t>(n.ID));
  db_.DBBINDINT(QS_ADDNODE, 2, n.LAT);
  db_.DBBINDINT(QS_ADDNODE, 3, n.LON);
  db_.IFDBERREX("addosmnode");
  db_.DBSTEP(QS_ADDNODE);
  db_.IFDBERREX("addosmnode");
  db_.DBRESET(QS_ADDNODE);
  db_.DBCLEARBINDINGS(QS_ADDNODE);
  ++spilled_;
}

size_t NodeStore::get_many(std::span<const uint64_t> ids, std::vector<OSMNODE>& out) {
  flush();
  for (uint64_t id : ids) cache_.prefetch(id);
  out.clear();
  size_t missing = 0;
  OSMNODE n;
  for (uint64_t id : ids) {
    if (GETOSMNODE(id, n)) {
      out.push_back(n);
    } else {
      ++missing;
    }
  }
  return missing;
}

bool NodeStore::GETOSMNODE(uint64_t id, OSMNODE& n) {
  flush();
  if (cache_.get(id, n)) return true;
  n = OSMNODE{};
  if (spilled_ == 0) return false;
  db_.DBBINDQWORD(QS_GETNODE, 1, static_cast<int64_t>(id));
  int rc = db_.DBSTEP(QS_GETNODE);
  db_.IFDBERREX("getosmnode");
  bool found = rc == SQLITE_ROW;
  if (found) {
    n.ID = id;
    n.LAT = sqlite3_column_int(QS_GETNODE, 1);
    n.LON = sqlite3_column_int(QS_GETNODE, 2);
  }
  db_.DBRESET(QS_GETNODE);
  db_.DBCLEARBINDINGS(QS_GETNODE);
  return found;
}

}  // namespace orvela::osm
