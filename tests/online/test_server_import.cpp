// The OpenStreetMap import from an XAPI server: the box asked for, the
// download through the program's downloader, its failures and cancel.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "online/online_world.h"
#include "osm/import_driver.h"
#include "osm/osmrules.h"
#include "support/osm_sample.h"
#include "text/atomic_file.h"

namespace orvela::online {
namespace {

namespace fs = std::filesystem;

struct ImportWorld : test::OnlineWorld {
  ImportWorld() {
    std::ofstream(tmp / "osm.rules", std::ios::binary) << orvela::test::kVaduzRules;
    servers = {"", xapi.host() + "/api/xapi", "127.0.0.1:1/xapi"};
  }
  void run() {
    osm::ImportContext ctx{db, loader, ex, user, console.ui, tmp / "osm.rules"};
    ctx.OSMMAPSERVERS = [this] { return servers; };
    ctx.download = [this](const std::string& url, const fs::path& file, ui::BgProgress& p) {
      return online.download_to(url, file, p);
    };
    osm::OSMIMPORT(ctx, false);
  }
  void no_temporary_files() const {
    for (const auto& e : fs::directory_iterator(tmp / "maps"))
      EXPECT_FALSE(text::is_temp_name(e.path())) << e.path();
  }
  test::RawServer xapi;
  std::vector<std::string> servers;
};

TEST(ServerImport, ImportsAroundTheTypedPointAndOpensThere) {
  ImportWorld w;
  w.xapi.answer(200, orvela::test::kVaduzOsm);
  w.user.ULAT = 52000000;
  w.user.ULON = 21000000;
  w.answer("1\n47.141 9.52\n1\nvaduz\ny\n");
  w.run();
  const auto out = w.dialog();
  // Empty entries are not offered.
  EXPECT_EQ(out.at(0), "LIST OpenStreetMap import: Import server");
  EXPECT_EQ(out.at(1), "* 1. " + w.servers[1]);
  EXPECT_EQ(out.at(2), "  2. 127.0.0.1:1/xapi");
  EXPECT_EQ(out.at(3),
            "INPUT OpenStreetMap import: Start point (latitude and longitude separated by space): "
            "[52.000000 21.000000]");
  EXPECT_EQ(out.at(4), "INPUT OpenStreetMap import: Import radius (kilometers): []");
  EXPECT_EQ(out.at(5), "INPUT OpenStreetMap import: Destination map name: []");
  EXPECT_EQ(w.xapi.last_target(), "/api/xapi?map?bbox=9.506817,47.132005,9.533183,47.149995");
  EXPECT_EQ(w.lines("ASK "), std::vector<std::string>{"ASK Import finished. Open imported map?"});
  EXPECT_EQ(w.loader.FN(), w.map_path("vaduz.osm.orvel").string());
  EXPECT_EQ(w.user.ULAT, 47141000);
  EXPECT_EQ(w.user.ULON, 9520000);
  EXPECT_GE(w.grid.ILOBJ, 3);
  w.no_temporary_files();
}

// The half-widths come from the typed centre: at 60 degrees north a degree
// of longitude is half as long as at the equator, where the user stands.
TEST(ServerImport, TheBoxIsMeasuredAtItsCentre) {
  ImportWorld w;
  w.xapi.answer(404, "<html>Not Found</html>");
  w.user.ULAT = 0;
  w.user.ULON = 0;
  w.answer("1\n60.0 0.0\n1\nnorth\n");
  w.run();
  EXPECT_EQ(w.xapi.last_target(), "/api/xapi?map?bbox=-0.017921,59.991024,0.017921,60.008976");
  // The error page is not converted: its status is the failure.
  EXPECT_EQ(w.lines("INFO "), std::vector<std::string>{"INFO Error 5: HTTP 404."});
  EXPECT_FALSE(fs::exists(w.map_path("north.osm.orvel")));
  w.no_temporary_files();
  EXPECT_EQ(osm::xapi_url("s", 0, 0, 1000),
            "http://s?map?bbox=-0.008983,-0.009044,0.008983,0.009044");
  EXPECT_EQ(osm::xapi_url("https://s/x", 60000000, 0, 1000),
            "https://s/x?map?bbox=-0.017921,59.991024,0.017921,60.008976");
}

TEST(ServerImport, StoppingBeforeTheDownload) {
  struct Case {
    const char* what;
    std::string answers;
    std::vector<std::string> said;
  };
  const std::vector<Case> cases = {
      {"radius 0", "1\n47.0 9.0\n0\n", {"INFO Incorrect import radius."}},
      {"negative radius", "1\n47.0 9.0\n-3\n", {"INFO Incorrect import radius."}},
      {"no number", "1\n47.0 9.0\nabc\n", {"INFO Incorrect import radius."}},
      {"server list cancelled", ":cancel\n", {}},
      {"point cancelled", "1\n:cancel\n", {}},
      {"name cancelled", "1\n47.0 9.0\n5\n:cancel\n", {}},
  };
  for (const Case& c : cases) {
    ImportWorld w;
    w.answer(c.answers);
    w.run();
    std::vector<std::string> said;
    for (const auto& l : w.dialog())
      if (l.starts_with("INFO ") || l.starts_with("ASK ")) said.push_back(l);
    EXPECT_EQ(said, c.said) << c.what;
    EXPECT_EQ(w.xapi.hits(), 0) << c.what;
  }
  ImportWorld w;
  w.servers = {"", "", ""};
  w.run();
  EXPECT_EQ(w.dialog(), std::vector<std::string>{
                            "INFO No XAPI server configured: set xapi_server_1 in orvela.ini."});
}

// The person presses Cancel once the download shows its progress.
struct Person : ui::BgProgress {
  void BGPROCESINFO(const std::string& s, ui::BgTarget target) override {
    if (target == ui::BGPROCESEDIT && s.find("KBytes downloaded") != std::string::npos)
      cancel = true;
  }
  bool BGPROCESCANCEL() const override { return cancel; }
  std::atomic<bool> cancel{false};
};

TEST(ServerImport, CancelWhileDownloading) {
  ImportWorld w;
  w.xapi.stall("<?xml version='1.0'?><osm>");
  const auto rules = osm::load_osm_rules(w.tmp / "osm.rules", [](const std::string&) {});
  ASSERT_TRUE(rules);
  osm::OSMIMPORTPARAMREC p;
  p.URL = osm::xapi_url(w.servers[1], 47141000, 9520000, 1000);
  p.OUTFN = w.map_path("vaduz.osm.orvel");
  p.FROMFILE = false;
  Person person;
  const ui::BgResult r = osm::OSMIMPORTTHREAD(
      w.tmp / "errdb.log", *rules, p,
      [&w](const std::string& url, const fs::path& file, ui::BgProgress& progress) {
        return w.online.download_to(url, file, progress);
      },
      person);
  EXPECT_TRUE(person.cancel);
  EXPECT_EQ(r.LASTERR, 0);
  EXPECT_EQ(w.xapi.hits(), 1);
  EXPECT_FALSE(fs::exists(p.OUTFN));
  w.no_temporary_files();

  // Through the command: a cancel stops it quietly and the viewed map stays.
  { orvela::test::MapBuilder b(w.map_path()); }
  ASSERT_TRUE(w.load());
  w.answer("1\n47.141 9.52\n1\nvaduz\n:cancel\n");
  w.run();
  EXPECT_TRUE(w.lines("INFO ").empty());
  EXPECT_TRUE(w.lines("ASK ").empty());
  EXPECT_FALSE(fs::exists(p.OUTFN));
  EXPECT_EQ(w.loader.FN(), w.map_path().string());
  w.no_temporary_files();
}

}  // namespace
}  // namespace orvela::online
