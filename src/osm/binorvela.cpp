#include "osm/binorvela.h"

#include <fmt/format.h>

#include <algorithm>
#include <ctime>
#include <limits>
#include <utility>

#include "map/schema.h"
#include "osm/rtree_pack.h"

namespace orvela::osm {
namespace {

constexpr std::string_view kAddLinIdx =
    "insert into orvel_linidx (id, minlon, maxlon, minlat, maxlat) values (?1, ?2, ?3, ?4, ?5);";

double degrees(int32_t micro) { return static_cast<double>(micro) / map::CORDSDIVBY; }

int32_t midpoint(int32_t a, int32_t b) {
  return static_cast<int32_t>((static_cast<int64_t>(a) + b) / 2);
}

// Position of a point (micro-degrees) on a Hilbert curve over a 65536 x 65536
// grid covering the whole globe.
uint32_t hilbert_key(int32_t lon, int32_t lat) {
  auto cell = [](int64_t v, int64_t lo, int64_t span) {
    int64_t c = (v - lo) * 65536 / span;
    return static_cast<uint32_t>(std::clamp<int64_t>(c, 0, 65535));
  };
  uint32_t x = cell(lon, -180000000, 360000001);
  uint32_t y = cell(lat, -90000000, 180000001);
  uint32_t d = 0;
  for (uint32_t s = 1u << 15; s > 0; s >>= 1) {
    uint32_t rx = (x & s) ? 1 : 0;
    uint32_t ry = (y & s) ? 1 : 0;
    d += s * s * ((3 * rx) ^ ry);
    if (ry == 0) {
      if (rx == 1) {
        x = 65535 - x;
        y = 65535 - y;
      }
      std::swap(x, y);
    }
  }
  return d;
}

}  // namespace

std::string CURDATETIMESTR() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return fmt::format("{:04}.{:02}.{:02}/{:02}:{:02}:{:02}", tm.tm_year + 1900, tm.tm_mon + 1,
                     tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

BinOrvela::BinOrvela(map::MapDb& db, WriterLimits limits)
    : db_(db),
      poi_rows_(db,
                "orvel_poi (objtype, nameid, typeid, streetid, housenum, cityid, regionid, "
                "countryid, lat, lon, startlev, endlev, id)",
                13, "Adding POI"),
      line_rows_(db,
                 "orvel_lin (objtype, nameid, typeid, streetid, housenum, cityid, regionid, "
                 "countryid, startlev, endlev, points, hlevels, id)",
                 13, "Adding line"),
      tag_rows_(db, "orvel_tags (objtype, objectid, tagnameid, tagvalueid)", 4, "Adding tag"),
      limits_(limits) {}

BinOrvela::~BinOrvela() { finalize_statements(); }

void BinOrvela::create_tables() {
  namespace s = map::schema;
  for (const char* t : {"orvel_poi", "orvel_lin", "orvel_linidx", "orvel_tags", "orvel_logentry",
                        "orvel_logentryfiles", "orvel_info"}) {
    db_.DBQUERY(std::string("drop table if exists ") + t + ";");
  }
  db_.IFDBERREX("drop old tables");
  const std::pair<std::string_view, const char*> steps[] = {
      {s::CREATE_POI, "tworzenie tabeli poi"},
      {s::CREATE_LIN, "tworzenie tabeli lin"},
      {s::CREATE_LINIDX, "index dla lin"},
      {s::CREATE_TAGS, "create table tags"},
      {s::CREATE_IDXTAGS, "idxtags"},
      {s::CREATE_LOGENTRY, "logentry"},
      {s::CREATE_IDXLOGENTRY, "idxlogentry"},
      {s::CREATE_LOGENTRYFILES, "logentryfiles"},
      {s::CREATE_IDXLOGENTRYID, "idxlogentryid"},
      {s::CREATE_INFO, "Creating table info"},
      {s::CREATE_IDXINFO, "index dla info"}};
  for (const auto& [sql, check] : steps) {
    db_.DBQUERY(sql);
    db_.IFDBERREX(check);
  }
  for (std::string_view pv : s::STRING_TABLES) {
    std::string p(pv);
    db_.DBQUERY("drop table if exists orvel_" + p + ";");
    db_.IFDBERREX("drop table " + p);
    db_.DBQUERY(s::create_string_table(p));
    db_.IFDBERREX("create table " + p);
    db_.DBQUERY(s::create_string_index(p));
    db_.IFDBERREX(p + "idx");
  }
}

void BinOrvela::PREPARESQS() {
  known_bytes_ = 0;
  for (int i = 0; i < BINORVELSQSCOUNT; ++i) {
    BINORVELSQSREC& r = BINORVELSQS[static_cast<size_t>(i)];
    r.PREF = std::string(map::schema::STRING_TABLES[static_cast<size_t>(i)]);
    r.known.clear();
    const std::string& p = r.PREF;
    r.QGET = db_.DBPREPARE("select " + p + "id from orvel_" + p + " where " + p + "=?1 limit 1;");
    db_.IFDBERREX("preparowanie qget");
    r.QSET = db_.DBPREPARE("insert into orvel_" + p + " (" + p + ") values (?1);");
    db_.IFDBERREX("preparowanie qset");
  }
}

void BinOrvela::BINORVEL_INIT(const std::string& dbfn) {
  // One thread writes the file: SQLite's own locking would only cost time.
  db_.DBCONNECT(dbfn, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
  db_.IFDBERREX("Opening map");
  db_.DBQUERY("PRAGMA synchronous=off;");
  db_.DBQUERY("PRAGMA journal_mode=off;");
  // Larger pages make shallower trees for the millions of rows written;
  // it only takes effect before the first table exists.
  db_.DBQUERY("PRAGMA page_size=16384;");
  create_tables();
  db_.DBQUERY("begin transaction;");
  open_ = true;
  db_.DBQUERY(fmt::format("insert into orvel_info (name, value) values (\"version\",\"{}\");",
                          map::MAPINTVER));
  db_.IFDBERREX("setversion");
  db_.DBQUERY(fmt::format("insert into orvel_info (name, value) values (\"date\",\"{}\");",
                          CURDATETIMESTR()));
  db_.IFDBERREX("setdate");
  PREPARESQS();
  boxes_.clear();
  tree_started_ = false;
  ORV_ADDLINIDX = db_.DBPREPARE(kAddLinIdx);
  for (BatchedInsert* b : {&poi_rows_, &line_rows_, &tag_rows_}) b->prepare();
  taken_.assign(size_t{1} << (kTakenBits - 6), 0);
  max_id_ = {};
}

namespace {

uint64_t taken_bit(int t, int64_t id, unsigned bits) {
  return ((static_cast<uint64_t>(id) * 2 + static_cast<uint64_t>(t)) * 0x9E3779B97F4A7C15ull) >>
         (64 - bits);
}

}  // namespace

bool BinOrvela::maybe_taken(int t, int64_t id) const {
  const uint64_t b = taken_bit(t, id, kTakenBits);
  return (taken_[b >> 6] >> (b & 63)) & 1u;
}

void BinOrvela::mark_taken(int t, int64_t id) {
  const uint64_t b = taken_bit(t, id, kTakenBits);
  taken_[b >> 6] |= uint64_t{1} << (b & 63);
  max_id_[static_cast<size_t>(t)] = std::max(max_id_[static_cast<size_t>(t)], id);
}

// An object without an id of its own gets the one SQLite's autoincrement
// would give it: one above the largest id the table ever held, counting
// from 0 (ids are never deleted while writing).
// Known in advance, the row can be held for a batched insert like the
// others. At the very top of the range SQLite is left to refuse the row.
int64_t BinOrvela::new_row_id(int t) const {
  if (ORVOBJ.ID != 0) return ORVOBJ.ID;
  const int64_t max = max_id_[static_cast<size_t>(t)];
  return max == std::numeric_limits<int64_t>::max() ? 0 : max + 1;
}

void BinOrvela::flush() {
  for (BatchedInsert* b : {&poi_rows_, &line_rows_, &tag_rows_}) b->flush();
}

// The columns objtype to countryid of a point or line row; NULL where
// there is no text.
void BinOrvela::fill_common(std::span<BatchedInsert::Value> row,
                            const std::array<uint32_t, 6>& ids) {
  row[0] = ORVOBJ.OBJTYPE;
  for (size_t i = 0; i < 3; ++i)
    if (ids[i] > 0) row[1 + i] = int64_t{ids[i]};
  if (!ORVOBJ.HOUSENUM.empty()) row[4] = ORVOBJ.HOUSENUM;
  for (size_t i = 3; i < 6; ++i)
    if (ids[i] > 0) row[2 + i] = int64_t{ids[i]};
}

uint32_t BinOrvela::GETSTRINGID(std::string_view s, uint8_t sqsindex) {
  if (s.empty()) return 0;
  BINORVELSQSREC& r = BINORVELSQS[sqsindex - 1u];
  if (auto it = r.known.find(s); it != r.known.end()) return it->second;
  uint32_t id = 0;
  db_.DBBINDSTR(r.QGET, 1, s);
  int rc = db_.DBSTEP(r.QGET);
  db_.IFDBERREX("getstring");
  if (rc == SQLITE_ROW) id = static_cast<uint32_t>(sqlite3_column_int64(r.QGET, 0));
  db_.DBRESET(r.QGET);
  if (id == 0) {
    db_.DBBINDSTR(r.QSET, 1, s);
    db_.DBSTEP(r.QSET);
    db_.IFDBERREX("addstring");
    id = static_cast<uint32_t>(db_.DBINSERTID());
    db_.DBRESET(r.QSET);
  }
  // The memory of texts is bounded: once full, it starts over (the table
  // still answers every lookup).
  known_bytes_ += s.size() + kKnownEntryOverhead;
  if (known_bytes_ > limits_.known_bytes) {
    for (BINORVELSQSREC& t : BINORVELSQS) t.known.clear();
    known_bytes_ = s.size() + kKnownEntryOverhead;
  }
  r.known.emplace(std::string(s), id);
  return id;
}

// Holds the row for a batched insert when `id` is surely new; otherwise
// (an id perhaps taken, or none at all) writes it at once after the rows
// held, so that SQLite refuses a repeated id and gives a missing one. The
// row's id, 0 when it was refused.
int64_t BinOrvela::insert_row(BatchedInsert& rows, int t, int64_t id,
                              std::array<BatchedInsert::Value, 13>& row) {
  if (id != 0 && !maybe_taken(t, id)) {
    mark_taken(t, id);
    std::ranges::move(row, rows.add().begin());
    return id;
  }
  int64_t rowid = 0;
  if (!rows.insert_now(row, rowid)) {
    ++duplicates_;
    return 0;
  }
  mark_taken(t, rowid);
  return rowid;
}

int64_t BinOrvela::save_line(const std::array<uint32_t, 6>& ids) {
  int32_t minlat = ORVPOINTS[0].Y, maxlat = minlat, minlon = ORVPOINTS[0].X, maxlon = minlon;
  blob_.clear();
  blob_.reserve(ORVPOINTS.size() * 2 * map::VARINT_MAXBYTES);
  map::POINT prev{};
  for (const map::POINT& p : ORVPOINTS) {
    minlat = std::min(minlat, p.Y);
    maxlat = std::max(maxlat, p.Y);
    minlon = std::min(minlon, p.X);
    maxlon = std::max(maxlon, p.X);
    map::VARINT_ENCODE(p.X - prev.X, blob_);
    map::VARINT_ENCODE(p.Y - prev.Y, blob_);
    prev = p;
  }
  const int64_t id = new_row_id(1);
  std::array<BatchedInsert::Value, 13> row;
  fill_common(row, ids);
  row[8] = int64_t{ORVOBJ.STARTLEV};
  row[9] = int64_t{ORVOBJ.ENDLEV};
  row[10] = blob_;
  if (!ORVHLEVEL.empty()) row[11] = map::encode_hlevels(ORVHLEVEL);
  if (id != 0) row[12] = id;  // else NULL: SQLite's autoincrement
  const int64_t rowid = insert_row(line_rows_, 1, id, row);
  if (rowid == 0) return 0;
  boxes_.push_back({rowid, minlon, maxlon, minlat, maxlat});
  if (boxes_.size() >= limits_.held_boxes) insert_line_boxes();
  return rowid;
}

// The R*Tree gets its rows ordered along a Hilbert curve through the box
// centres, so that neighbouring lines share tree nodes.
std::vector<uint32_t> BinOrvela::hilbert_order() const {
  std::vector<std::pair<uint32_t, uint32_t>> keyed;  // (curve position, index in boxes_)
  keyed.reserve(boxes_.size());
  for (size_t i = 0; i < boxes_.size(); ++i) {
    const LineBox& b = boxes_[i];
    keyed.emplace_back(hilbert_key(midpoint(b.minlon, b.maxlon), midpoint(b.minlat, b.maxlat)),
                       static_cast<uint32_t>(i));
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<uint32_t> order;
  order.reserve(keyed.size());
  for (const auto& k : keyed) order.push_back(k.second);
  return order;
}

// Normally every box is still held when the file is finished, and the tree
// is packed in one go. A map with more lines than we hold has had its
// earlier boxes inserted row by row already; the rest follow the same way.
void BinOrvela::write_line_boxes() {
  if (tree_started_) {
    insert_line_boxes();
    return;
  }
  std::vector<RtreeRow> rows;
  rows.reserve(boxes_.size());
  for (uint32_t i : hilbert_order()) {
    const LineBox& b = boxes_[i];
    rows.push_back(
        {b.rowid, degrees(b.minlon), degrees(b.maxlon), degrees(b.minlat), degrees(b.maxlat)});
  }
  boxes_ = {};
  RTREE_PACK(db_, "orvel_linidx", rows);
}

void BinOrvela::insert_line_boxes() {
  tree_started_ = true;
  for (uint32_t i : hilbert_order()) {
    const LineBox& b = boxes_[i];
    db_.DBBINDQWORD(ORV_ADDLINIDX, 1, b.rowid);
    db_.DBBINDDOUBLE(ORV_ADDLINIDX, 2, degrees(b.minlon));
    db_.DBBINDDOUBLE(ORV_ADDLINIDX, 3, degrees(b.maxlon));
    db_.DBBINDDOUBLE(ORV_ADDLINIDX, 4, degrees(b.minlat));
    db_.DBBINDDOUBLE(ORV_ADDLINIDX, 5, degrees(b.maxlat));
    db_.IFDBERREX("binding parameters");
    db_.DBSTEP(ORV_ADDLINIDX);
    db_.IFDBERREX("Adding line index");
    db_.DBRESET(ORV_ADDLINIDX);
    db_.DBCLEARBINDINGS(ORV_ADDLINIDX);
  }
  boxes_.clear();
}

int64_t BinOrvela::save_point(const std::array<uint32_t, 6>& ids) {
  const int64_t id = new_row_id(0);
  std::array<BatchedInsert::Value, 13> row;
  fill_common(row, ids);
  row[8] = int64_t{ORVOBJ.LAT};
  row[9] = int64_t{ORVOBJ.LON};
  row[10] = int64_t{ORVOBJ.STARTLEV};
  row[11] = int64_t{ORVOBJ.ENDLEV};
  if (id != 0) row[12] = id;  // else NULL: SQLite's autoincrement
  return insert_row(poi_rows_, 0, id, row);
}

void BinOrvela::save_tags(int64_t rowid) {
  for (const TAGREC& t : ORVTAGS) {
    const uint32_t k = GETSTRINGID(t.K, BINORVELSQSTAGNAME);
    const uint32_t v = GETSTRINGID(t.V, BINORVELSQSTAGVALUE);
    std::span<BatchedInsert::Value> row = tag_rows_.add();
    row[0] = ORVOBJ.OBJTYPE;
    row[1] = rowid;
    row[2] = int64_t{k};
    row[3] = int64_t{v};
  }
}

int64_t BinOrvela::BINORVEL_SAVEREC() {
  const std::array<uint32_t, 6> ids = {GETSTRINGID(ORVOBJ.NAME, BINORVELSQSNAME),
                                       GETSTRINGID(ORVOBJ.TYP, BINORVELSQSTYPE),
                                       GETSTRINGID(ORVOBJ.STREET, BINORVELSQSSTREET),
                                       GETSTRINGID(ORVOBJ.CITY, BINORVELSQSCITY),
                                       GETSTRINGID(ORVOBJ.REGION, BINORVELSQSREGION),
                                       GETSTRINGID(ORVOBJ.COUNTRY, BINORVELSQSCOUNTRY)};
  saved_ids_ = ids;
  int64_t rowid = 0;
  char letter = map::objtype_letter(ORVOBJ);
  if (letter == map::OBJTYPE_LINE || letter == map::OBJTYPE_POLYGON) {
    if (!ORVPOINTS.empty()) rowid = save_line(ids);
  } else {
    rowid = save_point(ids);
  }
  if (rowid != 0) save_tags(rowid);
  ORVPOINTS.clear();
  ORVTAGS.clear();
  ORVOBJ = map::ORVOBJREC{};
  return rowid;
}

void BinOrvela::finalize_statements() {
  for (map::Stmt* s : {&ORV_ADDLINIDX}) {
    s->reset();
  }
  for (BatchedInsert* b : {&poi_rows_, &line_rows_, &tag_rows_}) b->finalize();
  taken_ = {};
  for (BINORVELSQSREC& r : BINORVELSQS) {
    r.QGET.reset();
    r.QSET.reset();
    r.known = {};
  }
}

int64_t BinOrvela::free_pages() {
  map::Stmt q = db_.DBPREPARE("PRAGMA freelist_count;");
  db_.IFDBERREX("freelist_count");
  const int64_t n = db_.DBSTEP(q) == SQLITE_ROW ? sqlite3_column_int64(q, 0) : 0;
  db_.IFDBERREX("freelist_count");
  return n;
}

void BinOrvela::BINORVEL_CLOSE(uint8_t code) {
  try {
    if (code == 0) {
      flush();
      write_line_boxes();
    }
  } catch (...) {
    boxes_ = {};
    finalize_statements();
    open_ = false;
    throw;
  }
  boxes_ = {};
  finalize_statements();
  open_ = false;
  if (code == 0) {
    namespace s = map::schema;
    db_.DBQUERY(s::CREATE_IDXLATLON);
    db_.IFDBERREX("index dla poi");
    db_.DBQUERY(s::CREATE_IDXPOISTARTLEV);
    db_.DBQUERY(s::CREATE_IDXPOIENDLEV);
    db_.IFDBERREX("index lvl dla poi");
    db_.DBQUERY(s::CREATE_IDXLINSTARTLEV);
    db_.DBQUERY(s::CREATE_IDXLINENDLEV);
    db_.IFDBERREX("index lvl for lines");
    // A commit that fails (a full disk) must not pass for a finished map.
    db_.DBQUERY("commit;");
    db_.IFDBERREX("commit");
    // Scratch tables of a large import leave free pages behind: only then
    // is the file compacted. It copies the file through a page cache as
    // large as the connection's; a small one does for a straight copy and
    // keeps the memory of a large import bounded.
    if (free_pages() > 0) {
      db_.DBQUERY("PRAGMA cache_size=-16384;");
      db_.DBQUERY("vacuum;");
      // A compaction that ran out of room leaves a file no one may trust.
      db_.IFDBERREX("vacuum");
    }
  }
  db_.DBCLOSE();
}

}  // namespace orvela::osm
