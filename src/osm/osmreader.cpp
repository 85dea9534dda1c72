#include "osm/osmreader.h"

#include <sqlite3.h>

#include <cerrno>
#include <exception>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "explore/crossing.h"
#include "osm/binorvela.h"
#include "osm/element_source.h"
#include "osm/node_store.h"
#include "osm/way_nodes.h"
#include "osm/writer_thread.h"
#include "text/atomic_file.h"
#include "text/translate.h"
#include "text/utf8.h"

namespace orvela::osm {
namespace {

namespace fs = std::filesystem;

// Far beyond any real way (the OSM API allows 2000 nodes); a longer one is broken input.
constexpr size_t kMaxWayNodes = 1000000;

// The page cache of a connection, in KiB.
void set_cache(map::MapDb& db, int kib) {
  db.DBQUERY("PRAGMA cache_size=-" + std::to_string(kib) + ";");
}

// The tags the node of an intersection kept as a point of its own.
constexpr std::string_view kNodeTags =
    "select tn.tagname, tv.tagvalue from orvel_tags t join orvel_tagname tn on "
    "t.tagnameid=tn.tagnameid join orvel_tagvalue tv on t.tagvalueid=tv.tagvalueid where "
    "t.objtype='p' and t.objectid=?1 order by t.id;";

// The texts of one string table of the map by their ids, each read once.
class StringLookup {
 public:
  explicit StringLookup(map::MapDb& db) : db_(db) {}
  void prepare(const std::string& p) {
    q_ = db_.DBPREPARE("select " + p + " from orvel_" + p + " where " + p + "id=?1;");
    db_.IFDBERREX("prepq " + p);
  }
  void finalize() {
    q_.reset();
    known_ = {};
  }
  // The text of `id`; empty for 0 or an id the table lacks.
  const std::string& text(uint32_t id) {
    auto [it, added] = known_.try_emplace(id);
    if (!added || id == 0) return it->second;
    db_.DBBINDQWORD(q_, 1, id);
    if (db_.DBSTEP(q_) == SQLITE_ROW) it->second = map::column_text(q_, 0);
    db_.IFDBERREX("getintersection");
    db_.DBRESET(q_);
    return it->second;
  }

 private:
  map::MapDb& db_;
  map::Stmt q_;
  std::unordered_map<uint32_t, std::string> known_;
};

// The element being read: nothing, a node, or a way.
enum class Parent { none, node, way };

// The conversion proper: receives the elements of the file and makes
// objects of them, which a writer thread stores while reading goes on.
// Node positions that do not fit in memory go to a scratch database of
// their own (`scratch`), so that the two threads never share a connection.
class Converter final : public OsmElementSink {
 public:
  Converter(map::MapDb& db, map::MapDb& scratch, BinOrvela& w, const OsmRules& rules,
            const OsmImportOptions& opt, OsmImportStats& stats)
      : db_(db),
        w_(w),
        rules_(rules),
        opt_(opt),
        st_(stats),
        nodes_(scratch, opt.limits.node_cache_bits),
        waynodes_(db, opt.limits.held_way_nodes),
        names_(db),
        types_(db) {}

  void create_temp_tables();
  // Starts storing on the writer thread.
  void start_writer() {
    writer_.emplace([this](PendingObject& o) { store(o); });
  }
  // Waits for the writer to store every object (or drops what it still
  // holds when the import will not be kept) and rethrows what failed on
  // either side: after this only the calling thread uses the map.
  void finish_writing(bool keep);
  void finalize_temp_statements();
  void drop_temp_tables() { waynodes_.drop_tables(); }
  void DETECTINTERSECTIONS();
  bool HANDLEPROGRESS(uint64_t cur, uint64_t total) {
    // Once asked to stop, we stay stopped whatever later calls answer.
    if (opt_.progress && opt_.progress(cur, total)) PROCESSCANCEL = true;
    return PROCESSCANCEL;
  }
  bool cancelled() const { return PROCESSCANCEL; }
  bool malformed() const { return malformed_; }
  const std::string& malformed_detail() const { return malformed_detail_; }
  uint64_t spilled_nodes() const { return nodes_.spilled(); }

  void node(const OSMNODE& n) override;
  void way(uint64_t id) override;
  void tag(const TAGREC& t) override;
  void nd(uint64_t ref) override;
  void end(OsmElement e) override;
  // Reading stops once storing has failed on either thread.
  bool progress(uint64_t cur, uint64_t total) override {
    return HANDLEPROGRESS(cur, total) || failure_ || (writer_ && writer_->failed());
  }

