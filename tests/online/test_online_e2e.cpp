// The real program in Polish on the console against servers on 127.0.0.1:
// maps published with --publish installed, updated and deleted from the
// Map menu, an import from an XAPI server around a point, and the program
// update check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "online/map_install.h"
#include "online/online_world.h"
#include "online/test_server.h"
#include "support/console_runner.h"
#include "support/test_env.h"

namespace orvela::online {
namespace {

using orvela::test::ConsoleResult;
using orvela::test::ConsoleRun;
using orvela::test::TempDir;
using test::OnlineWorld;
namespace fs = std::filesystem;

// A home whose orvela.ini points the map servers, the XAPI servers and the
// home page at the test's servers.
struct Home {
  Home() {
    std::ofstream(home / "orvela.ini") << "primary_map_server=" << web.url("/maps/") << "\n"
                                       << "backup_map_server=" << web.url("/backup/") << "\n"
                                       << "xapi_server_1=" << xapi.host() << "/api/xapi\n"
                                       << "home_page=" << web.url("/orvela/") << "\n";
    fs::create_directories(home / "mine");
  }
  // Runs the program in Polish with `script`.
  ConsoleResult run(const std::string& script, std::vector<std::string> args = {}) {
    ConsoleRun r;
    r.args = args.empty() ? std::vector<std::string>{"--console", "--home", home.path().string(),
                                                     "--lang", "pl"}
                          : std::move(args);
    r.script = script;
    // Straight to the servers, whatever proxy the environment names.
    r.env = {{"no_proxy", "*"}, {"NO_PROXY", "*"}};
    return orvela::test::run_console(home.path(), r);
  }
  // Publishes map `name` of `date` with the program's own --publish and
  // serves the result as the primary map server.
  void publish(const std::string& name, const std::string& date) {
    fs::remove(home / "mine" / name);
    OnlineWorld::write_map(home / "mine" / name, date);
    const ConsoleResult r = run("", {"--home", home.path().string(), "--publish",
                                     (home / "mine").string(), (home / "www").string()});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    for (const auto& e : fs::directory_iterator(home / "www"))
      web.serve_file("/maps/" + e.path().filename().string(), e.path());
  }
  std::string date_of(const std::string& name) { return map_file_date(home / "maps" / name); }
  // The download size the catalogue announces for map `name`, in KB.
  std::string kb(const std::string& name) {
    const auto bytes = fs::file_size(home / "www" / (name + ".7z"));
    return std::to_string(static_cast<long>(std::nearbyint(static_cast<double>(bytes) / 1024)));
  }

