#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "map/mapdb.h"
#include "map/schema.h"
#include "map/varint.h"
#include "support/test_env.h"

namespace orvela::map {
namespace {

using test::TempDir;

std::vector<std::string> read_lines(const std::filesystem::path& p) {
  std::ifstream f(p);
  std::vector<std::string> lines;
  for (std::string l; std::getline(f, l);) lines.push_back(l);
  return lines;
}

// Creates every table and index of a map file through the access layer.
void create_schema(MapDb& db) {
  std::vector<std::string> stmts = {
      std::string(schema::CREATE_POI),           std::string(schema::CREATE_LIN),
      std::string(schema::CREATE_LINIDX),        std::string(schema::CREATE_TAGS),
      std::string(schema::CREATE_IDXTAGS),       std::string(schema::CREATE_LOGENTRY),
      std::string(schema::CREATE_IDXLOGENTRY),   std::string(schema::CREATE_LOGENTRYFILES),
      std::string(schema::CREATE_IDXLOGENTRYID), std::string(schema::CREATE_INFO),
      std::string(schema::CREATE_IDXINFO)};
  for (auto p : schema::STRING_TABLES) {
    stmts.push_back(schema::create_string_table(p));
    stmts.push_back(schema::create_string_index(p));
  }
  for (auto q :
       {schema::CREATE_IDXLATLON, schema::CREATE_IDXPOISTARTLEV, schema::CREATE_IDXPOIENDLEV,
        schema::CREATE_IDXLINSTARTLEV, schema::CREATE_IDXLINENDLEV})
    stmts.emplace_back(q);
  for (const auto& q : stmts) {
    ASSERT_EQ(db.DBQUERY(q), SQLITE_OK) << q;
    ASSERT_FALSE(db.DBERRSTR().has_value());
  }
  ASSERT_EQ(db.DBQUERY("insert into orvel_info (name, value) values (\"version\", \"7\");"),
            SQLITE_OK);
  ASSERT_EQ(db.DBQUERY(
                "insert into orvel_info (name, value) values (\"date\", \"2026.12.07/23:59:01\");"),
            SQLITE_OK);
}

// "name type, name type, ..." of a table's declared columns.
std::string columns_of(MapDb& db, const std::string& table) {
  Stmt st = db.DBPREPARE("pragma table_info(" + table + ");");
  std::string out;
  while (db.DBSTEP(st) == SQLITE_ROW) {
    if (!out.empty()) out += ", ";
    out += reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    out += " ";
    out += reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
  }
  // SQLite reports the declared types of known affinities in upper case.
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

class MapDbTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::filesystem::path log = dir / "home" / DBERRFN;
  std::string mapfn = (dir / "test.orvel").string();
  MapDb db{log};
  void SetUp() override { std::filesystem::create_directories(dir / "home"); }
};

TEST_F(MapDbTest, SchemaHasTheExactTablesColumnsAndIndices) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  create_schema(db);
  const std::map<std::string, std::string> expected = {
      {"orvel_poi",
       "id integer, objtype varchar, nameid integer, typeid integer, streetid integer, housenum "
       "varchar, "
       "cityid integer, regionid integer, countryid integer, lat integer, lon integer, startlev "
       "integer, "
       "endlev integer"},
      {"orvel_lin",
       "id integer, objtype varchar, nameid integer, typeid integer, streetid integer, housenum "
       "varchar, "
       "cityid integer, regionid integer, countryid integer, startlev integer, endlev integer, "
       "points blob, "
       "hlevels blob"},
      {"orvel_tags",
       "id integer, objtype varchar, objectid integer, tagnameid integer, tagvalueid integer"},
      {"orvel_logentry", "id integer, datetime int, msg text"},
      {"orvel_logentryfiles", "id integer, logentryid int, logfileid int"},
      {"orvel_info", "id integer, name varchar, value varchar"},
      {"orvel_street", "streetid integer, street varchar"},
      {"orvel_logfile", "logfileid integer, logfile varchar"},
  };
  for (const auto& [table, cols] : expected) EXPECT_EQ(columns_of(db, table), cols) << table;
  EXPECT_EQ(
      db.DBGETSTRRES("select sql from sqlite_master where name='orvel_linidx';"),
      "CREATE VIRTUAL TABLE orvel_linidx USING rtree( id,  minlon, maxlon, minlat, maxlat       )");
  for (const char* idx :
       {"idxinfo", "idxlatlon", "idxpoistartlev", "idxpoiendlev", "idxlinstartlev", "idxlinendlev",
        "idxtags", "idxlogentry", "idxlogentryid", "idxname", "idxtagvalue", "idxlogfile"}) {
    EXPECT_EQ(db.DBGETNUMRES(
                  std::string("select count(*) from sqlite_master where type='index' and name='") +
                  idx + "';"),
              1)
        << idx;
  }
  EXPECT_EQ(db.DBCLOSE(), SQLITE_OK);
  EXPECT_EQ(db.DB(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(log));
}

// Writes one line (with height records), one line without geometry and one point.
void write_sample(MapDb& db) {
  const std::vector<POINT> pts = {{21012000, 52229000}, {21011950, 52229100}, {21011900, 52229200}};
  const std::vector<HLEVREC> hl = {{0, 0}, {2, 3}};
  Stmt lin = db.DBPREPARE(
      "insert into orvel_lin (objtype, nameid, startlev, endlev, points, hlevels) values (?1, ?2, "
      "?3, ?4, ?5, ?6);");
  ASSERT_TRUE(lin);
  db.DBBINDSTR(lin, 1, "l");
  db.DBBINDINT(lin, 2, 1);
  db.DBBINDINT(lin, 3, 0);
  db.DBBINDINT(lin, 4, 4);
  db.DBBINDBLOB(lin, 5, encode_points(pts));
  db.DBBINDBLOB(lin, 6, encode_hlevels(hl));
  ASSERT_FALSE(db.ISDBERR());
  ASSERT_EQ(db.DBSTEP(lin), SQLITE_DONE);
  EXPECT_FALSE(db.ISDBERR());
  const int64_t id = db.DBINSERTID();
  EXPECT_EQ(id, 1);
  Stmt idx = db.DBPREPARE(
      "insert into orvel_linidx (id, minlon, maxlon, minlat, maxlat) values (?1, ?2, ?3, ?4, ?5);");
  db.DBBINDQWORD(idx, 1, id);
  db.DBBINDDOUBLE(idx, 2, 21.0119);
  db.DBBINDDOUBLE(idx, 3, 21.012);
  db.DBBINDDOUBLE(idx, 4, 52.229);
  db.DBBINDDOUBLE(idx, 5, 52.2292);
  ASSERT_EQ(db.DBSTEP(idx), SQLITE_DONE);
  // A line row without geometry (the writer never stores one; readers must cope).
  ASSERT_EQ(db.DBQUERY("insert into orvel_lin (objtype, startlev, endlev) values ('l', 0, 4);"),
            SQLITE_OK);
  ASSERT_EQ(
      db.DBQUERY(
          "insert into orvel_poi (objtype, lat, lon, startlev, endlev) values ('p', -33865143, "
          "151209900, 0, 4);"),
      SQLITE_OK);
  ASSERT_EQ(db.DBQUERY("insert into orvel_name (name) values ('Marsza''łkowska');"), SQLITE_OK);
}

TEST_F(MapDbTest, WrittenFileReadsBackThroughTheGeometryReaders) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  create_schema(db);
  write_sample(db);
  ASSERT_EQ(db.DBCLOSE(), SQLITE_OK);

