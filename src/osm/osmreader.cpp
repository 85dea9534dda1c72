#include "osm/osmreader.h"

#include <sqlite3.h>

#include <cerrno>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "explore/crossing.h"
#include "osm/binorvela.h"
#include "osm/element_source.h"
#include "osm/node_store.h"
#include "osm/way_nodes.h"
#include "text/atomic_file.h"
#include "text/translate.h"
#include "text/utf8.h"

namespace orvela::osm {
namespace {

namespace fs = std::filesystem;

// Far beyond any real way (the OSM API allows 2000 nodes); a longer one is broken input.
constexpr size_t kMaxWayNodes = 1000000;

// Node positions that did not fit in memory are looked up in way order,
// which jumps around their table: a large page cache keeps those lookups off
// the disk. 64 MB, so that with the limits of ImportLimits an import stays
// under 300 MB.
constexpr const char* kCachePragma = "PRAGMA cache_size=-65536;";

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

// The conversion proper: receives the elements of the file and writes objects.
class Converter final : public OsmElementSink {
 public:
  Converter(map::MapDb& db, BinOrvela& w, const OsmRules& rules, const OsmImportOptions& opt,
            OsmImportStats& stats)
      : db_(db),
        w_(w),
        rules_(rules),
        opt_(opt),
        st_(stats),
        nodes_(db, opt.limits.node_cache_bits),
        waynodes_(db, opt.limits.held_way_nodes),
        names_(db),
        types_(db) {}

  void create_temp_tables();
  void finalize_temp_statements();
  void drop_temp_tables() {
    db_.DBQUERY("drop table osm_nodes;");
    waynodes_.drop_tables();
  }
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
  bool progress(uint64_t cur, uint64_t total) override { return HANDLEPROGRESS(cur, total); }

 private:
  void start(Parent p);
  void apply_tag(const TAGREC& t);
  void resolve_way_nodes();
  int64_t save_element();
  void record_way_nodes(int64_t rowid);
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
  std::vector<uint64_t> THISWAYREFS;  // the node references of the current way
  std::vector<OSMNODE> THISWAYNODES;  // those found, looked up when the way is kept
  std::unordered_set<uint64_t> seen_;
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
  bool PROCESSCANCEL = false;
  bool malformed_ = false;
  std::string malformed_detail_;  // what made the data malformed first
};

void Converter::create_temp_tables() {
  db_.DBQUERY(kCachePragma);
  nodes_.create_table();
  waynodes_.create_tables();
}

void Converter::finalize_temp_statements() { nodes_.finalize(); }

// Every element starts with an empty object, tag list and vertex list.
void Converter::start(Parent p) {
  PARENTTAG = p;
  element_tags_ = 0;
  w_.ORVOBJ = map::ORVOBJREC{};
  w_.CLEARTAGS();
  w_.ORVPOINTS.clear();
}

void Converter::node(const OSMNODE& n) {
  start(Parent::node);
  // All 64 bits: ids of nodes made since 2016 are beyond 32 bits, and an
  // editor's new objects are negative.
  w_.ORVOBJ.ID = static_cast<int64_t>(n.ID);
  w_.ORVOBJ.LAT = n.LAT;
  w_.ORVOBJ.LON = n.LON;
  w_.ORVOBJ.OBJTYPE.assign(1, map::OBJTYPE_POI);
  nodes_.ADDOSMNODE(n);
  ++st_.ILNODES;
}

void Converter::way(uint64_t id) {
  start(Parent::way);
  w_.ORVOBJ.OBJTYPE.assign(1, map::OBJTYPE_LINE);
  w_.ORVOBJ.ID = static_cast<int64_t>(id);
  THISWAYROUTABLE = false;
  THISWAYREFS.clear();
  THISWAYNODES.clear();
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
  const bool taken = OsmRules::OSMRULES_INTERNALPROC(t, w_.ORVOBJ, st_.ILIGNOREDTAGS) ||
                     rules_.OSMRULES_OTAGPROC(t, w_.ORVOBJ);
  // How a crossing can be used stays with its node even when a rule made
  // the tag the node's type: the type names one thing, the tags tell all.
  if (PARENTTAG == Parent::node && explore::is_crossing_tag(t.K, t.V)) {
    crossing_nodes_[crossing_slot(w_.ORVOBJ.ID)] = true;
    w_.ADDTAG(t);
  } else if (!taken) {
    w_.ADDTAG(t);
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
          {"id", std::to_string(w_.ORVOBJ.ID), "max", std::to_string(kMaxWayNodes)});
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
  st_.missing_nodes += nodes_.get_many(THISWAYREFS, THISWAYNODES);
  for (const OSMNODE& n : THISWAYNODES) w_.ADDPOINT(n.LAT, n.LON);
}

// Stores the current object when it has a name, a type or free tags;
// returns its row id, 0 when nothing was stored.
int64_t Converter::save_element() {
  const map::ORVOBJREC& o = w_.ORVOBJ;
  if (o.NAME.empty() && o.TYP.empty() && w_.ORVTAGS.empty()) return 0;
  if (PARENTTAG == Parent::way) resolve_way_nodes();
  return w_.BINORVEL_SAVEREC();
}

// Only a way that was stored can meet others: its row is what the
// intersection search joins on, and a refused duplicate must not lend its
// nodes to the object that owns the id. A node met twice in one way (a
// closed way's ends) is recorded once, with the flag of its first occurrence.
void Converter::record_way_nodes(int64_t rowid) {
  seen_.clear();
  for (size_t i = 0; i < THISWAYNODES.size(); ++i) {
    if (!seen_.insert(THISWAYNODES[i].ID).second) continue;
    waynodes_.ADDOSMWAYNODE(rowid, THISWAYNODES[i], i == 0 || i + 1 == THISWAYNODES.size(),
                            w_.saved_name_id(), w_.saved_type_id());
  }
}

void Converter::end(OsmElement e) {
  if (PARENTTAG != (e == OsmElement::node ? Parent::node : Parent::way)) return;
  // Ways count when they hold something; an empty one is no map data.
  if (PARENTTAG == Parent::way && (element_tags_ > 0 || !THISWAYREFS.empty())) ++st_.ILWAYS;
  const int64_t rowid = save_element();
  if (PARENTTAG == Parent::way && THISWAYROUTABLE && rowid != 0) record_way_nodes(rowid);
  THISWAYREFS.clear();
  THISWAYNODES.clear();
  w_.ORVPOINTS.clear();
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

// Everything after the map file is open: read, search, finish or abandon.
// The finished map is renamed from `temp` to `outfn`.
OsmImportResult convert(BinOrvela& w, Converter& c, OsmElementSource& src, const fs::path& temp,
                        const fs::path& outfn, OsmImportStats& stats) {
  OsmImportResult r;
  c.create_temp_tables();
  const SourceResult s = src.read(c);
  c.finalize_temp_statements();
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
  map::MapDb db(errlog);
  BinOrvela w(db, opt.limits.writer);
  Converter c(db, w, rules, opt, stats);
  c.HANDLEPROGRESS(OSMREAD_EVMAPINIT, 0);
  if (s.status != SourceStatus::ok) return format_error(s.offset, s.detail);
  try {
    w.BINORVEL_INIT(temp.string());
    OsmImportResult r = convert(w, c, *src, temp, outfn, stats);
    if (r.LASTERR == 0 && !r.cancelled) guard.keep();
    return r;
  } catch (const map::DbFatalError& e) {
    // Already in the error log; this import ends, the program goes on.
    return database_error(e.code(), e.system_errno());
  }
}

}  // namespace orvela::osm
