#include "osm/way_nodes.h"

namespace orvela::osm {
namespace {

constexpr const char* kColumns =
    " (id integer primary key, wayid integer, nodeid integer, endof integer, lat integer, lon "
    "integer, nameid integer, typeid integer);";

}  // namespace

std::string WayNodes::insert_into(const char* table) const {
  return std::string("insert into ") + table +
         " (wayid, nodeid, endof, lat, lon, nameid, typeid) values (?1, ?2, ?3, ?4, ?5, ?6, ?7);";
}

void WayNodes::create_tables() {
  for (const char* t : {"osm_waynodes", "osm_sharedwaynodes"}) {
    db_.DBQUERY(std::string("drop table if exists ") + t + ";");
    db_.DBQUERY(std::string("create table ") + t + kColumns);
    db_.IFDBERREX(std::string("create table ") + t);
  }
  // Reserved whole at once: growing by copies cost more than the rows
  // themselves, and pages never written take no memory.
  rows_.clear();
  rows_.reserve(held_rows_);
  table_used_ = false;
}

void WayNodes::drop_tables() {
  db_.DBQUERY("drop table if exists osm_waynodes;");
  db_.DBQUERY("drop table if exists osm_sharedwaynodes;");
  rows_ = {};
}

void WayNodes::ADDOSMWAYNODE(int64_t wayid, const OSMNODE& n, bool endof, uint32_t name_id,
                             uint32_t type_id) {
  shared_.add(n.ID);
  rows_.push_back({n.ID, wayid, n.LAT, n.LON, name_id, type_id, endof});
  if (rows_.size() < held_rows_) return;
  map::Stmt st = db_.DBPREPARE(insert_into("osm_waynodes"));
  db_.IFDBERREX("prep query for osm_waynodes");
  write_rows(st, rows_, false);
  rows_.clear();
  table_used_ = true;
}

// Name and type ids 0 are stored as NULL, as in the line's own row.
void WayNodes::bind_row(sqlite3_stmt* st, const Row& r) {
  db_.DBBINDQWORD(st, 1, r.wayid);
  db_.DBBINDQWORD(st, 2, static_cast<int64_t>(r.nodeid));
  db_.DBBINDINT(st, 3, r.endof ? 1 : 0);
  db_.DBBINDINT(st, 4, r.lat);
  db_.DBBINDINT(st, 5, r.lon);
  if (r.name_id > 0) db_.DBBINDQWORD(st, 6, r.name_id);
  if (r.type_id > 0) db_.DBBINDQWORD(st, 7, r.type_id);
}

// Steps an insert whose parameters are bound, and readies it for the next row.
void WayNodes::insert(sqlite3_stmt* st) {
  db_.IFDBERREX("addwaynode");
  db_.DBSTEP(st);
  db_.IFDBERREX("addwaynode");
  db_.DBRESET(st);
  db_.DBCLEARBINDINGS(st);
}

void WayNodes::write_rows(sqlite3_stmt* st, const std::vector<Row>& rows, bool shared_only) {
  for (const Row& r : rows) {
    if (shared_only && !shared_.maybe_shared(r.nodeid)) continue;
    bind_row(st, r);
    insert(st);
  }
}

void WayNodes::prepare_search() {
  map::Stmt keep = db_.DBPREPARE(insert_into("osm_sharedwaynodes"));
  db_.IFDBERREX("prep query for osm_sharedwaynodes");
  if (table_used_) {
    // The rows that did not fit in memory: copied as they are, NULLs included.
    map::Stmt all =
        db_.DBPREPARE("select wayid, nodeid, endof, lat, lon, nameid, typeid from osm_waynodes;");
    db_.IFDBERREX("prep query for osm_waynodes");
    while (db_.DBSTEP(all) == SQLITE_ROW) {
      if (!shared_.maybe_shared(static_cast<uint64_t>(sqlite3_column_int64(all, 1)))) continue;
      for (int i = 0; i < 7; ++i) sqlite3_bind_value(keep, i + 1, sqlite3_column_value(all, i));
      insert(keep);
    }
    db_.IFDBERREX("osm_waynodes");
  }
  write_rows(keep, rows_, true);
  rows_ = {};
  // Built once over all rows instead of row by row in random order while
  // reading: far cheaper. It holds every column the search and the naming
  // read, so neither visits the table, and its order is the naming's
  // grouping, so that needs no sorting of its own.
  db_.DBQUERY(
      "create unique index if not exists idxosmwaynodes on "
      "osm_sharedwaynodes(nodeid,typeid,nameid,wayid,endof,lat,lon);");
  db_.IFDBERREX("idxosmwaynodes");
}

}  // namespace orvela::osm