  ASSERT_EQ(db.DBCONNECTRO(mapfn), SQLITE_OK);
  EXPECT_EQ(db.DBGETNUMRES("select value from orvel_info where name=\"version\" limit 1;"), 7);
  EXPECT_EQ(db.DBGETSTRRES("select value from orvel_info where name=\"date\" limit 1;"),
            "2026.12.07/23:59:01");
  EXPECT_EQ(db.DBGETSTRRES("select name from orvel_name where name like 'Mar%';"),
            "Marsza'łkowska");

  db.DBS() = db.DBPREPARE(
      "select li.id, n.name, points, hlevels from orvel_linidx li left join orvel_lin p on "
      "li.id=p.id left join "
      "orvel_name n on p.nameid=n.nameid where maxlat>=?1 and minlat<=?2 and maxlon>=?3 and "
      "minlon<=?4");
  ASSERT_TRUE(db.DBS());
  db.DBBINDDOUBLE(db.DBS(), 1, 52.0);
  db.DBBINDDOUBLE(db.DBS(), 2, 53.0);
  db.DBBINDDOUBLE(db.DBS(), 3, 21.0);
  db.DBBINDDOUBLE(db.DBS(), 4, 22.0);
  ASSERT_EQ(db.DBSTEP(db.DBS()), SQLITE_ROW);
  EXPECT_FALSE(db.ISDBERR());
  LineGeometry g;
  db.SQLICOLGETPOINTS(2, true, g);
  EXPECT_TRUE(g.has_hlevels);
  EXPECT_EQ(g.POINTS,
            (std::vector<POINT>{{21012000, 52229000}, {21011950, 52229100}, {21011900, 52229200}}));
  EXPECT_EQ(g.HLEVELS, (std::vector<double>{0, 1.5, 3}));
  db.SQLICOLGETPOINTS(2, false, g);
  EXPECT_FALSE(g.has_hlevels);
  EXPECT_EQ(g.HLEVELS, (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(db.DBSTEP(db.DBS()), SQLITE_DONE);
  EXPECT_FALSE(db.ISDBERR());

  db.DBS() = db.DBPREPARE("select points, hlevels from orvel_lin where points is null;");
  ASSERT_EQ(db.DBSTEP(db.DBS()), SQLITE_ROW);
  LineGeometry none;
  db.SQLICOLGETPOINTS(0, true, none);
  EXPECT_FALSE(none.has_hlevels);
  EXPECT_TRUE(none.POINTS.empty());
  EXPECT_TRUE(none.HLEVELS.empty());
  // Each reader's geometry is its own: reading another row leaves it alone.
  EXPECT_EQ(g.POINTS.size(), 3u);

  db.DBS() = db.DBPREPARE("select id, lat, lon from orvel_poi;");
  ASSERT_EQ(db.DBSTEP(db.DBS()), SQLITE_ROW);
  int32_t lat = 0, lon = 0;
  db.SQLICOLGETLATLON(1, lat, lon);
  EXPECT_EQ(lat, -33865143);
  EXPECT_EQ(lon, 151209900);
  EXPECT_EQ(db.DBCLOSE(), SQLITE_OK);
  EXPECT_FALSE(db.DBS());
}

TEST_F(MapDbTest, NumberAndTextResults) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  ASSERT_EQ(db.DBQUERY("create table t (v varchar);"), SQLITE_OK);
  EXPECT_EQ(db.DBGETNUMRES("select count(*) from t;"), 0);
  EXPECT_EQ(db.DBGETNUMRES("select v from t;"), 0);
  EXPECT_FALSE(db.ISDBERR());
  EXPECT_EQ(db.DBGETSTRRES("select v from t;"), "");
  EXPECT_EQ(db.DBGETNUMRES("select 4294967297;"), 1);  // 32 bits of it
  EXPECT_EQ(db.DBGETNUMRES("select -12;"), -12);
  EXPECT_EQ(db.DBGETSTRRES("select 42;"), "42");
  EXPECT_EQ(db.DBGETSTRRES("select null;"), "");
  const std::string longtext(300, 'x');
  EXPECT_EQ(db.DBGETSTRRES("select '" + longtext + "';"), std::string(255, 'x'));
  // 254 ASCII bytes then a two-byte letter: the letter would be split, so it goes.
  EXPECT_EQ(db.DBGETSTRRES("select '" + std::string(254, 'a') + "ł';"), std::string(254, 'a'));
  EXPECT_EQ(db.DBGETSTRRES("select '" + std::string(253, 'a') + "ł';"),
            std::string(253, 'a') + "ł");
  EXPECT_EQ(db.DBGETNUMRES("select nonsense from nowhere;"), 0);
  EXPECT_TRUE(db.ISDBERR());
  EXPECT_EQ(db.LASTSQLQ(), "select nonsense from nowhere;");
  EXPECT_EQ(db.DBGETSTRRES("selec 1;"), "");
  EXPECT_TRUE(db.ISDBERR());
}

TEST_F(MapDbTest, BindingsKeepEmptyTextAndEmptyBlobsApartFromNull) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  ASSERT_EQ(db.DBQUERY("create table t (a, b, c, d);"), SQLITE_OK);
  Stmt ins = db.DBPREPARE("insert into t values (?1, ?2, ?3, ?4);");
  EXPECT_EQ(db.DBBINDSTR(ins, 1, std::string_view()), SQLITE_OK);
  EXPECT_EQ(db.DBBINDSTR(ins, 2, "zab"), SQLITE_OK);
  EXPECT_EQ(db.DBBINDBLOB(ins, 3, {}), SQLITE_OK);
  EXPECT_EQ(db.DBBINDQWORD(ins, 4, int64_t{1} << 40), SQLITE_OK);
  ASSERT_EQ(db.DBSTEP(ins), SQLITE_DONE);
  EXPECT_EQ(db.DBGETSTRRES(
                "select typeof(a) || ',' || typeof(b) || ',' || typeof(c) || ',' || d from t;"),
            "text,text,blob,1099511627776");
  EXPECT_EQ(db.DBGETNUMRES("select length(a) + 10 * length(b) from t;"), 30);
}

TEST(MapDbStatic, EscapesEveryApostrophe) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},    {"abc", "abc"},      {"O'Neil", "O''Neil"},
      {"'", "''"}, {"''a'", "''''a''"}, {"żółć'", "żółć''"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(MapDb::SQLIESCSTR(in), out) << in;
  std::string many(1000, '\'');
  EXPECT_EQ(MapDb::SQLIESCSTR(many), std::string(2000, '\''));
}

