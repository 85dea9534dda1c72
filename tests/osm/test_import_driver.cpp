// The file import command end to end on the console front end: dialogs,
// the background conversion, the result messages and opening the new map.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "osm/import_driver.h"
#include "osm/import_progress.h"
#include "support/explore_world.h"
#include "support/osm_sample.h"
#include "support/sql_rows.h"
#include "text/atomic_file.h"

namespace orvela::osm {
namespace {

using test::ExploreWorld;
using test::MapBuilder;
using test::World;
namespace fs = std::filesystem;

struct ImportWorld : ExploreWorld {
  explicit ImportWorld(std::string input) : ExploreWorld(std::move(input)) {
    std::ofstream(tmp / "osm.rules", std::ios::binary) << test::kVaduzRules;
    std::ofstream(tmp / "Vaduz-Centre.OSM", std::ios::binary) << test::kVaduzOsm;
  }
  void run() {
    ImportContext ctx{db, loader, ex, user, console.ui, tmp / "osm.rules"};
    OSMIMPORT(ctx, true);
  }
  std::string osm() const { return (tmp / "Vaduz-Centre.OSM").string(); }
  std::vector<std::string> lines(const std::string& prefix) const {
    std::vector<std::string> v;
    for (const auto& l : out())
      if (l.starts_with(prefix)) v.push_back(l);
    return v;
  }
};

TEST(ImportDriver, ImportsAndOpensTheNewMapAtItsCentre) {
  ImportWorld w("");
  w.console.in.str(w.osm() + "\n:default\ny\n");
  w.user.ULATLONSET = false;
  w.run();
  EXPECT_EQ(
      w.lines("INPUT "),
      std::vector<std::string>{"INPUT OpenStreetMap import: Destination map name: [vaduz-centre]"});
  EXPECT_FALSE(w.lines("PROGRESS ").empty());
  EXPECT_EQ(w.lines("ASK "), std::vector<std::string>{"ASK Import finished. Open imported map?"});
  EXPECT_TRUE(w.lines("INFO ").empty());
  EXPECT_EQ(w.loader.FN(), (w.tmp / "maps" / "vaduz-centre.osm.orvel").string());
  EXPECT_TRUE(w.user.ULATLONSET);
  EXPECT_NEAR(w.user.ULAT, 47141000, 200);
  EXPECT_NEAR(w.user.ULON, 9520000, 200);
  EXPECT_GE(w.grid.ILOBJ, 3);
  EXPECT_EQ(w.lines("TITLE ").back(), "TITLE Orvela vaduz-centre.osm");
}

TEST(ImportDriver, StoppingInADialogLeavesTheCurrentMapOpen) {
  struct Case {
    const char* what;
    std::string answers;  // after the existing map's setup
  };
  const std::vector<Case> cases = {
      {"file chooser cancelled", ":cancel\n"},
      {"name cancelled", "OSM\n:cancel\n"},
      {"empty name", "OSM\n\n"},
      {"existing map kept", "OSM\nkeep\nn\n"},
  };
  for (const auto& c : cases) {
    ImportWorld w("");
    std::string answers = c.answers;
    if (answers.starts_with("OSM")) answers.replace(0, 3, w.osm());
    w.console.in.str(answers);
    { MapBuilder b(w.tmp / "maps" / "keep.osm.orvel"); }
    ASSERT_TRUE(w.load("keep.osm.orvel"));
    auto before = fs::file_size(w.tmp / "maps" / "keep.osm.orvel");
    w.run();
    EXPECT_EQ(w.loader.FN(), w.map_path("keep.osm.orvel").string()) << c.what;
    EXPECT_NE(w.db.DB(), nullptr) << c.what;
    EXPECT_EQ(fs::file_size(w.tmp / "maps" / "keep.osm.orvel"), before) << c.what;
    EXPECT_TRUE(w.lines("PROGRESS ").empty()) << c.what;
  }
}

TEST(ImportDriver, ReplacingAnExistingMapAfterConfirmation) {
  ImportWorld w("");
  w.console.in.str(w.osm() + "\nkeep\ny\nn\n");
  { MapBuilder b(w.tmp / "maps" / "keep.osm.orvel"); }
  ASSERT_TRUE(w.load("keep.osm.orvel"));
  w.run();
  EXPECT_EQ(w.lines("ASK "), (std::vector<std::string>{"ASK Destination map exists, replace?",
                                                       "ASK Import finished. Open imported map?"}));
  // Declined opening: the (now replaced) current map is simply reloaded.
  EXPECT_EQ(w.loader.FN(), w.map_path("keep.osm.orvel").string());
  EXPECT_GE(w.grid.ILOBJ, 3);
}

TEST(ImportDriver, ConversionErrorsAreShownWithTheirCode) {
  ImportWorld w("");
  std::ofstream(w.tmp / "broken.osm") << "<?xml version='1.0'?><osm><node id=\"1\" lat=\"47.1\"";
  w.console.in.str((w.tmp / "broken.osm").string() + "\nbroken\n");
  { MapBuilder b(w.map_path()); }
  ASSERT_TRUE(w.load());
  w.run();
  auto infos = w.lines("INFO ");
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_TRUE(infos[0].starts_with("INFO Error ")) << infos[0];
  EXPECT_TRUE(infos[0].ends_with(".")) << infos[0];
  EXPECT_TRUE(w.lines("ASK ").empty());
  EXPECT_FALSE(fs::exists(w.tmp / "maps" / "broken.osm.orvel"));
  EXPECT_EQ(w.loader.FN(), w.map_path().string());  // the previous map is back
  EXPECT_NE(w.db.DB(), nullptr);
}

// Faulty lines of osm.rules get one box each, in file order, before the
// work starts; the good rules still apply and the import goes on.
TEST(ImportDriver, RuleErrorsAreShownAndTheImportGoesOn) {
  ImportWorld w("");
  std::ofstream(w.tmp / "osm.rules", std::ios::binary)
      << "highway=residential\troad residential\t1\n"
         "amenity=cafe\tcafe\n"
         "just one field\n"
         "\tno name\n"
         "\n";
  w.console.in.str(w.osm() + "\nvaduz\nn\n");
  w.run();
  const std::vector<std::string> want = {"INFO Osmrules: error in line 3",
                                         "INFO osmrules: no name for rule in line 4",
                                         "INFO Osmrules: error in line 5"};
  EXPECT_EQ(w.lines("INFO "), want);
  const auto out = w.out();
  const auto first_box = std::find(out.begin(), out.end(), want[0]);
  const auto first_progress = std::find_if(
      out.begin(), out.end(), [](const std::string& l) { return l.starts_with("PROGRESS "); });
  EXPECT_LT(first_box, first_progress);
  EXPECT_EQ(w.lines("ASK "), std::vector<std::string>{"ASK Import finished. Open imported map?"});
  EXPECT_EQ(testing::sql_one(w.map_path("vaduz.osm.orvel"),
                             "select count(*) from orvel_poi p join orvel_type t on "
                             "p.typeid=t.typeid where t.type='cafe'"),
            "1");
}

TEST(ImportDriver, UnreadableRulesStopBeforeTheWork) {
  ImportWorld w("");
  fs::remove(w.tmp / "osm.rules");
  w.console.in.str(w.osm() + "\nvaduz\n");
  { MapBuilder b(w.map_path()); }
  ASSERT_TRUE(w.load());
  w.run();
  EXPECT_EQ(w.lines("INFO "), std::vector<std::string>{"INFO Error 4: Can not read osm.rules."});
  EXPECT_TRUE(w.lines("PROGRESS ").empty());
  EXPECT_FALSE(fs::exists(w.map_path("vaduz.osm.orvel")));
  EXPECT_EQ(w.loader.FN(), w.map_path().string());
}

// The import writes through a connection of its own: the map being viewed
// stays open through a successful, a failed and a cancelled import (a
// temporary table lives exactly as long as its connection).
TEST(ImportDriver, TheViewersMapStaysOpen) {
  struct Case {
    const char* what;
    std::string input;    // the OSM file's content
    std::string answers;  // after the file's path
    bool written, error;
  };
  std::string many = "<?xml version='1.0'?><osm>";
  for (int i = 1; i <= 30000; ++i)
    many += "<node id=\"" + std::to_string(i) +
            "\" lat=\"47.1\" lon=\"9.5\"><tag k=\"amenity\" "
            "v=\"cafe\"/></node>";
  many += "</osm>";
  const std::vector<Case> cases = {
      {"success, not opened", test::kVaduzOsm, "other\nn\n", true, false},
      {"broken file", "<?xml version='1.0'?><osm><node id=\"1\"", "other\n", false, true},
      {"cancelled", many, "other\n:cancel\n", false, false},
  };
  for (const auto& c : cases) {
    ImportWorld w("");
    std::ofstream(w.tmp / "in.osm", std::ios::binary) << c.input;
    w.console.in.str((w.tmp / "in.osm").string() + "\n" + c.answers);
    {
      MapBuilder b(w.map_path());
      test::MapObject o;
      o.type = 'p';
      o.typ = "cafe";
      o.name = "Viewed";
      b.point(o, test::HOME_LAT, test::HOME_LON);
    }
    ASSERT_TRUE(w.load()) << c.what;
    ASSERT_EQ(w.db.DBQUERY("create temp table still_open(x);"), SQLITE_OK) << c.what;
    w.run();
    EXPECT_EQ(w.db.DBGETNUMRES("select count(*) from temp.sqlite_master where name='still_open';"),
              1)
        << c.what;
    EXPECT_EQ(w.loader.FN(), w.map_path().string()) << c.what;
    EXPECT_EQ(w.name_at(75, 75), "Viewed") << c.what;
    EXPECT_EQ(w.lines("INFO ").size(), c.error ? 1u : 0u) << c.what;
    EXPECT_EQ(fs::exists(w.map_path("other.osm.orvel")), c.written) << c.what;
    for (const auto& e : fs::directory_iterator(w.tmp / "maps"))
      EXPECT_FALSE(text::is_temp_name(e.path()) || e.path().string().ends_with("-journal"))
          << c.what << ": " << e.path();
  }
}

TEST(ImportDriver, MapNamesStayInTheMapsFolder) {
  struct Case {
    const char* typed;
    const char* file;
  };
  const std::vector<Case> cases = {{"town", "town.osm.orvel"},
                                   {"../town", ".._town.osm.orvel"},
                                   {"a/b\\c", "a_b_c.osm.orvel"},
                                   {"..", "_.osm.orvel"}};
  for (const auto& c : cases)
    EXPECT_EQ(destination_map("/m", c.typed), fs::path("/m") / c.file) << c.typed;
  const std::pair<const char*, const char*> proposals[] = {
      {"/x/Liechtenstein-2013.OSM", "liechtenstein-2013"},
      {"/x/extract.osm.bz2", "extract"},
      {"/x/extract.OSM.GZ", "extract"},
      {"/x/li-2013.08.03.osm.pbf", "li-2013.08.03"},
      {"/x/planet.pbf", "planet"},
      {"/x/dump.tar.gz", "dump.tar"},
      {"/x/a.b.xml", "a.b"},
      {"/x/noext", "noext"}};
  for (const auto& [file, name] : proposals) EXPECT_EQ(proposed_map_name(file), name) << file;
}

// A progress window that records what it was shown.
struct ShownProgress : ui::BgProgress {
  void BGPROCESINFO(const std::string& s, ui::BgTarget target) override {
    shown.emplace_back(target, s);
  }
  bool BGPROCESCANCEL() const override { return cancel; }
  std::vector<std::pair<ui::BgTarget, std::string>> shown;
  bool cancel = false;
};

TEST(ImportDriver, ProgressWordsAndCancel) {
  using Clock = ImportProgressText::Clock;
  const Clock::time_point start = Clock::now() - std::chrono::seconds(30);
  ImportProgressText words(start);
  struct Case {
    uint64_t cur, total;
    const char* prefix;  // "" when nothing is shown
  };
  const std::vector<Case> cases = {
      {1, 0, "Initializing map..."},
      {2, 0, "Detecting intersections..."},
      {3, 0, "Closing map..."},
      {4, 0, ""},
      {0, 1000, ""},
      {500, 1000, "50 percent done. Time remaining about "},
      {1000, 1000, "100 percent done. Time remaining about "},
  };
  for (const auto& c : cases) {
    ShownProgress p;
    EXPECT_FALSE(OSMREADPROGRESS(c.cur, c.total, words, p)) << c.cur << "/" << c.total;
    if (*c.prefix) {
      ASSERT_EQ(p.shown.size(), 1u) << c.cur << "/" << c.total;
      EXPECT_EQ(p.shown[0].first, ui::BGPROCESEDIT);
      EXPECT_TRUE(p.shown[0].second.starts_with(c.prefix)) << p.shown[0].second;
    } else {
      EXPECT_TRUE(p.shown.empty()) << c.cur << "/" << c.total;
    }
  }
  ShownProgress cancelled;
  cancelled.cancel = true;
  EXPECT_TRUE(OSMREADPROGRESS(10, 100, words, cancelled));
}

TEST(ImportDriver, MapCentre) {
  struct Case {
    const char* what;
    bool points, lines;
    int32_t lat, lon;
  };
  // Points span 10..20 / 30..50 (centre 15, 40); lines 1..3 / 5..9 degrees (centre 2, 7).
  const std::vector<Case> cases = {
      {"empty", false, false, 0, 0},
      {"points only", true, false, 15, 40},
      {"lines only", false, true, 2000000, 7000000},
      {"both", true, true, 1000007, 3500020},
  };
  for (const auto& c : cases) {
    World w;
    {
      MapBuilder b(w.map_path());
      test::MapObject o;
      o.type = 'p';
      if (c.points) {
        b.point(o, 10, 30);
        b.point(o, 20, 50);
      }
      o.type = 'l';
      if (c.lines) b.line(o, {map::POINT{5000000, 1000000}, map::POINT{9000000, 3000000}});
    }
    w.db.DBCONNECTRO(w.map_path().string());
    int32_t lat = -1, lon = -1;
    map::CALCMAPCENTER(w.db, lat, lon);
    EXPECT_EQ(lat, c.lat) << c.what;
    EXPECT_EQ(lon, c.lon) << c.what;
  }
}

}  // namespace
}  // namespace orvela::osm
