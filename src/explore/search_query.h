#pragma once
// What both searches build their queries from: the point query's text and
// the texts it joins, a statement whose parameters are numbered as they are
// added, and reading its rows through the shared statement.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "bookmarks/location.h"
#include "explore/keywords.h"
#include "map/loader.h"
#include "map/mapdb.h"

namespace orvela::map {
struct UserState;
}

namespace orvela::explore::detail {

// The six texts of an object, joined to its row `p` as the loader joins them.
inline constexpr std::string_view kJoins =
    " left join orvel_name n on p.nameid=n.nameid left join orvel_type t on p.typeid=t.typeid "
    " left join orvel_street s on p.streetid=s.streetid  left join orvel_city c on "
    "p.cityid=c.cityid  left join orvel_region r on p.regionid=r.regionid  left join "
    "orvel_country co on p.countryid=co.countryid ";

inline constexpr std::string_view kPointSelect =
    "select p.id, objtype, n.name, t.type, s.street, housenum, c.city, r.region, co.country, lat, "
    "lon from orvel_poi p";

// A statement's text with its parameters, numbered in the order they are
// added. Nothing the user typed ever becomes part of the text.
class Query {
 public:
  explicit Query(std::string_view sql) : sql_(sql) {}
  Query& operator<<(std::string_view s) {
    sql_ += s;
    return *this;
  }
  // The placeholder of a new parameter with value `v`.
  std::string param(std::variant<int64_t, double, std::string> v);
  // The key-word condition, its key words the next parameters.
  std::string keywords(const KeyWords& SKW);
  const std::string& sql() const { return sql_; }
  // Binds every parameter through `db`, so DBERR tells how it went.
  bool bind(map::MapDb& db, sqlite3_stmt* st) const;

 private:
  std::string sql_;
  std::vector<std::variant<int64_t, double, std::string>> values_;
};

// Orders points nearest to the user first, by the squared differences of
// the coordinates in micro-degrees.
void order_points_by_distance(Query& q, const map::UserState& user);

// A found place.
bookmarks::LOCATION place(std::string name, int32_t lat, int32_t lon);

// Prepares `q` into the shared statement DBS and binds it; false when it
// is not ready, DBERR telling why: a bind that failed, or Cancel, which
// may interrupt the prepare too. Any other failure to prepare is a
// database error (`kom` names it in the log).
bool prepare(map::MapDb& db, const Query& q, std::string_view kom);

// Reads the rows of DBS into `row` until they end or `stop` says so. A
// query interrupted by Cancel ends like one that ran out of rows; any
// other failure is a database error.
template <typename Stop, typename Row>
void read_rows(map::MapDb& db, map::MapLoader& loader, Stop stop, Row row) {
  map::ORVOBJREC o;
  while (!stop() && loader.GETNEXTOBJ(o)) row(o);
  const bool interrupted = db.DBERR() == SQLITE_INTERRUPT;
  db.DBS().reset();
  if (!interrupted) db.IFDBERREX("Getting data");
}

}  // namespace orvela::explore::detail