TEST_F(MapDbTest, ErrorStateAfterEachKindOfStep) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  ASSERT_EQ(db.DBQUERY("create table t (v integer); insert into t values (1);"), SQLITE_OK);
  Stmt st = db.DBPREPARE("select v from t;");
  EXPECT_EQ(db.DBSTEP(st), SQLITE_ROW);
  EXPECT_FALSE(db.ISDBERR());
  EXPECT_EQ(db.DBSTEP(st), SQLITE_DONE);
  EXPECT_FALSE(db.ISDBERR());
  EXPECT_NO_THROW(db.IFDBERREX("stepping"));
  EXPECT_EQ(db.DBRESET(st), SQLITE_OK);
  EXPECT_EQ(db.DBBINDINT(st, 5, 1), SQLITE_RANGE);
  EXPECT_TRUE(db.ISDBERR());
  EXPECT_EQ(db.DBQUERY("create table t (v integer);"), SQLITE_ERROR);
  EXPECT_TRUE(db.ISDBERR());
  EXPECT_EQ(db.DBERRSTR(), "table t already exists");
}

TEST_F(MapDbTest, LogLinesHaveTheirExactFormat) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  EXPECT_EQ(db.DBQUERY("select * from nosuch;"), SQLITE_ERROR);
  db.WRIDBERR("Adding POI");
  EXPECT_EQ(read_lines(log),
            (std::vector<std::string>{"err: no such table: nosuch query: select * from nosuch;",
                                      "- Error 1: no such table: nosuch Adding POI"}));
}

