// The program update check, the time of the last automatic check, and the
// web map view.
#include <gtest/gtest.h>

#include <fstream>

#include "online/online_world.h"
#include "online/program_update.h"

namespace orvela::online {
namespace {

using test::OnlineWorld;
namespace fs = std::filesystem;

TEST(ProgramUpdate, WhatTheVersionFileSays) {
  struct Case {
    const char* what;
    std::string file;
    int status;
    bool AUTO;
    std::string answers;
    std::vector<std::string> said;  // "{home}" stands for the home page
  };
  const std::vector<Case> cases = {
      {"newer",
       "orvela\r\n1.02\r\n",
       200,
       false,
       "y\n",
       {"ASK Available program version 1.02, your version is 1.01.\\nDo you want to open {home} "
        "in default browser to download program?",
        "OPEN {home}"}},
      {"newer at start-up, declined",
       "orvela\n1.02",
       200,
       true,
       "n\n",
       {"ASK Available program version 1.02, your version is 1.01.\\nDo you want to open {home} "
        "in default browser to download program?"}},
      // Any other version counts: there is no numeric comparison.
      {"older",
       "\xEF\xBB\xBForvela\n1.00\n",
       200,
       false,
       "n\n",
       {"ASK Available program version 1.00, your version is 1.01.\\nDo you want to open {home} "
        "in default browser to download program?"}},
      {"same",
       "orvela\r\n1.01\r\nfurther lines are not read\r\n",
       200,
       false,
       "",
       {"INFO You are using newest version of program."}},
      {"same at start-up", "orvela\r\n1.01\r\n", 200, true, "", {}},
      {"marker in another case",
       "Orvela\r\n1.02\r\n",
       200,
       false,
       "",
       {"INFO Error - Downloading program update information\\nBad update information format."}},
      {"no version line",
       "orvela\r\n",
       200,
       false,
       "",
       {"INFO Error - Downloading program update information\\nBad update information format."}},
      {"error page",
       "<html>Not Found</html>",
       404,
       true,
       "",
       {"INFO Error - Downloading program update information\\nBad update information format. "
        "(HTTP 404)"}},
  };
  for (const Case& c : cases) {
    OnlineWorld w;
    w.server.serve("/ver.dat", c.file, c.status);
    w.answer(c.answers);
    w.online.CHECKPROGRAMUPDATE(c.AUTO);
    std::vector<std::string> want;
    for (std::string s : c.said) {
      if (auto at = s.find("{home}"); at != std::string::npos)
        s.replace(at, 6, w.addresses.home_page);
      want.push_back(s);
    }
    EXPECT_EQ(w.dialog(), want) << c.what;
    // The version file lies at the root of the home page's site.
    EXPECT_EQ(w.server.hits("/ver.dat"), 1) << c.what;
    EXPECT_EQ(w.lines("PROGRESS ").front(),
              "PROGRESS Downloading program update information: Progress:: ")
        << c.what;
  }
}

TEST(ProgramUpdate, NoHomePageConfigured) {
  OnlineWorld w;
  w.addresses.home_page.clear();
  w.online.CHECKPROGRAMUPDATE(true);
  w.online.CHECKPROGRAMUPDATE(false);
  EXPECT_EQ(w.out(),
            std::vector<std::string>{"INFO No home page configured: set home_page in orvela.ini."});
}

TEST(ProgramUpdate, VersionFileAddress) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://example.org/orvela/", "https://example.org/ver.dat"},
      {"http://example.org", "http://example.org/ver.dat"},
      {"example.org/a/b.html", "http://example.org/ver.dat"},
      {"https://example.org:8080?lang=pl", "https://example.org:8080/ver.dat"},
  };
  for (const auto& [home, url] : cases) EXPECT_EQ(version_file_url(home), url) << home;
}

