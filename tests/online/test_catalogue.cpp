// Reading a map server's catalogue.
#include <gtest/gtest.h>

#include "online/map_catalogue.h"

namespace orvela::online {
namespace {

constexpr const char* kBad = "Nieprawidłowy format listy map";

TEST(MapCatalogue, RecordsLineEndsAndErrors) {
  const MAPLISTRECORD vaduz{"inne", "vaduz.orvel", "2015.03.10/12:00:00", 1536};
  const MAPLISTRECORD pl{"polska", "mazowieckie.orvel", "2015-02-28", 3774873};
  struct Case {
    const char* what;
    std::string text;
    MAPLIST records;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"CR LF", "orvelamaplista7\r\ninne\tvaduz.orvel\t2015.03.10/12:00:00\t1536\r\n", {vaduz}, ""},
      {"LF, no end at the end",
       "orvelamaplista7\ninne\tvaduz.orvel\t2015.03.10/12:00:00\t1536\n"
       "polska\tmazowieckie.orvel\t2015-02-28\t3774873",
       {vaduz, pl},
       ""},
      {"byte order mark",
       "\xEF\xBB\xBForvelamaplista7\r\ninne\tvaduz.orvel\t2015.03.10/12:00:00\t1536",
       {vaduz},
       ""},
      {"empty lines skipped",
       "orvelamaplista7\r\n\r\ninne\tvaduz.orvel\t2015.03.10/12:00:00\t1536\r\n\n",
       {vaduz},
       ""},
      {"size read as far as it is a number",
       "orvelamaplista7\ninne\tvaduz.orvel\t2015.03.10/12:00:00\t1536 bytes",
       {vaduz},
       ""},
      {"size missing is 0",
       "orvelamaplista7\ninne\ta.orvel\td\t",
       {{"inne", "a.orvel", "d", 0}},
       ""},
      {"empty type stops the reading",
       "orvelamaplista7\ninne\tvaduz.orvel\t2015.03.10/12:00:00\t1536\n\tb.orvel\td\t1\n"
       "inne\tc.orvel\td\t1\n",
       {vaduz},
       kBad},
      {"missing TAB", "orvelamaplista7\ninne\tvaduz.orvel 2015\t1\n", {}, kBad},
      {"empty date", "orvelamaplista7\ninne\tvaduz.orvel\t\t1\n", {}, kBad},
      {"name with a folder", "orvelamaplista7\ninne\t../evil.orvel\td\t1\n", {}, kBad},
      {"name with a backslash", "orvelamaplista7\ninne\ta\\b.orvel\td\t1\n", {}, kBad},
      {"not a catalogue", "<html>Not Found</html>", {}, kBad},
      {"empty file", "", {}, kBad},
      {"older maps",
       "orvelamaplista6\r\ninne\tvaduz.orvel\td\t1\r\n",
       {},
       "Mapy na serwerze nie zostały jeszcze zaktualizowane do tej wersji programu. Spróbuj "
       "ponownie później."},
      {"newer maps",
       "orvelamaplista8\r\n",
       {},
       "Mapy na serwerze wymagają nowszej wersji programu. Zaktualizuj program."},
      {"no version",
       "orvelamaplista\r\n",
       {},
       "Mapy na serwerze nie zostały jeszcze zaktualizowane do tej wersji programu. Spróbuj "
       "ponownie później."},
  };
  for (const Case& c : cases) {
    const MapListResult r = parse_map_list(c.text);
    EXPECT_EQ(r.records, c.records) << c.what;
    EXPECT_EQ(r.error, c.error) << c.what;
  }
}

TEST(MapCatalogue, WrittenLinesReadBack) {
  const MAPLISTRECORD r{"polska", "łódź.orvel", "2015.03.10/12:00:00", 123};
  EXPECT_EQ(map_list_line(r), "polska\tłódź.orvel\t2015.03.10/12:00:00\t123\r\n");
  const MapListResult back = parse_map_list(std::string("orvelamaplista7\r\n") + map_list_line(r));
  EXPECT_EQ(back.error, "");
  EXPECT_EQ(back.records, MAPLIST{r});
}

}  // namespace
}  // namespace orvela::online