TEST_F(MapDbTest, FatalErrorIsLoggedThrownAndLeavesTheLayerUsable) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  ASSERT_EQ(db.DBQUERY("create table t (v integer unique); insert into t values (1);"), SQLITE_OK);
  Stmt ins = db.DBPREPARE("insert into t values (1);");
  ASSERT_TRUE(ins);
  EXPECT_EQ(db.DBSTEP(ins), SQLITE_CONSTRAINT);
  try {
    db.IFDBERREX("Adding tag");
    FAIL() << "no exception";
  } catch (const DbFatalError& e) {
    EXPECT_EQ(e.code(), SQLITE_CONSTRAINT);
    EXPECT_EQ(e.operation(), "Adding tag");
    EXPECT_STREQ(e.what(),
                 "- Error 19: UNIQUE constraint failed: t.v Adding tag last query: insert into t "
                 "values (1);");
  }
  EXPECT_EQ(read_lines(log),
            (std::vector<std::string>{
                "- Error 19: UNIQUE constraint failed: t.v Adding tag last query: insert into t "
                "values (1);"}));
  // Nothing was torn down: the connection answers and closes normally.
  ASSERT_NE(db.DB(), nullptr);
  EXPECT_EQ(db.DBGETNUMRES("select count(*) from t;"), 1);
  ins.reset();
  EXPECT_EQ(db.DBCLOSE(), SQLITE_OK);
  EXPECT_EQ(db.DB(), nullptr);
  EXPECT_EQ(db.DBCLOSE(), SQLITE_OK);  // nothing open: nothing happens
}