TEST(AutoUpdateCheck, AtMostOnceInSixHours) {
  OnlineWorld w;
  w.server.serve("/ver.dat", "orvela\r\n1.01\r\n");
  w.catalogue("/maps/", "");
  w.install("a.orvel", "2015");
  w.online.AUTOUPDATECHECK(false);
  EXPECT_EQ(w.server.hits("/ver.dat"), 0);
  EXPECT_FALSE(fs::exists(w.tmp / "update.dat"));
  // Two starts: the second comes within six hours of the first.
  w.online.AUTOUPDATECHECK(true);
  w.online.AUTOUPDATECHECK(true);
  EXPECT_EQ(w.server.hits("/ver.dat"), 1);
  EXPECT_EQ(w.server.hits("/maps/maplista.dat"), 1);
  EXPECT_EQ(fs::file_size(w.tmp / "update.dat"), 8u);
  EXPECT_NEAR(read_update_dat(w.tmp / "update.dat"), now_days(), 1.0 / 24);
  // A file of another length counts as none.
  std::ofstream(w.tmp / "update.dat", std::ios::binary | std::ios::trunc) << "123456789";
  w.online.AUTOUPDATECHECK(true);
  EXPECT_EQ(w.server.hits("/ver.dat"), 2);
  // The same version is not mentioned at start-up; that no map of the
  // catalogue is installed is.
  EXPECT_EQ(w.dialog(),
            (std::vector<std::string>{"INFO Nie znaleziono żadnych zainstalowanych map.",
                                      "INFO Nie znaleziono żadnych zainstalowanych map."}));
}

TEST(AutoUpdateCheck, TheLastCheckFile) {
  orvela::test::TempDir dir;
  const fs::path f = dir / "update.dat";
  EXPECT_EQ(read_update_dat(f), 0);
  ASSERT_TRUE(write_update_dat(f, 45000.25));
  EXPECT_EQ(read_update_dat(f), 45000.25);
  // Little-endian IEEE double: 45000.25 is 0x40E5F90800000000.
  const std::string bytes = test::file_bytes(f);
  EXPECT_EQ(bytes, std::string("\x00\x00\x00\x00\x08\xF9\xE5\x40", 8));
  std::ofstream(f, std::ios::binary | std::ios::trunc) << "1234567";
  EXPECT_EQ(read_update_dat(f), 0);
  const double hour = 1.0 / 24, minute = hour / 60;
  struct Case {
    double last, now;
    bool due;
  };
  const Case cases[] = {{0, 45000, true},
                        {45000, 45000 + 6 * hour - minute / 2, false},
                        {45000, 45000 + 6 * hour + minute / 2, true},
                        // A last check in the future counts by its distance.
                        {45000 + 6 * hour - minute / 2, 45000, false},
                        {45001, 45000, true}};
  for (const Case& c : cases)
    EXPECT_EQ(update_check_due(c.last, c.now), c.due) << c.last << " " << c.now;
  // 1899-12-30 is day 0; 2000-01-01 is day 36526.
  EXPECT_GT(now_days(), 36526);
}

TEST(WebMapView, TheCurrentPlaceInTheViewer) {
  EXPECT_EQ(ump_www_url("https://ump.fuw.edu.pl/", 52229675, 21012230),
            "https://ump.fuw.edu.pl/ump-www/?zoom=10&layers=B00T&lat=52.22968&lon=21.01223"
            "&mlat=52.22968&mlon=21.01223");
  EXPECT_EQ(ump_www_url("viewer.example", -33868820, -151209296),
            "http://viewer.example/ump-www/?zoom=10&layers=B00T&lat=-33.86882&lon=-151.20930"
            "&mlat=-33.86882&mlon=-151.20930");
  OnlineWorld w;
  w.online.UMPWWW();
  w.install("a.orvel", "2015");
  ASSERT_TRUE(w.load("a.orvel"));
  w.answer("y\n");
  w.online.UMPWWW();
  w.addresses.web_map_viewer.clear();
  w.online.UMPWWW();
  EXPECT_EQ(w.dialog(),
            (std::vector<std::string>{
                "SAY No map selected.", "TITLE Orvela a",
                "ASK Wyświetlić bieżący obszar na UMP-www w osobnym oknie przy użyciu domyślnej "
                "przeglądarki internetowej?",
                "OPEN https://ump.fuw.edu.pl/ump-www/?zoom=10&layers=B00T&lat=47.14100&lon=9.52100"
                "&mlat=47.14100&mlon=9.52100",
                "INFO No web map viewer configured: set web_map_viewer in orvela.ini."}));
}

}  // namespace
}  // namespace orvela::online