 private:
  void start(Parent p);
  void apply_tag(const TAGREC& t);
  void resolve_way_nodes();
  void save_element();
  void store(PendingObject& o);
  void record_way_nodes(int64_t rowid, const std::vector<OSMNODE>& nodes);
  std::string intersection_name(const Intersection& x);
  void add_crossing_tags(map::Stmt& q, int64_t nodeid);

  map::MapDb& db_;
  BinOrvela& w_;
  const OsmRules& rules_;
  const OsmImportOptions& opt_;
  OsmImportStats& st_;
  Parent PARENTTAG = Parent::none;
  uint64_t element_tags_ = 0;  // tags of the current element
  bool THISWAYROUTABLE = false;
  std::vector<uint64_t> THISWAYREFS;   // the node references of the current way
  PendingObject cur_;                  // the element being read, as an object
  std::unordered_set<uint64_t> seen_;  // the writer's
  // Nodes that kept crossing tags, by a hash of their id (bounded memory,
  // false positives only): the intersection search looks up the tags only
  // where this may have some.
  static constexpr unsigned kCrossingBits = 20;
  static size_t crossing_slot(int64_t id) {
    return static_cast<size_t>((static_cast<uint64_t>(id) * 0x9E3779B97F4A7C15ull) >>
                               (64 - kCrossingBits));
  }
  std::vector<bool> crossing_nodes_ = std::vector<bool>(size_t{1} << kCrossingBits);
  TAGREC repaired_;  // a tag whose bytes were not all UTF-8, mended
  NodeStore nodes_;
  WayNodes waynodes_;
  StringLookup names_, types_;  // for naming intersections
  std::optional<WriterThread> writer_;
  // What failed on the reading side (the scratch database): thrown once
  // reading has stopped, not through the reader of the file.
  std::exception_ptr failure_;
  bool PROCESSCANCEL = false;
  bool malformed_ = false;
  std::string malformed_detail_;  // what made the data malformed first
};

void Converter::create_temp_tables() {
  set_cache(db_, opt_.limits.map_cache_kib);
  nodes_.create_table();
  waynodes_.create_tables();
}

void Converter::finalize_temp_statements() { nodes_.finalize(); }

void Converter::finish_writing(bool keep) {
  if (!writer_) return;
  if (failure_) keep = false;
  if (keep) {
    writer_->finish();
  } else {
    writer_->abandon();
  }
  writer_.reset();
  if (failure_) std::rethrow_exception(failure_);
}

// Every element starts with an empty object, tag list and vertex list.
void Converter::start(Parent p) {
  PARENTTAG = p;
  element_tags_ = 0;
  cur_.obj = map::ORVOBJREC{};
  cur_.tags.clear();
  cur_.nodes.clear();
  cur_.routable = false;
}

void Converter::node(const OSMNODE& n) {
  if (failure_) return;
  start(Parent::node);
  // All 64 bits: ids of nodes made since 2016 are beyond 32 bits, and an
  // editor's new objects are negative.
  cur_.obj.ID = static_cast<int64_t>(n.ID);
  cur_.obj.LAT = n.LAT;
  cur_.obj.LON = n.LON;
  cur_.obj.OBJTYPE.assign(1, map::OBJTYPE_POI);
  try {
    nodes_.ADDOSMNODE(n);
  } catch (...) {
    failure_ = std::current_exception();
  }
  ++st_.ILNODES;
}

void Converter::way(uint64_t id) {
  start(Parent::way);
  cur_.obj.OBJTYPE.assign(1, map::OBJTYPE_LINE);
  cur_.obj.ID = static_cast<int64_t>(id);
  THISWAYROUTABLE = false;
  THISWAYREFS.clear();
}

void Converter::tag(const TAGREC& t) {
  if (PARENTTAG == Parent::none) return;
  // Texts go to speech and to the screen reader as UTF-8, but real extracts
  // hold a stray Latin-1 byte here and there: one such tag must not cost
  // the whole import, so its bad bytes become U+FFFD.
  if (!text::valid_utf8(t.K) || !text::valid_utf8(t.V)) {
    repaired_.K = text::repair_utf8(t.K);
    repaired_.V = text::repair_utf8(t.V);
    ++st_.repaired_tags;
    apply_tag(repaired_);
    return;
  }
  apply_tag(t);
}

void Converter::apply_tag(const TAGREC& t) {
  const bool taken = OsmRules::OSMRULES_INTERNALPROC(t, cur_.obj, st_.ILIGNOREDTAGS) ||
                     rules_.OSMRULES_OTAGPROC(t, cur_.obj);
  // How a crossing can be used stays with its node even when a rule made
  // the tag the node's type: the type names one thing, the tags tell all.
  if (PARENTTAG == Parent::node && explore::is_crossing_tag(t.K, t.V)) {
    crossing_nodes_[crossing_slot(cur_.obj.ID)] = true;
    cur_.tags.push_back(t);
  } else if (!taken) {
    cur_.tags.push_back(t);
  }
  ++element_tags_;
  if (PARENTTAG == Parent::node) {
    ++st_.ILTAGNODES;
  } else if (PARENTTAG == Parent::way) {
    ++st_.ILTAGWAYS;
    if (t.K == "highway") THISWAYROUTABLE = true;
  }
}

void Converter::nd(uint64_t ref) {
  if (PARENTTAG != Parent::way) return;
  if (THISWAYREFS.size() >= kMaxWayNodes) {
    if (!malformed_) {
      malformed_detail_ = text::STRTOKENREPLACE(
          text::_("Way {id} has more than {max} nodes."),
          {"id", std::to_string(cur_.obj.ID), "max", std::to_string(kMaxWayNodes)});
    }
    malformed_ = true;
    return;
  }
  THISWAYREFS.push_back(ref);
}

// The vertices of a way are looked up all at once, when it is kept: a way
// without name, type or tags never needs them, and the lookups of one way
// overlap their waits for memory.
void Converter::resolve_way_nodes() {
  // A reference to a node that never came would put a vertex at 0,0: skip it.
  st_.missing_nodes += nodes_.get_many(THISWAYREFS, cur_.nodes);
}

// Hands the current object to the writer when it has a name, a type or free tags.
void Converter::save_element() {
  const map::ORVOBJREC& o = cur_.obj;
  if (o.NAME.empty() && o.TYP.empty() && cur_.tags.empty()) return;
  if (PARENTTAG == Parent::way) {
    resolve_way_nodes();
    cur_.routable = THISWAYROUTABLE;
  }
  writer_->push(std::move(cur_));
}

// On the writer's thread: stores one object and, for a routable way, its nodes.
void Converter::store(PendingObject& o) {
  w_.ORVOBJ = std::move(o.obj);
  w_.ORVTAGS = std::move(o.tags);
  w_.ORVPOINTS.clear();
  for (const OSMNODE& n : o.nodes) w_.ADDPOINT(n.LAT, n.LON);
  const int64_t rowid = w_.BINORVEL_SAVEREC();
  if (o.routable && rowid != 0) record_way_nodes(rowid, o.nodes);
}

// Only a way that was stored can meet others: its row is what the
// intersection search joins on, and a refused duplicate must not lend its
// nodes to the object that owns the id. A node met twice in one way (a
// closed way's ends) is recorded once, with the flag of its first occurrence.
void Converter::record_way_nodes(int64_t rowid, const std::vector<OSMNODE>& nodes) {
  // Most ways are short: looking back along them is cheaper than a set.
  constexpr size_t kShortWay = 32;
  const bool is_short = nodes.size() <= kShortWay;
  auto met_before = [&](size_t i) {
    if (!is_short) return !seen_.insert(nodes[i].ID).second;
    for (size_t j = 0; j < i; ++j)
      if (nodes[j].ID == nodes[i].ID) return true;
    return false;
  };
  seen_.clear();
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (met_before(i)) continue;
    waynodes_.ADDOSMWAYNODE(rowid, nodes[i], i == 0 || i + 1 == nodes.size(), w_.saved_name_id(),
                            w_.saved_type_id());
  }
}

void Converter::end(OsmElement e) {
  if (PARENTTAG != (e == OsmElement::node ? Parent::node : Parent::way)) return;
  // Ways count when they hold something; an empty one is no map data.
  if (PARENTTAG == Parent::way && (element_tags_ > 0 || !THISWAYREFS.empty())) ++st_.ILWAYS;
  if (!failure_) {
    try {
      save_element();
    } catch (...) {
      failure_ = std::current_exception();
    }
  }
  THISWAYREFS.clear();
  PARENTTAG = Parent::none;
}

// The words of an intersection: for each kind of way through it, the
// way's name, or its type when it has no name.
std::string Converter::intersection_name(const Intersection& x) {
  std::string name;
  for (const auto& [type_id, name_id] : x.kinds) {
    const std::string& n = names_.text(name_id);
    const std::string& t = types_.text(type_id);
    if (n.empty() && t.empty()) continue;
    if (!name.empty()) name += ' ';
    name += n.empty() ? t : n;
  }
  return name;
}

// An intersection that is also a crossing (traffic signals where roads
// meet) tells so: the crossing tags of its node, which was stored as a
// point under the node's id, go with it.
void Converter::add_crossing_tags(map::Stmt& q, int64_t nodeid) {
  db_.DBBINDQWORD(q, 1, nodeid);
  while (db_.DBSTEP(q) == SQLITE_ROW) {
    TAGREC t{map::column_text(q, 0), map::column_text(q, 1)};
    if (explore::is_crossing_tag(t.K, t.V)) w_.ADDTAG(t);
  }
  db_.IFDBERREX("getnodetags");
  db_.DBRESET(q);
}

void Converter::DETECTINTERSECTIONS() {
  HANDLEPROGRESS(OSMREAD_EVMAPINTERSECTIONS, 0);
  w_.flush();  // the crossing tags of nodes are read back
  names_.prepare("name");
  types_.prepare("type");
  map::Stmt node_tags = db_.DBPREPARE(kNodeTags);
  db_.IFDBERREX("prepq getnodetags");
  waynodes_.find_intersections([&](const Intersection& x) {
    w_.ORVOBJ = map::ORVOBJREC{};
    w_.ORVOBJ.OBJTYPE.assign(1, map::OBJTYPE_INTERSECTION);
    w_.ORVOBJ.LAT = x.lat;
    w_.ORVOBJ.LON = x.lon;
    w_.ORVOBJ.NAME = intersection_name(x);
    w_.CLEARTAGS();
    const auto nodeid = static_cast<int64_t>(x.nodeid);
    if (crossing_nodes_[crossing_slot(nodeid)]) add_crossing_tags(node_tags, nodeid);
    w_.ORVPOINTS.clear();
    if (w_.BINORVEL_SAVEREC() != 0) ++st_.intersections;
  });
  names_.finalize();
  types_.finalize();
}

OsmImportResult error_result(int code, std::string desc) {
  OsmImportResult r;
  r.LASTERR = code;
  r.LASTERRDESC = std::move(desc);
  return r;
}

OsmImportResult format_error(std::optional<uint64_t> offset, std::string detail = {}) {
  OsmImportResult r = error_result(OSMERR_FORMAT, text::_("bad file format."));
  r.error_offset = offset;
  r.error_detail = std::move(detail);
  return r;
}

// Says why the map could not be written: the system's words when the
// system said no (a full disk), else SQLite's.
OsmImportResult database_error(int sqlite_code, int system_errno) {
  std::string reason;
  if (system_errno != 0) {
    reason = std::system_category().message(system_errno);
  } else if ((sqlite_code & 0xff) == SQLITE_FULL) {
    reason = std::system_category().message(ENOSPC);
  } else {
    reason = sqlite3_errstr(sqlite_code);
  }
  return error_result(
      OSMERR_DATABASE,
      text::STRTOKENREPLACE(text::_("database creation problem: {error}"), {"error", reason}));
}

// The scratch database: nobody else reads it and it is thrown away after
// the import, so it is written with no safety at all.
void open_scratch(map::MapDb& scratch, const fs::path& fn, int cache_kib) {
  scratch.DBCONNECT(fn.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
  scratch.IFDBERREX("Opening scratch database");
  scratch.DBQUERY("PRAGMA synchronous=off;");
  scratch.DBQUERY("PRAGMA journal_mode=off;");
  set_cache(scratch, cache_kib);
  scratch.DBQUERY("begin transaction;");
  scratch.IFDBERREX("Opening scratch database");
}

// Everything after the map file is open: read, search, finish or abandon.
// The finished map is renamed from `temp` to `outfn`.
OsmImportResult convert(BinOrvela& w, Converter& c, OsmElementSource& src, const fs::path& temp,
                        const fs::path& outfn, OsmImportStats& stats) {
  OsmImportResult r;
  c.create_temp_tables();
  c.start_writer();
  const SourceResult s = src.read(c);
  c.finalize_temp_statements();
  c.finish_writing(s.status == SourceStatus::ok && !c.malformed() && !c.cancelled());
  if (s.status != SourceStatus::ok) {
    r = format_error(s.offset, s.detail);
  } else if (c.malformed()) {
    r = format_error(std::nullopt, c.malformed_detail());
  }
  if (r.LASTERR == 0 && !c.cancelled()) {
    c.DETECTINTERSECTIONS();
  } else {
    // Nothing will be kept: skip the search but still announce the phase.
    c.HANDLEPROGRESS(OSMREAD_EVMAPINTERSECTIONS, 0);
  }
  c.HANDLEPROGRESS(OSMREAD_EVMAPCLOSE, 0);
  src.close();
  c.drop_temp_tables();
  // A cancel is the user's choice, not an empty file: it gets no error text.
  if (r.LASTERR == 0 && !c.cancelled() && (stats.ILNODES == 0 || stats.ILWAYS == 0)) {
    r = error_result(OSMERR_NODATA,
                     text::_("No map data in imported file. Bad file format, or server error."));
  }
  stats.duplicates = w.duplicates();
  stats.spilled_nodes = c.spilled_nodes();
  if (c.cancelled() || r.LASTERR > 0) {
    r.cancelled = r.LASTERR == 0;
    w.BINORVEL_CLOSE(1);
    return r;
  }
  w.BINORVEL_CLOSE(0);
  const text::WriteResult placed = text::replace_with_temp(temp, outfn);
  return placed ? r : database_error(SQLITE_IOERR, placed.error);
}

}  // namespace

std::string import_error_text(int err, const std::string& desc, const std::string& detail) {
  std::string t = text::STRTOKENREPLACE(text::_("Error {errnum}: {errdesc}."),
                                        {"errnum", std::to_string(err), "errdesc", desc});
  if (!detail.empty()) t += "\n" + detail;
  return t;
}

OsmImportResult rules_unreadable() {
  return error_result(OSMERR_RULES, text::_("Can not read osm.rules"));
}

OsmImportResult OSMPROCFILE(const fs::path& infn, const fs::path& outfn, const fs::path& errlog,
                            const OsmImportOptions& opt) {
  std::optional<OsmRules> loaded;
  if (!opt.rules) {
    loaded = load_osm_rules(opt.rules_file, opt.info);
    if (!loaded) return rules_unreadable();
  }
  const OsmRules& rules = opt.rules ? *opt.rules : *loaded;
  std::unique_ptr<OsmElementSource> src = make_element_source(infn);
  const SourceResult s = src->open(infn);
  if (s.status == SourceStatus::cannot_open) {
    return error_result(OSMERR_OPEN, "error opening file" + infn.string());
  }
  OsmImportStats local;
  OsmImportStats& stats = opt.stats ? *opt.stats : local;
  stats = OsmImportStats{};
  // The temporary map goes whatever way this ends unless it became the map;
  // the guard outlives the connection, which closes first.
  const fs::path temp = text::temp_path_beside(outfn);
  text::RemoveOnFailure guard({temp, temp.string() + "-journal"});
  // Node positions beyond memory go to a scratch database of their own,
  // which never outlives the import.
  const fs::path scratch_file = text::temp_path_beside(outfn);
  text::RemoveOnFailure scratch_guard({scratch_file, scratch_file.string() + "-journal"});
  map::MapDb db(errlog);
  map::MapDb scratch(errlog);
  BinOrvela w(db, opt.limits.writer);
  Converter c(db, scratch, w, rules, opt, stats);
  c.HANDLEPROGRESS(OSMREAD_EVMAPINIT, 0);
  if (s.status != SourceStatus::ok) return format_error(s.offset, s.detail);
  try {
    w.BINORVEL_INIT(temp.string());
    open_scratch(scratch, scratch_file, opt.limits.scratch_cache_kib);
    OsmImportResult r = convert(w, c, *src, temp, outfn, stats);
    if (r.LASTERR == 0 && !r.cancelled) guard.keep();
    return r;
  } catch (const map::DbFatalError& e) {
    // Already in the error log; this import ends, the program goes on.
    return database_error(e.code(), e.system_errno());
  }
}

}  // namespace orvela::osm
