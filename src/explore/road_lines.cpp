#include "explore/road_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "map/direction.h"
#include "map/geo.h"
#include "map/mapdb.h"
#include "map/orvobj.h"
#include "map/varint.h"

namespace orvela::explore {
namespace {

// Columns: id, name, type, street, housenum, points.
constexpr std::string_view kLineColumns =
    "select l.id, n.name, t.type, s.street, l.housenum, l.points from orvel_lin l left join "
    "orvel_name n on l.nameid=n.nameid left join orvel_type t on l.typeid=t.typeid left join "
    "orvel_street s on l.streetid=s.streetid ";

constexpr std::string_view kLinesInBox =
    "join orvel_linidx li on li.id=l.id where li.maxlat>=?1 and li.minlat<=?2 and li.maxlon>=?3 "
    "and li.minlon<=?4 and l.objtype='l';";

constexpr std::string_view kLineById = "where l.id=?1 and l.objtype='l';";

constexpr std::string_view kIntersectionAt =
    "select 1 from orvel_poi where lat=?1 and lon=?2 and objtype='n' limit 1;";

constexpr std::string_view kIntersectionsInBox =
    "select lat, lon from orvel_poi where lat between ?1 and ?2 and lon between ?3 and ?4 and "
    "objtype='n';";

// How far along a road its leaving direction is taken.
constexpr int32_t kBearingReach = 10;

RoadLine read_line(sqlite3_stmt* st) {
  RoadLine l;
  l.id = sqlite3_column_int64(st, 0);
  // Named as the loader names objects, so that what a walk or a layout
  // says matches the announcements.
  l.name = map::column_text(st, 1);
  const std::string street = map::column_text(st, 3), housenum = map::column_text(st, 4);
  if (!street.empty()) l.name += " " + street;
  if (!housenum.empty()) l.name += " " + housenum;
  l.typ = map::column_text(st, 2);
  const auto* blob = static_cast<const uint8_t*>(sqlite3_column_blob(st, 5));
  const auto len = static_cast<size_t>(sqlite3_column_bytes(st, 5));
  map::decode_points(std::span<const uint8_t>(blob, blob ? len : 0), l.pts);
  return l;
}

// Metres east and north of `origin`: plenty exact over the length of a
// street, and it lets us project a point onto a segment.
struct Local {
  double e = 0, n = 0;
};
Local local(map::POINT origin, map::POINT p) {
  constexpr double kMetresPerMicroDegree = 0.111319491;
  const double coslat = std::cos(origin.Y / 1e6 * std::numbers::pi / 180.0);
  return {(static_cast<double>(p.X) - origin.X) * kMetresPerMicroDegree * coslat,
          (static_cast<double>(p.Y) - origin.Y) * kMetresPerMicroDegree};
}

// Where on a line the point nearest to `p` lies: the point, and the
// segment it lies on (from vertex `seg` to the next).
struct OnLine {
  map::POINT at;
  size_t seg = 0;
};
OnLine locate(const RoadLine& line, map::POINT p) {
  const std::vector<map::POINT>& v = line.pts;
  if (v.size() < 2) return {v.empty() ? p : v[0], 0};
  OnLine best{v[0], 0};
  double best_d = std::numeric_limits<double>::max();
  for (size_t i = 0; i + 1 < v.size(); ++i) {
    const Local a = local(p, v[i]), b = local(p, v[i + 1]);
    const double de = b.e - a.e, dn = b.n - a.n, len2 = de * de + dn * dn;
    const double t = std::clamp(len2 > 0 ? -(a.e * de + a.n * dn) / len2 : 0.0, 0.0, 1.0);
    const double e = a.e + t * de, n = a.n + t * dn, d = e * e + n * n;
    if (d >= best_d) continue;
    best_d = d;
    best.seg = i;
    if (t == 0.0) {
      best.at = v[i];
    } else if (t == 1.0) {
      best.at = v[i + 1];
    } else {
      best.at = {static_cast<int32_t>(std::lround(v[i].X + t * (v[i + 1].X - v[i].X))),
                 static_cast<int32_t>(std::lround(v[i].Y + t * (v[i + 1].Y - v[i].Y)))};
    }
  }
  return best;
}

}  // namespace

std::vector<RoadLine> lines_at(map::MapDb& db, map::POINT p) {
  std::vector<RoadLine> lines;
  map::Stmt q = db.DBPREPARE(std::string(kLineColumns) + std::string(kLinesInBox));
  db.IFDBERREX("prepq linesat");
  // The index keeps its boxes in single precision, rounded outwards; a
  // micro-degree of margin more cannot miss a line through the point.
  db.DBBINDDOUBLE(q, 1, (p.Y - 1) / 1e6);
  db.DBBINDDOUBLE(q, 2, (p.Y + 1) / 1e6);
  db.DBBINDDOUBLE(q, 3, (p.X - 1) / 1e6);
  db.DBBINDDOUBLE(q, 4, (p.X + 1) / 1e6);
  while (db.DBSTEP(q) == SQLITE_ROW) {
    RoadLine l = read_line(q);
    if (std::find(l.pts.begin(), l.pts.end(), p) != l.pts.end()) lines.push_back(std::move(l));
  }
  db.IFDBERREX("linesat");
  return lines;
}

std::optional<RoadLine> line_by_id(map::MapDb& db, int64_t id) {
  map::Stmt q = db.DBPREPARE(std::string(kLineColumns) + std::string(kLineById));
  db.IFDBERREX("prepq linebyid");
  db.DBBINDQWORD(q, 1, id);
  std::optional<RoadLine> line;
  if (db.DBSTEP(q) == SQLITE_ROW) line = read_line(q);
  db.IFDBERREX("linebyid");
  if (line && line->pts.empty()) line.reset();
  return line;
}

std::vector<map::POINT> intersections_in(map::MapDb& db, const LatLonBox& box) {
  std::vector<map::POINT> found;
  map::Stmt q = db.DBPREPARE(kIntersectionsInBox);
  db.IFDBERREX("prepq intersectionsin");
  db.DBBINDINT(q, 1, box.minlat);
  db.DBBINDINT(q, 2, box.maxlat);
  db.DBBINDINT(q, 3, box.minlon);
  db.DBBINDINT(q, 4, box.maxlon);
  while (db.DBSTEP(q) == SQLITE_ROW)
    found.push_back({sqlite3_column_int(q, 1), sqlite3_column_int(q, 0)});
  db.IFDBERREX("intersectionsin");
  return found;
}

IntersectionAt::IntersectionAt(map::MapDb& db) : db_(db), q_(db.DBPREPARE(kIntersectionAt)) {
  db_.IFDBERREX("prepq intersectionat");
}

bool IntersectionAt::operator()(map::POINT p) {
  db_.DBBINDINT(q_, 1, p.Y);
  db_.DBBINDINT(q_, 2, p.X);
  const bool found = db_.DBSTEP(q_) == SQLITE_ROW;
  db_.IFDBERREX("intersectionat");
  db_.DBRESET(q_);
  return found;
}

map::POINT nearest_on(const RoadLine& line, map::POINT p) { return locate(line, p).at; }

int32_t leaving_bearing(const std::vector<map::POINT>& path) {
  const map::POINT& from = path.front();
  for (const map::POINT& p : path) {
    if (map::GEODIST(from.Y, from.X, p.Y, p.X) >= kBearingReach)
      return map::WRAPDIRECTION(map::GEOAZIM(from.Y, from.X, p.Y, p.X));
  }
  const map::POINT& to = path.back();
  return map::WRAPDIRECTION(map::GEOAZIM(from.Y, from.X, to.Y, to.X));
}

int32_t angle_between(int32_t a, int32_t b) {
  const int32_t d = map::WRAPDIRECTION(static_cast<int64_t>(a) - b);
  return d > 180 ? 360 - d : d;
}

namespace {

// The path from `start` through vertices first..last (stepping by `step`),
// as a branch when it leads anywhere.
void add_branch(std::vector<Branch>& out, const RoadLine& line, map::POINT start, long first,
                long last, long step) {
  Branch b;
  b.line = &line;
  b.path.push_back(start);
  for (long i = first; step > 0 ? i <= last : i >= last; i += step)
    b.path.push_back(line.pts[static_cast<size_t>(i)]);
  const bool moves =
      std::any_of(b.path.begin(), b.path.end(), [&](const map::POINT& q) { return !(q == start); });
  if (!moves) return;
  b.bearing = leaving_bearing(b.path);
  out.push_back(std::move(b));
}

}  // namespace

std::vector<Branch> branches_from(const RoadLine& line, map::POINT p) {
  std::vector<Branch> out;
  const long n = static_cast<long>(line.pts.size());
  if (n < 2) return out;
  const OnLine on = locate(line, p);
  bool at_vertex = false;
  for (long i = 0; i < n; ++i) {
    if (!(line.pts[static_cast<size_t>(i)] == on.at)) continue;
    at_vertex = true;
    if (i + 1 < n) add_branch(out, line, on.at, i + 1, n - 1, 1);
    if (i > 0) add_branch(out, line, on.at, i - 1, 0, -1);
  }
  if (at_vertex) return out;
  const auto seg = static_cast<long>(on.seg);
  add_branch(out, line, on.at, seg + 1, n - 1, 1);
  add_branch(out, line, on.at, seg, 0, -1);
  return out;
}

}  // namespace orvela::explore
