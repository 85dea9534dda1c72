// Damaged copies of real files through the real program: an import of a
// broken extract and the opening of a broken map say, after the error text,
// where the damage is and what it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>

#include "support/console_runner.h"
#include "support/sql_rows.h"
#include "support/test_env.h"

namespace orvela::test {
namespace {
namespace fs = std::filesystem;

std::string read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const fs::path& p, const std::string& s) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << s;
}

fs::path shared_file(const std::string& rel) {
  const auto dir = shared_data_dir();
  if (!dir) ADD_FAILURE() << "no third-party test data (ORVELA_TEST_DATA)";
  return dir ? *dir / rel : fs::path();
}

// Where byte `at` of `s` is, as the message gives it.
std::string line_and_column(const std::string& s, size_t at) {
  const size_t line = static_cast<size_t>(std::count(s.begin(), s.begin() + at, '\n')) + 1;
  const size_t start = s.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t column = at - (start == std::string::npos || at == 0 ? 0 : start + 1) + 1;
  return "Line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

// Where block `n` (from 1, the header block) of a PBF file starts: every
// data block's header begins with its type, "OSMData".
size_t pbf_block_start(const std::string& pbf, int n) {
  size_t at = 0;
  for (int i = 2; i <= n; ++i) {
    at = pbf.find(std::string("\x0a\x07OSMData", 9), at + 1);
    EXPECT_NE(at, std::string::npos);
  }
  return n == 1 ? 0 : at - 4;
}

// The line after the error text: how it starts and what it holds.
struct Want {
  std::string starts;
  std::string holds;
};

struct Damage {
  const char* what;
  const char* source;  // under the third-party data folder
  const char* name;    // of the damaged copy
  // Damages the copy and says what the error must then tell.
  std::function<Want(std::string& bytes)> damage;
};

TEST(DamagedInput, ImportSaysWhereAndWhat) {
  const Damage cases[] = {
      {"a letter in a node id", "osm/osmnx-planet_10.068_48.135_10.071_48.137.osm", "id.osm",
       [](std::string& s) {
         const size_t node = s.find("<node id=\"", s.find("<node id=\"") + 1);  // the second node
         s[node + 10] = 'x';
         const size_t close = s.find('"', node + 10);
         const std::string id = s.substr(node + 10, close - node - 10);
         return Want{
             line_and_column(s, close + 1) + "expected a number in id=\"" + id + "\" of <node>.\n",
             ""};
       }},
      {"cut after a node reference", "osm/osmnx-planet_10.068_48.135_10.071_48.137.osm", "cut.osm",
       [](std::string& s) {
         s.resize(s.find('\n', s.find("<nd ref=", s.find("<way "))) + 1);
         return Want{line_and_column(s, s.size()) + "the file ends here, expected </way>.\n", ""};
       }},
      {"a bzip2 stream cut short", "osm/liechtenstein-2013-08-03.osm.bz2", "cut.osm.bz2",
       [](std::string& s) {
         s.resize(s.size() / 3);
         return Want{"Line ", ": the data cannot be read further (bzip2 data truncated).\n"};
       }},
      {"flipped bytes in a PBF block", "osm/liechtenstein-2013-08-03.osm.pbf", "flip.osm.pbf",
       [](std::string& s) {
         const size_t at = pbf_block_start(s, 3);
         for (size_t i = at + 40; i < at + 72; ++i) s[i] = static_cast<char>(~s[i]);
         return Want{"Block 3 (from byte " + std::to_string(at) + "): ",
                     "failed to uncompress data"};
       }},
      {"a PBF file cut inside a block", "osm/liechtenstein-2013-08-03.osm.pbf", "cut.osm.pbf",
       [](std::string& s) {
         const size_t at = pbf_block_start(s, 2);
         s.resize(at + 100);
         return Want{"Block 2 (from byte " + std::to_string(at) + "): PBF error: ", ""};
       }},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir home;
    std::string bytes = read_bytes(shared_file(c.source));
    ASSERT_FALSE(bytes.empty());
    const Want want = c.damage(bytes);
    write_bytes(home / c.name, bytes);
    ConsoleRun import;
    import.args = {"--home", home.path().string(), "--import", (home / c.name).string(),
                   (home / "out.orvel").string()};
    import.timeout = std::chrono::seconds(300);
    const ConsoleResult r = run_console(home.path(), import);
    EXPECT_EQ(r.exit_code, 1) << r.err;
    const std::string head = "Error 2: bad file format..\n";
    const size_t at = r.err.find(head + want.starts);
    ASSERT_NE(at, std::string::npos) << "want: " << want.starts << "\ngot: " << r.err;
    EXPECT_NE(r.err.find(want.holds, at + head.size()), std::string::npos)
        << "want: " << want.holds << "\ngot: " << r.err;
    EXPECT_FALSE(fs::exists(home / "out.orvel"));
  }
}

// Overwrites the first page of `table`'s tree in the map file.
void damage_table(const fs::path& map, const std::string& table) {
  using osm::testing::sql_one;
  const long page_size = std::stol(sql_one(map, "pragma page_size"));
  const long root =
      std::stol(sql_one(map, "select rootpage from sqlite_master where name='" + table + "'"));
  std::string bytes = read_bytes(map);
  const size_t at = static_cast<size_t>((root - 1) * page_size);
  ASSERT_LE(at + static_cast<size_t>(page_size), bytes.size());
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), page_size, '\xA5');
  write_bytes(map, bytes);
}

TEST(DamagedInput, OpeningAMapNamesTheDamagedTable) {
  const fs::path source = shared_file("osm/osmnx-planet_10.068_48.135_10.071_48.137.osm");
  for (const char* table : {"orvel_lin", "orvel_poi"}) {
    SCOPED_TRACE(table);
    TempDir home;
    fs::create_directories(home / "maps");
    // Under the demo map's name, so the list holds this map alone.
    const fs::path map = home / "maps" / "nowhere-cove.orvel";
    ConsoleRun import;
    import.args = {"--home", home.path().string(), "--import", source.string(), map.string()};
    ASSERT_EQ(run_console(home.path(), import).exit_code, 0);
    damage_table(map, table);

    // The map loads its squares once the user stands somewhere on it.
    const ConsoleResult r =
        run_console(home.path(), "Ctrl+O\n1\n:cancel\nCtrl+G\n48.136 10.0695\n");
    const std::string want = std::string("INFO Error reading map: Getting data. Table ") + table +
                             " is damaged: database disk image is malformed.";
    const auto lines = r.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), want), lines.end())
        << "want: " << want << "\ngot:\n"
        << r.out << r.err;
  }
}

}  // namespace
}  // namespace orvela::test
