#include "explore/search_query.h"

#include "map/user.h"

namespace orvela::explore::detail {

std::string Query::param(std::variant<int64_t, double, std::string> v) {
  values_.push_back(std::move(v));
  return "?" + std::to_string(values_.size());
}

std::string Query::keywords(const KeyWords& SKW) {
  std::string where = PREPWHERE(SKW, static_cast<int>(values_.size()) + 1);
  for (const std::string& k : SKW) param(k);
  return where;
}

bool Query::bind(map::MapDb& db, sqlite3_stmt* st) const {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    if (const auto* q = std::get_if<int64_t>(&values_[i]))
      db.DBBINDQWORD(st, n, *q);
    else if (const auto* d = std::get_if<double>(&values_[i]))
      db.DBBINDDOUBLE(st, n, *d);
    else
      db.DBBINDSTR(st, n, std::get<std::string>(values_[i]));
    if (db.ISDBERR()) return false;
  }
  return true;
}

void order_points_by_distance(Query& q, const map::UserState& user) {
  const std::string u = q.param(int64_t{user.ULAT}), v = q.param(int64_t{user.ULON});
  q << " order by(abs(" << u << "-lat)*abs(" << u << "-lat))+(abs(" << v << "-lon)*abs(" << v
    << "-lon)) asc";
}

bookmarks::LOCATION place(std::string name, int32_t lat, int32_t lon) {
  bookmarks::LOCATION l;
  l.NAME = std::move(name);
  l.LAT = lat;
  l.LON = lon;
  return l;
}

bool prepare(map::MapDb& db, const Query& q, std::string_view kom) {
  register_keyword_match(db.DB());
  db.DBS() = db.DBPREPARE(q.sql());
  if (!db.DBS()) {
    if (db.DBERR() == SQLITE_INTERRUPT) return false;
    db.IFDBERREX(kom);
  }
  if (q.bind(db, db.DBS())) return true;
  db.DBS().reset();
  return false;
}

}  // namespace orvela::explore::detail
