#include "osm/way_nodes.h"

#include <algorithm>
#include <tuple>

namespace orvela::osm {
namespace {

constexpr const char* kColumns =
    " (id integer primary key, wayid integer, nodeid integer, endof integer, lat integer, lon "
    "integer, nameid integer, typeid integer);";

}  // namespace

void WayNodes::create_table(const char* table) {
  db_.DBQUERY(std::string("create table ") + table + kColumns);
  db_.IFDBERREX(std::string("create table ") + table);
}

std::string WayNodes::insert_into(const char* table) const {
  return std::string("insert into ") + table +
         " (wayid, nodeid, endof, lat, lon, nameid, typeid) values (?1, ?2, ?3, ?4, ?5, ?6, ?7);";
}

void WayNodes::create_tables() {
  drop_tables();
  // Reserved whole at once: growing by copies cost more than the rows
  // themselves, and pages never written take no memory.
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
  // The scratch tables are made only when the rows outgrow memory.
  if (!table_used_) create_table("osm_waynodes");
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
  create_table("osm_sharedwaynodes");
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

// Only a node of two rows or more can be an intersection; a way passes
// through a node once (see record_way_nodes), so its rows are of different
// ways. Then one row of a way that goes on is enough, or two different names.
void WayNodes::search_in_memory(const std::function<void(const Intersection&)>& found) {
  std::vector<Row> shared;
  for (const Row& r : rows_)
    if (shared_.maybe_shared(r.nodeid)) shared.push_back(r);
  rows_ = {};
  auto key = [](const Row& r) {
    return std::tuple(static_cast<int64_t>(r.nodeid), r.type_id, r.name_id);
  };
  std::sort(shared.begin(), shared.end(),
            [&](const Row& a, const Row& b) { return key(a) < key(b); });
  Intersection x;
  for (size_t i = 0, end = 0; i < shared.size(); i = end) {
    end = i + 1;
    while (end < shared.size() && shared[end].nodeid == shared[i].nodeid) ++end;
    if (end - i < 2) continue;
    bool goes_on = false;
    uint32_t a_name = 0;
    bool two_names = false;
    for (size_t j = i; j < end; ++j) {
      goes_on = goes_on || !shared[j].endof;
      const uint32_t n = shared[j].name_id;
      if (n == 0) continue;
      if (a_name == 0) a_name = n;
      two_names = two_names || n != a_name;
    }
    if (!goes_on && !two_names) continue;
    x.nodeid = shared[i].nodeid;
    x.lat = shared[i].lat;
    x.lon = shared[i].lon;
    x.kinds.clear();
    for (size_t j = i; j < end; ++j) {
      const std::pair<uint32_t, uint32_t> kind{shared[j].type_id, shared[j].name_id};
      if (x.kinds.empty() || x.kinds.back() != kind) x.kinds.push_back(kind);
    }
    found(x);
  }
}

// The same search over the rows that did not all fit in memory.
void WayNodes::search_in_sql(const std::function<void(const Intersection&)>& found) {
  prepare_search();
  map::Stmt search = db_.DBPREPARE(
      "select wn1.nodeid, wn1.lat, wn1.lon from osm_sharedwaynodes wn1 join osm_sharedwaynodes "
      "wn2 on wn1.nodeid=wn2.nodeid where wn1.wayid<>wn2.wayid and (wn1.endof=0 or wn2.endof=0 "
      "or wn1.nameid<>wn2.nameid) group by wn1.nodeid;");
  db_.IFDBERREX("prepq detectintersections");
  map::Stmt kinds = db_.DBPREPARE(
      "select distinct typeid, nameid from osm_sharedwaynodes where nodeid=?1 order by typeid, "
      "nameid;");
  db_.IFDBERREX("prepq getintersection");
  Intersection x;
  while (db_.DBSTEP(search) == SQLITE_ROW) {
    x.nodeid = static_cast<uint64_t>(sqlite3_column_int64(search, 0));
    x.lat = sqlite3_column_int(search, 1);
    x.lon = sqlite3_column_int(search, 2);
    x.kinds.clear();
    db_.DBBINDQWORD(kinds, 1, static_cast<int64_t>(x.nodeid));
    while (db_.DBSTEP(kinds) == SQLITE_ROW) {
      x.kinds.emplace_back(static_cast<uint32_t>(sqlite3_column_int64(kinds, 0)),
                           static_cast<uint32_t>(sqlite3_column_int64(kinds, 1)));
    }
    db_.IFDBERREX("getintersection");
    db_.DBRESET(kinds);
    found(x);
  }
  db_.IFDBERREX("detectintersections");
}

void WayNodes::find_intersections(const std::function<void(const Intersection&)>& found) {
  if (table_used_) {
    search_in_sql(found);
  } else {
    search_in_memory(found);
  }
}

}  // namespace orvela::osm
