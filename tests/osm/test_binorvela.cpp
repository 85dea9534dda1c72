// The map writer on its own: what lands in the file for each kind of object.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <limits>

#include "map/schema.h"
#include "osm/binorvela.h"
#include "support/sql_rows.h"
#include "support/test_env.h"

namespace orvela::osm {
namespace {

using testing::sql_one;
using testing::sql_rows;
using Rows = std::vector<testing::Row>;

class Writer : public ::testing::Test {
 protected:
  void SetUp() override { w.BINORVEL_INIT(file().string()); }
  std::filesystem::path file() const { return dir / "w.orvel"; }
  void point(uint32_t id, const std::string& name, const std::string& street = "") {
    w.ORVOBJ.ID = id;
    w.ORVOBJ.OBJTYPE = "p";
    w.ORVOBJ.NAME = name;
    w.ORVOBJ.STREET = street;
    w.BINORVEL_SAVEREC();
  }

  test::TempDir dir;
  map::MapDb db{dir / "errdb.log"};
  BinOrvela w{db};
};

TEST_F(Writer, LineWithoutVerticesStoresOnlyItsTexts) {
  w.ORVOBJ.OBJTYPE = "l";
  w.ORVOBJ.ID = 5;
  w.ORVOBJ.NAME = "Ghost Lane";
  w.ORVOBJ.TYP = "road residential";
  w.ADDTAG({"surface", "gravel"});
  EXPECT_EQ(w.BINORVEL_SAVEREC(), 0u);
  w.BINORVEL_CLOSE(0);
  EXPECT_EQ(sql_one(file(), "select count(*) from orvel_lin"), "0");
  EXPECT_EQ(sql_one(file(), "select count(*) from orvel_linidx"), "0");
  EXPECT_EQ(sql_one(file(), "select count(*) from orvel_tags"), "0");
  EXPECT_EQ(sql_one(file(), "select name from orvel_name"), "Ghost Lane");
  EXPECT_EQ(sql_one(file(), "select type from orvel_type"), "road residential");
}

TEST_F(Writer, EmptyPointStoresNullsAndSharedTextsOnce) {
  w.ORVOBJ.OBJTYPE = "p";
  EXPECT_EQ(w.BINORVEL_SAVEREC(), 1u);  // a fresh row id
  point(10, "A", "Elm Street");
  point(11, "B", "Elm Street");
  point(12, "A", "Elm Street");
  w.BINORVEL_CLOSE(0);
  EXPECT_EQ(sql_rows(file(),
                     "select nameid, typeid, streetid, housenum, cityid, regionid, countryid "
                     "from orvel_poi where id=1"),
            (Rows{{"NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL"}}));
  EXPECT_EQ(
      sql_rows(file(), "select streetid, count(*) from orvel_poi where id>=10 group by streetid"),
      (Rows{{"1", "3"}}));
  EXPECT_EQ(sql_one(file(), "select count(*) from orvel_street"), "1");
  EXPECT_EQ(sql_rows(file(), "select id, nameid from orvel_poi where id>=10 order by id"),
            (Rows{{"10", "1"}, {"11", "2"}, {"12", "1"}}));
}

TEST_F(Writer, FreeTagWithEmptyValueAndSingleVertexLine) {
  w.ORVOBJ.OBJTYPE = "l";
  w.ORVOBJ.ID = 7;
  w.ADDPOINT(47123456, 9654321);
  w.ADDTAG({"note", ""});
  w.ADDTAG({"", "odd"});
  EXPECT_EQ(w.BINORVEL_SAVEREC(), 7u);
  w.BINORVEL_CLOSE(0);
  EXPECT_EQ(sql_rows(file(),
                     "select objtype, objectid, tagnameid, tagvalueid from orvel_tags order by id"),
            (Rows{{"l", "7", "1", "0"}, {"l", "7", "0", "1"}}));
  // The R*Tree keeps 32-bit floats, widened outward: a hair-thin box around the vertex.
  EXPECT_EQ(sql_rows(file(),
                     "select minlon <= 9.654321 and maxlon >= 9.654321 and maxlon-minlon < 1e-5, "
                     "minlat <= 47.123456 and maxlat >= 47.123456 and maxlat-minlat < 1e-5 "
                     "from orvel_linidx where id=7"),
            (Rows{{"1", "1"}}));
  auto blobs = testing::sql_blobs(file(), "select points from orvel_lin where id=7");
  ASSERT_EQ(blobs.size(), 1u);
  std::vector<map::POINT> pts;
  map::decode_points(blobs[0], pts);
  EXPECT_EQ(pts, (std::vector<map::POINT>{{9654321, 47123456}}));
  EXPECT_EQ(sql_one(file(), "select hlevels from orvel_lin where id=7"), "NULL");
}

TEST_F(Writer, TakenIdRefusesTheObjectAndItsTags) {
  point(3, "first");
  w.ORVOBJ.ID = 3;
  w.ORVOBJ.OBJTYPE = "p";
  w.ORVOBJ.NAME = "second";
  w.ADDTAG({"k", "v"});
  EXPECT_EQ(w.BINORVEL_SAVEREC(), 0u);
  EXPECT_TRUE(w.ORVTAGS.empty());
  point(4, "third");  // the writer goes on
  w.BINORVEL_CLOSE(0);
  EXPECT_EQ(w.duplicates(), 1u);
  EXPECT_EQ(sql_rows(file(),
                     "select p.id, n.name from orvel_poi p join orvel_name n on p.nameid=n.nameid "
                     "order by p.id"),
            (Rows{{"3", "first"}, {"4", "third"}}));
  EXPECT_EQ(sql_one(file(), "select count(*) from orvel_tags"), "0");
}

// The memory of texts already written starts over when full; the string
// tables must still hold each text once, and objects keep the right ids.
TEST(WriterTexts, ForgettingTextsKeepsEachStoredOnce) {
  test::TempDir dir;
  map::MapDb db(dir / "errdb.log");
  BinOrvela w(db, {.known_bytes = 300});
  auto file = dir / "t.orvel";
  w.BINORVEL_INIT(file.string());
  for (uint32_t i = 1; i <= 60; ++i) {
    w.ORVOBJ.ID = i;
    w.ORVOBJ.OBJTYPE = "p";
    w.ORVOBJ.NAME = "Street " + std::to_string(i % 13);
    w.ORVOBJ.TYP = "shop";
    w.ADDTAG({"colour", i % 2 ? "red" : "blue"});
    ASSERT_EQ(w.BINORVEL_SAVEREC(), i);
  }
  w.BINORVEL_CLOSE(0);
  EXPECT_EQ(sql_one(file, "select count(*) from orvel_name"), "13");
  EXPECT_EQ(sql_one(file, "select count(*) from orvel_type"), "1");
  EXPECT_EQ(sql_one(file, "select count(*) from orvel_tagvalue"), "2");
  EXPECT_EQ(sql_one(file,
                    "select count(*) from orvel_poi p join orvel_name n on p.nameid=n.nameid "
                    "where n.name = 'Street ' || (p.id % 13)"),
            "60");
  EXPECT_EQ(
      sql_one(file,
              "select count(*) from orvel_tags t join orvel_tagvalue v on "
              "t.tagvalueid=v.tagvalueid where v.tagvalue = iif(t.objectid % 2, 'red', 'blue')"),
      "60");
}

TEST_F(Writer, AbandonedFileHasNoIndices) {
  point(1, "x");
  w.BINORVEL_CLOSE(1);
  EXPECT_EQ(db.DB(), nullptr);
  EXPECT_EQ(sql_one(file(),
                    "select count(*) from sqlite_master where name in ('idxlatlon', "
                    "'idxpoistartlev', 'idxpoiendlev', 'idxlinstartlev', 'idxlinendlev')"),
            "0");
  EXPECT_EQ(sql_one(file(), "select count(*) from orvel_poi"), "0");
}

// Readers rely on exactly these tables, columns and indices.
TEST_F(Writer, SchemaOfTheFinishedFile) {
  w.BINORVEL_CLOSE(0);
  namespace s = map::schema;
  std::vector<std::string> want_tables = {
      std::string(s::CREATE_POI),      std::string(s::CREATE_LIN),
      std::string(s::CREATE_LINIDX),   std::string(s::CREATE_TAGS),
      std::string(s::CREATE_LOGENTRY), std::string(s::CREATE_LOGENTRYFILES),
      std::string(s::CREATE_INFO)};
  for (auto p : s::STRING_TABLES) want_tables.push_back(s::create_string_table(p));
  for (const auto& sql : want_tables) {
    std::string body = sql.substr(0, sql.size() - 1);  // sqlite_master keeps no semicolon
    // "create table if not exists" is stored without "if not exists".
    if (auto at = body.find(" if not exists"); at != std::string::npos) body.erase(at, 14);
    // SQLite keeps the statement as written, the leading keywords in upper case.
    EXPECT_EQ(sql_one(file(), "select count(*) from sqlite_master where lower(sql)=lower('" +
                                  map::MapDb::SQLIESCSTR(body) + "')"),
              "1")
        << body;
  }
  auto idx = sql_rows(file(),
                      "select name, tbl_name from sqlite_master where type='index' and "
                      "name not like 'sqlite_%' order by name");
  Rows want_idx = {{"idxcity", "orvel_city"},         {"idxcountry", "orvel_country"},
                   {"idxinfo", "orvel_info"},         {"idxlatlon", "orvel_poi"},
                   {"idxlinendlev", "orvel_lin"},     {"idxlinstartlev", "orvel_lin"},
                   {"idxlogentry", "orvel_logentry"}, {"idxlogentryid", "orvel_logentryfiles"},
                   {"idxlogfile", "orvel_logfile"},   {"idxname", "orvel_name"},
                   {"idxpoiendlev", "orvel_poi"},     {"idxpoistartlev", "orvel_poi"},
                   {"idxregion", "orvel_region"},     {"idxstreet", "orvel_street"},
                   {"idxtagname", "orvel_tagname"},   {"idxtags", "orvel_tags"},
                   {"idxtagvalue", "orvel_tagvalue"}, {"idxtype", "orvel_type"}};
  EXPECT_EQ(idx, want_idx);
  EXPECT_EQ(sql_one(file(), "select value from orvel_info where name='version'"), "7");
  std::string date = sql_one(file(), "select value from orvel_info where name='date'");
  ASSERT_EQ(date.size(), 19u);
  EXPECT_EQ(date[4], '.');
  EXPECT_EQ(date[10], '/');
  EXPECT_EQ(date[13], ':');
}

// Rows are held for inserts of many at a time, so the writer tells the ids
// SQLite's autoincrement would give objects without one, and refuses
// repeated ids itself: the ids, the refusals and the table's counter must
// be SQLite's own, whatever came before (ids below zero, far above,
// repeated ones, and ids beyond what a batch holds).
TEST(WriterIds, SameIdsAsSqliteGivesOneByOne) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  std::vector<int64_t> many;  // more than a batch holds, ids and none mixed
  for (int64_t i = 0; i < 200; ++i) many.push_back(i % 3 == 0 ? 0 : (i % 7 == 0 ? 5 : 1000 - i));
  const std::vector<std::vector<int64_t>> cases = {
      {0, 0, 0},           {-5, -3, 0, 0, -3},
      {7, 0, 3, 0, 7, 0},  {5'000'000'000, 0, 12, 12, 0},
      {kMax - 1, 0, 4, 4}, many,
  };
  for (const auto& all : cases) {
    test::TempDir dir;
    map::MapDb db{dir / "errdb.log"};
    BinOrvela w{db};
    w.BINORVEL_INIT((dir / "w.orvel").string());
    std::vector<int64_t> returned;
    for (int64_t id : all) {
      w.ORVOBJ.OBJTYPE = "p";
      w.ORVOBJ.ID = id;
      w.ORVOBJ.NAME = "x";
      returned.push_back(w.BINORVEL_SAVEREC());
    }
    w.BINORVEL_CLOSE(0);
    // The same rows into a table of the same kind, one statement each.
    sqlite3* ref = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &ref), SQLITE_OK);
    sqlite3_exec(ref, "create table t (id integer primary key autoincrement, x);", nullptr, nullptr,
                 nullptr);
    std::vector<int64_t> expected;
    for (int64_t id : all) {
      const std::string sql = id == 0
                                  ? "insert into t (x) values (1);"
                                  : "insert into t (id, x) values (" + std::to_string(id) + ", 1);";
      const bool ok = sqlite3_exec(ref, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
      expected.push_back(ok ? sqlite3_last_insert_rowid(ref) : 0);
    }
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(ref, "select seq from sqlite_sequence where name='t';", -1, &q, nullptr);
    ASSERT_EQ(sqlite3_step(q), SQLITE_ROW);
    const std::string seq = std::to_string(sqlite3_column_int64(q, 0));
    sqlite3_finalize(q);
    sqlite3_close(ref);
    EXPECT_EQ(returned, expected) << all[0];
    std::vector<int64_t> stored;
    for (int64_t id : expected)
      if (id != 0) stored.push_back(id);
    std::sort(stored.begin(), stored.end());
    Rows rows;
    for (int64_t id : stored) rows.push_back({std::to_string(id)});
    EXPECT_EQ(sql_rows(dir / "w.orvel", "select id from orvel_poi order by id"), rows) << all[0];
    EXPECT_EQ(sql_one(dir / "w.orvel", "select seq from sqlite_sequence where name='orvel_poi'"),
              seq)
        << all[0];
    EXPECT_EQ(w.duplicates(),
              static_cast<uint64_t>(std::count(expected.begin(), expected.end(), 0)))
        << all[0];
  }
}

}  // namespace
}  // namespace orvela::osm