  TempDir home;
  test::TestServer web;
  test::RawServer xapi;
};

bool has(const ConsoleResult& r, const std::string& line) {
  const auto lines = r.lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

constexpr const char* kFirst = "2015.01.01/10:00:00";
constexpr const char* kSecond = "2015.03.10/12:00:00";
constexpr const char* kThird = "2016.06.01/08:30:00";

TEST(OnlineE2e, InstallUpdateUpdateAllDelete) {
  Home h;
  h.publish("vaduz.orvel", kFirst);

  // Installed from the catalogue, opened at its centre, kept as the start.
  ConsoleResult r = h.run("IDM_INSTALLMAP\n3\n1\ny\ny\nIDM_SAVESTARTPOS\ny\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(has(r, "LIST Pobierz i zainstaluj mapę: Wybierz typ mapy")) << r.out;
  EXPECT_TRUE(has(r, "* 1. vaduz.orvel")) << r.out;
  EXPECT_TRUE(has(r, "ASK Zainstalować mapę vaduz.orvel (wymaga pobrania " + h.kb("vaduz.orvel") +
                         " KB danych)?"))
      << r.out;
  EXPECT_TRUE(has(r, "ASK Zainstalowano. Otworzyć pobraną mapę?")) << r.out;
  EXPECT_TRUE(has(r, "TITLE Orvela vaduz")) << r.out;
  EXPECT_EQ(h.date_of("vaduz.orvel"), kFirst);
  // From here on the start position opens vaduz; the demo map goes.
  fs::remove(h.home / "maps" / "nowhere-cove.orvel");

  // The catalogue's date is newer: the open map is updated.
  h.publish("vaduz.orvel", kSecond);
  r = h.run("Ctrl+F5\ny\n");
  EXPECT_TRUE(has(r, "ASK Zaktualizować mapę vaduz.orvel (wymaga pobrania " + h.kb("vaduz.orvel") +
                         " KB danych)?"))
      << r.out;
  EXPECT_TRUE(has(r, "INFO Zainstalowano.")) << r.out;
  EXPECT_EQ(h.date_of("vaduz.orvel"), kSecond);
  // Asked again, it needs no update.
  r = h.run("Ctrl+F5\n");
  EXPECT_TRUE(has(r, "INFO Mapa vaduz.orvel nie wymaga aktualizacji.")) << r.out;

  // Update all: only the installed map that is older on the server.
  h.publish("vaduz.orvel", kThird);
  h.publish("schaan.orvel", kThird);
  r = h.run("IDM_UPDALLMAPS\ny\ny\n");
  EXPECT_TRUE(has(r, "ASK Sprawdzić dostępność aktualizacji zainstalowanych map?")) << r.out;
  EXPECT_TRUE(
      has(r, "ASK Zainstalować aktualizacje dla 1 map (wymaga pobrania około 0 MB danych)?"))
      << r.out;
  EXPECT_TRUE(has(r, "INFO Zainstalowano aktualizacje.")) << r.out;
  EXPECT_EQ(h.date_of("vaduz.orvel"), kThird);
  EXPECT_FALSE(fs::exists(h.home / "maps" / "schaan.orvel"));

  r = h.run("IDM_DELMAP\n1\ny\n");
  EXPECT_TRUE(has(r, "LIST Usuń mapę: Wybierz mapę do usunięcia")) << r.out;
  EXPECT_TRUE(has(r, "ASK Czy na pewno usunąć mapę vaduz.orvel?")) << r.out;
  EXPECT_TRUE(has(r, "INFO Mapa usunięta.")) << r.out;
  EXPECT_FALSE(fs::exists(h.home / "maps" / "vaduz.orvel"));
}

TEST(OnlineE2e, ImportFromAnXapiServerAroundAPoint) {
  Home h;
  h.xapi.answer(200,
                "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n"
                "<node id=\"1\" lat=\"47.1400\" lon=\"9.5200\"/>\n"
                "<node id=\"2\" lat=\"47.1420\" lon=\"9.5200\"/>\n"
                "<way id=\"10\"><nd ref=\"1\"/><nd ref=\"2\"/><tag k=\"highway\" "
                "v=\"residential\"/><tag k=\"name\" v=\"Städtle\"/></way>\n</osm>\n");
  const ConsoleResult r = h.run("IDM_OSMIMPORTSERVER\n1\n60.0 9.52\n2\nnord\ny\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(has(r, "LIST Import z OpenStreetMap: Serwer importu")) << r.out;
  EXPECT_TRUE(has(r, "* 1. " + h.xapi.host() + "/api/xapi")) << r.out;
  EXPECT_TRUE(has(r, "ASK Import zakończony. Otworzyć zaimportowaną mapę?")) << r.out;
  EXPECT_TRUE(has(r, "TITLE Orvela nord.osm")) << r.out;
  // Two kilometres each way, measured at 60 degrees north.
  EXPECT_EQ(h.xapi.last_target(), "/api/xapi?map?bbox=9.484157,59.982049,9.555843,60.017951");
  EXPECT_TRUE(fs::exists(h.home / "maps" / "nord.osm.orvel"));
}

TEST(OnlineE2e, ProgramUpdateCheck) {
  Home h;
  h.web.serve("/ver.dat", "orvela\r\n1.02\r\n");
  ConsoleResult r = h.run("IDM_CHECKPROGRAMUPDATE\ny\n");
  EXPECT_TRUE(has(r,
                  "ASK Dostępna jest wersja programu 1.02, twoja wersja to 1.01.\\nCzy chcesz "
                  "otworzyć " +
                      h.web.url("/orvela/") + " w domyślnej przeglądarce, aby pobrać program?"))
      << r.out;
  EXPECT_TRUE(has(r, "OPEN " + h.web.url("/orvela/"))) << r.out;
  h.web.serve("/ver.dat", "orvela\r\n1.01\r\n");
  r = h.run("IDM_CHECKPROGRAMUPDATE\n");
  EXPECT_TRUE(has(r, "INFO Używasz najnowszej wersji programu.")) << r.out;
  EXPECT_EQ(h.web.hits("/ver.dat"), 2);
}

// With the automatic check on, the first start asks the server (quietly,
// as the version is the same) and looks for map updates; a second start
// within six hours asks nothing.
TEST(OnlineE2e, AutomaticCheckAtMostOnceInSixHours) {
  Home h;
  h.web.serve("/ver.dat", "orvela\r\n1.01\r\n");
  h.publish("vaduz.orvel", kFirst);
  std::ofstream(h.home / "user.ini") << "checkautoupdate=1\n";
  ConsoleResult r = h.run("");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(h.web.hits("/ver.dat"), 1);
  EXPECT_EQ(h.web.hits("/maps/maplista.dat"), 1);
  EXPECT_TRUE(has(r, "INFO Nie znaleziono żadnych zainstalowanych map.")) << r.out;
  EXPECT_FALSE(has(r, "INFO Używasz najnowszej wersji programu.")) << r.out;
  EXPECT_EQ(fs::file_size(h.home / "update.dat"), 8u);
  r = h.run("");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(h.web.hits("/ver.dat"), 1);
  EXPECT_FALSE(has(r, "INFO Nie znaleziono żadnych zainstalowanych map.")) << r.out;
}

}  // namespace
}  // namespace orvela::online
