// Installing, updating and deleting maps from the map servers, through the
// commands' dialogs on the console.
#include <gtest/gtest.h>

#include <functional>

#include "map/mapdb.h"
#include "online/online_world.h"
#include "text/atomic_file.h"

namespace orvela::online {
namespace {

using test::OnlineWorld;
namespace fs = std::filesystem;

constexpr const char* kOld = "2015.01.01/10:00:00";
constexpr const char* kNew = "2015.03.10/12:00:00";

TEST(InstallMap, PicksByTypeAndNameAndOpensTheNewMap) {
  OnlineWorld w;
  w.user.ULATLONSET = false;
  w.catalogue("/maps/", std::string("obszary\tobszary.orvel\t") + kNew + "\t900\r\n" +
                            "polska\tmazowieckie.orvel\t" + kNew + "\t5000\r\n" +
                            "inne\tvaduz.orvel\t" + kNew + "\t1536\r\n" + "inne\tschaan.orvel\t" +
                            kNew + "\t100\r\n");
  const std::string bytes = w.publish("/maps/", "schaan.orvel", kNew);
  w.answer("3\n2\ny\ny\n");
  w.online.INSTALLMAP(true, "");
  const auto out = w.dialog();
  const std::vector<std::string> want = {
      "LIST Pobierz i zainstaluj mapę: Wybierz typ mapy",
      "* 1. obszary",
      "  2. polska",
      "  3. inne",
      "LIST Pobierz i zainstaluj mapę: Wybierz mapę",
      "* 1. vaduz.orvel",
      "  2. schaan.orvel",
      "ASK Zainstalować mapę schaan.orvel (wymaga pobrania 0 KB danych)?"};
  ASSERT_GE(out.size(), want.size());
  EXPECT_EQ(std::vector<std::string>(out.begin(), out.begin() + want.size()), want);
  EXPECT_EQ(w.lines("PROGRESS ").front(), "PROGRESS Pobieranie listy map: Postęp: ");
  EXPECT_EQ(w.lines("ASK ").back(), "ASK Zainstalowano. Otworzyć pobraną mapę?");
  EXPECT_EQ(test::file_bytes(w.map_path("schaan.orvel")), bytes);
  // Without a known position the new map opens at its centre, where the café is.
  EXPECT_EQ(w.loader.FN(), w.map_path("schaan.orvel").string());
  EXPECT_TRUE(w.user.ULATLONSET);
  EXPECT_EQ(w.name_at(75, 75), "Linde");
  EXPECT_EQ(w.lines("TITLE ").back(), "TITLE Orvela schaan");
  EXPECT_TRUE(w.lines("INFO ").empty());
}

TEST(InstallMap, WhenToUpdateAndWhatToAsk) {
  struct Case {
    const char* what;
    bool primary;
    const char* installed;  // nullptr: not installed
    const char* offered;
    int size;
    const char* said;
  };
  const Case cases[] = {
      {"not installed", true, nullptr, kNew, 1536,
       "ASK Zainstalować mapę vaduz.orvel (wymaga pobrania 2 KB danych)?"},
      {"newer on the server", true, kOld, kNew, 2560,
       "ASK Zaktualizować mapę vaduz.orvel (wymaga pobrania 2 KB danych)?"},
      {"same on the primary", true, kNew, kNew, 1536,
       "INFO Mapa vaduz.orvel nie wymaga aktualizacji."},
      {"older on the primary", true, kNew, kOld, 1536,
       "INFO Mapa vaduz.orvel nie wymaga aktualizacji."},
      {"same on the backup", false, kNew, kNew, 3584,
       "ASK Mapa na serwerze zapasowym jest starsza, czy na pewno chcesz zastąpić nią aktualną "
       "mapę (wymaga pobrania 4 KB danych)?"},
      // Dates compare as text.
      {"text order", true, "2015-10-01", "2015-3-1", 1536,
       "ASK Zaktualizować mapę vaduz.orvel (wymaga pobrania 2 KB danych)?"},
  };
  for (const Case& c : cases) {
    OnlineWorld w;
    if (c.installed) w.install("vaduz.orvel", c.installed);
    const std::string dir = c.primary ? "/maps/" : "/backup/";
    w.catalogue(dir, std::string("inne\tvaduz.orvel\t") + c.offered + "\t" +
                         std::to_string(c.size) + "\r\n");
    w.publish(dir, "vaduz.orvel", c.offered);
    w.answer("n\n");
    w.online.INSTALLMAP(c.primary, "vaduz.orvel");
    const auto out = w.out();
    ASSERT_FALSE(out.empty()) << c.what;
    EXPECT_EQ(out.back(), c.said) << c.what;
    EXPECT_EQ(w.server.hits(dir + "vaduz.orvel.7z"), 0) << c.what;
    if (c.installed) {
      EXPECT_EQ(w.date_of("vaduz.orvel"), c.installed) << c.what;
    }
  }
}

TEST(InstallMap, UpdatingTheOpenMapReopensIt) {
  OnlineWorld w;
  w.install("vaduz.orvel", kOld);
  ASSERT_TRUE(w.load("vaduz.orvel"));
  w.catalogue("/maps/", std::string("inne\tvaduz.orvel\t") + kNew + "\t1536\r\n");
  w.publish("/maps/", "vaduz.orvel", kNew);
  w.answer("y\n");
  w.online.UPDMAP();
  EXPECT_EQ(w.lines("INFO "), std::vector<std::string>{"INFO Zainstalowano."});
  EXPECT_EQ(w.date_of("vaduz.orvel"), kNew);
  EXPECT_NE(w.db.DB(), nullptr);
  EXPECT_EQ(w.name_at(75, 75), "Linde");
  // The update came from the last server used: after an installation from
  // the backup, from there.
  w.catalogue("/backup/", std::string("inne\tvaduz.orvel\t") + kNew + "\t1536\r\n");
  w.answer("n\nn\n");
  w.online.INSTALLMAP(false, "vaduz.orvel");
  w.online.UPDMAP();
  EXPECT_EQ(w.server.hits("/backup/maplista.dat"), 2);
  EXPECT_EQ(w.server.hits("/maps/maplista.dat"), 1);
}

TEST(InstallMap, FailuresAndCancelLeaveTheInstalledMap) {
  struct Case {
    const char* what;
    std::function<void(OnlineWorld&)> serve;
    std::string answers;
    std::string said;
  };
  const std::string catalogue = std::string("inne\tvaduz.orvel\t") + kNew + "\t1536\r\n";
  const std::vector<Case> cases = {
      {"catalogue missing", [](OnlineWorld&) {}, "",
       "INFO Error - Pobieranie listy map\\nNieprawidłowy format listy map (HTTP 404)"},
      {"archive missing", [&](OnlineWorld& w) { w.catalogue("/maps/", catalogue); }, "y\n",
       // The error page is stored and fails to unpack; the status says why.
       "INFO Error - Instalacja mapy vaduz.orvel\\nBłąd instalacji mapy: the archive cannot be "
       "read: Unrecognized archive format (HTTP 404)"},
      {"hostile archive",
       [&](OnlineWorld& w) {
         w.catalogue("/maps/", catalogue);
         test::write_7z(w.tmp / "evil.7z", {{"../evil", test::ArchiveEntry::File, "x"}});
         w.server.serve_file("/maps/vaduz.orvel.7z", w.tmp / "evil.7z");
       },
       "y\n",
       "INFO Error - Instalacja mapy vaduz.orvel\\nBłąd instalacji mapy: the archive entry "
       "../evil points outside the maps folder"},
      {"cancelled",
       [&](OnlineWorld& w) {
         w.catalogue("/maps/", catalogue);
         w.server.stall("/maps/vaduz.orvel.7z", "7z");
       },
       "y\n:cancel\n", "INFO Operacja przerwana."},
  };
  for (const Case& c : cases) {
    OnlineWorld w;
    w.install("vaduz.orvel", kOld);
    ASSERT_TRUE(w.load("vaduz.orvel"));
    c.serve(w);
    // The map on the server is "newer" than the installed one.
    w.answer(c.answers);
    w.online.INSTALLMAP(true, "vaduz.orvel");
    EXPECT_EQ(w.lines("INFO "), std::vector<std::string>{c.said}) << c.what;
    EXPECT_EQ(w.date_of("vaduz.orvel"), kOld) << c.what;
    EXPECT_EQ(w.loader.FN(), w.map_path("vaduz.orvel").string()) << c.what;
    EXPECT_NE(w.db.DB(), nullptr) << c.what;
    EXPECT_FALSE(fs::exists(w.tmp / "evil")) << c.what;
    for (const auto& e : fs::directory_iterator(w.tmp / "maps"))
      EXPECT_FALSE(text::is_temp_name(e.path())) << c.what << ": " << e.path();
  }
}

TEST(InstallMap, NoServerConfigured) {
  OnlineWorld w;
  w.addresses.primary_map_server.clear();
  w.addresses.backup_map_server.clear();
  w.answer("y\n");
  w.online.INSTALLMAP(true, "");
  w.online.INSTALLMAP(false, "");
  w.online.UPDALLMAPS(true);  // the start-up check keeps quiet
  EXPECT_EQ(w.out(), (std::vector<std::string>{
                         "INFO No map server configured: set primary_map_server in orvela.ini.",
                         "INFO No map server configured: set backup_map_server in orvela.ini."}));
}

TEST(UpdateAllMaps, StopsAtTheFirstFailure) {
  OnlineWorld w;
  for (const char* m : {"a.orvel", "b.orvel", "c.orvel", "d.orvel"}) w.install(m, kOld);
  // Sizes: 3.6 MB together, announced as 4 MB. d is up to date, e not installed.
  w.catalogue("/maps/", std::string("inne\ta.orvel\t") + kNew + "\t2000000\r\n" +
                            "inne\tb.orvel\t" + kNew + "\t1774873\r\n" + "inne\tc.orvel\t" + kNew +
                            "\t10\r\n" + "inne\td.orvel\t" + kOld + "\t10\r\n" + "inne\te.orvel\t" +
                            kNew + "\t10\r\n");
  w.publish("/maps/", "a.orvel", kNew);
  w.publish("/maps/", "c.orvel", kNew);  // b's archive is missing
  w.answer("y\ny\n");
  w.online.UPDALLMAPS(false);
  EXPECT_EQ(w.lines("ASK "),
            (std::vector<std::string>{
                "ASK Sprawdzić dostępność aktualizacji zainstalowanych map?",
                "ASK Zainstalować aktualizacje dla 3 map (wymaga pobrania około 4 MB danych)?"}));
  const auto infos = w.lines("INFO ");
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_TRUE(infos[0].starts_with("INFO Error - Instalacja mapy b.orvel\\n")) << infos[0];
  EXPECT_EQ(w.date_of("a.orvel"), kNew);
  EXPECT_EQ(w.date_of("b.orvel"), kOld);
  EXPECT_EQ(w.date_of("c.orvel"), kOld);
  EXPECT_EQ(w.server.hits("/maps/c.orvel.7z"), 0);
  EXPECT_FALSE(fs::exists(w.map_path("e.orvel")));
}

TEST(UpdateAllMaps, NothingToUpdate) {
  struct Case {
    const char* what;
    bool AUTO;
    bool installed;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      {"up to date",
       false,
       true,
       {"ASK Sprawdzić dostępność aktualizacji zainstalowanych map?",
        "INFO Brak dostępnych aktualizacji dla 1 zainstalowanych map."}},
      {"up to date at start-up", true, true, {}},
      {"none installed",
       false,
       false,
       {"ASK Sprawdzić dostępność aktualizacji zainstalowanych map?",
        "INFO Nie znaleziono żadnych zainstalowanych map."}},
      {"none installed at start-up",
       true,
       false,
       {"INFO Nie znaleziono żadnych zainstalowanych map."}},
  };
  for (const Case& c : cases) {
    OnlineWorld w;
    if (c.installed) w.install("a.orvel", kNew);
    w.catalogue("/maps/", std::string("inne\ta.orvel\t") + kNew + "\t10\r\n");
    w.answer("y\n");
    w.online.UPDALLMAPS(c.AUTO);
    EXPECT_EQ(w.dialog(), c.said) << c.what;
  }
}

TEST(DeleteMap, TheOpenMapIsClosedFirst) {
  OnlineWorld w;
  w.install("a.orvel", kNew);
  ASSERT_TRUE(w.load("a.orvel"));
  w.answer("1\nn\n1\ny\n");
  w.online.DELMAP();
  EXPECT_TRUE(fs::exists(w.map_path("a.orvel")));
  EXPECT_NE(w.db.DB(), nullptr);
  w.online.DELMAP();
  EXPECT_FALSE(fs::exists(w.map_path("a.orvel")));
  EXPECT_EQ(w.db.DB(), nullptr);
  w.online.DELMAP();
  EXPECT_EQ(w.lines("ASK "), (std::vector<std::string>{"ASK Really delete map a.orvel?",
                                                       "ASK Really delete map a.orvel?"}));
  EXPECT_EQ(w.lines("INFO "),
            (std::vector<std::string>{"INFO Map deleted.", "INFO No maps installed."}));
  EXPECT_EQ(w.lines("LIST ").front(), "LIST Delete map: Select map to delete");
}

}  // namespace
}  // namespace orvela::online