TEST_F(MapDbTest, StatementsHeldElsewhereDoNotBlockTheClose) {
  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  Stmt st = db.DBPREPARE("select 1;");
  db.DBS() = db.DBPREPARE("select 2;");
  EXPECT_EQ(db.DBCLOSE(), SQLITE_OK);
  EXPECT_EQ(db.DB(), nullptr);
}

TEST_F(MapDbTest, BadFilesFailCheckedStepsWithoutCrashing) {
  struct Case {
    const char* what;
    std::string content;  // empty with `create` false: no file at all
    bool create;
    int open_rc;
    int query_rc;
  };
  const std::vector<Case> cases = {
      {"not a database", "This is not an SQLite file, just some text that is long enough.\n", true,
       SQLITE_OK, SQLITE_NOTADB},
      {"zero bytes", "", true, SQLITE_OK, SQLITE_ERROR},
      {"missing", "", false, SQLITE_CANTOPEN, SQLITE_MISUSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto fn = dir / (std::string(c.what) + ".orvel");
    if (c.create) std::ofstream(fn, std::ios::binary) << c.content;
    EXPECT_EQ(db.DBCONNECTRO(fn.string()), c.open_rc);
    EXPECT_EQ(db.DB() != nullptr, c.open_rc == SQLITE_OK);
    EXPECT_EQ(db.DBGETNUMRES("select value from orvel_info where name=\"version\" limit 1;"), 0);
    EXPECT_EQ(db.DBERR(), c.query_rc);
    EXPECT_THROW(db.IFDBERREX("checking version"), DbFatalError);
    EXPECT_EQ(db.DBCLOSE(), SQLITE_OK);
  }
  const auto lines = read_lines(log);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "- Error 26: file is not a database checking version last query: select value from "
            "orvel_info where "
            "name=\"version\" limit 1;");
  EXPECT_EQ(lines[1].rfind("- Error 1: no such table: orvel_info checking version", 0), 0u)
      << lines[1];
  EXPECT_EQ(lines[2].rfind("- Error 21: ", 0), 0u) << lines[2];
}

TEST_F(MapDbTest, FailedOpenLogsTheOpenError) {
  EXPECT_EQ(db.DBCONNECTRW((dir / "no" / "such" / "dir.orvel").string()), SQLITE_CANTOPEN);
  EXPECT_THROW(db.IFDBERREX("Opening map"), DbFatalError);
  EXPECT_EQ(read_lines(log),
            (std::vector<std::string>{"- Error 14: unable to open database file Opening map last "
                                      "query: "}));
}

TEST_F(MapDbTest, PeekingIntoAnotherFileKeepsTheCurrentMap) {
  const std::string other = (dir / "other.orvel").string();
  ASSERT_EQ(db.DBCONNECTRW(other), SQLITE_OK);
  ASSERT_EQ(
      db.DBQUERY(
          "create table orvel_info (name varchar, value varchar); insert into orvel_info values "
          "('date', 'other');"),
      SQLITE_OK);
  ASSERT_EQ(db.DBCLOSE(), SQLITE_OK);

  ASSERT_EQ(db.DBCONNECTRW(mapfn), SQLITE_OK);
  ASSERT_EQ(
      db.DBQUERY(
          "create table orvel_info (name varchar, value varchar); insert into orvel_info values "
          "('date', 'current');"),
      SQLITE_OK);
  sqlite3* current = db.DB();
  db.DBS() = db.DBPREPARE("select value from orvel_info;");
  {
    auto saved = db.put_aside();
    EXPECT_EQ(db.DB(), nullptr);
    ASSERT_EQ(db.DBCONNECTRO(other), SQLITE_OK);
    EXPECT_EQ(db.DBGETSTRRES("select value from orvel_info where name=\"date\" limit 1;"), "other");
    db.restore(std::move(saved));
  }
  EXPECT_EQ(db.DB(), current);
  ASSERT_EQ(db.DBSTEP(db.DBS()), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(db.DBS(), 0)), "current");
  // Opening another file closes the current one first.
  ASSERT_EQ(db.DBCONNECTRO(other), SQLITE_OK);
  EXPECT_FALSE(db.DBS());
  EXPECT_EQ(db.DBGETSTRRES("select value from orvel_info;"), "other");
}

}  // namespace
}  // namespace orvela::map
