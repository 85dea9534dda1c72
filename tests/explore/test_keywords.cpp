// Key words: folding, splitting, and matching them against texts in SQL,
// where they must find exactly what LIKE finds as long as they are ASCII.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "explore/keywords.h"

namespace orvela::explore {
namespace {

TEST(KeyWords, FoldCase) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"Vaduz POST 12", "vaduz post 12"},
      {"ŁÓDŹ", "łódź"},
      {"ZAŻÓŁĆ GĘŚLĄ JAŹŃ", "zażółć gęślą jaźń"},
      {"STÄDTLE", "städtle"},
      {"STRAẞE", "straße"},  // capital sharp s
      {"ÆØÅ ÞÉ", "æøå þé"},
      {"ΑΘΉΝΑ ΟΔΌΣ", "αθήνα οδόσ"},  // the final sigma is a sigma
      {"ΟΔΌς", "οδόσ"},
      {"МОСКВА ЁЛКА ЇЖАК", "москва ёлка їжак"},
      {"ŞTEFAN ȚEPEŞ", "ştefan țepeş"},
      {"ԵՐԵՎԱՆ", "երեվան"},
      {"ＡＢＣ", "ａｂｃ"},
      // Never folded into ASCII: the Kelvin sign and the dotted capital I.
      {"\u212A \u0130", "\u212A \u0130"},
      // Bytes that are no character pass through; the letters around them fold.
      {"A\xC3(B\xFF", "a\xC3(b\xFF"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(fold_case(c.in), c.out) << c.in;
}

TEST(KeyWords, PrepareSplitsAtBlanksAndFolds) {
  using Words = std::vector<std::string>;
  EXPECT_EQ(PREPARESEARCHKEYWORDS("  Vaduz \t POST "), (Words{"vaduz", "post"}));
  EXPECT_EQ(PREPARESEARCHKEYWORDS("O'Reilly \"Pub\" 100%"), (Words{"o'reilly", "\"pub\"", "100%"}));
  EXPECT_EQ(PREPARESEARCHKEYWORDS("ŁÓDŹ"), (Words{"łódź"}));
  EXPECT_TRUE(PREPARESEARCHKEYWORDS(" \t ").empty());
}

TEST(KeyWords, CheckNeedsEveryWordSomewhere) {
  struct Case {
    const char* text;
    const char* entry;
    bool found;
  };
  const Case cases[] = {
      {"Städtle pedestrian", "", true},
      {"Städtle pedestrian", "STÄDTLE", true},
      {"Städtle pedestrian", "ped städ", true},
      {"Städtle pedestrian", "städtle road", false},
      {"Hauptstraße", "strasse", false},
      {"Łódź Kaliska", "łódź", true},
      {"100% Bio", "100%", true},
      {"1000 Bio", "100%", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CHECKSEARCHKEYWORDS(c.text, PREPARESEARCHKEYWORDS(c.entry)), c.found)
        << c.text << " / " << c.entry;
}

// One value of a query on an in-memory database.
class Sql {
 public:
  Sql() {
    sqlite3_open(":memory:", &db_);
    EXPECT_TRUE(register_keyword_match(db_));
  }
  ~Sql() { sqlite3_close(db_); }
  int ask(const std::string& sql, const std::string& a, const std::string& b) {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
    sqlite3_bind_text(st, 1, a.data(), static_cast<int>(a.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    const int r = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    return r;
  }
  sqlite3* db_ = nullptr;
};

// The LIKE pattern that finds `key` anywhere, its % and _ matching themselves.
std::string like_pattern(const std::string& key) {
  std::string p = "%";
  for (char c : key) {
    if (c == '%' || c == '_' || c == '\\') p += '\\';
    p += c;
  }
  return p + "%";
}

TEST(KeyWords, AsciiKeyWordsFindWhatLikeFinds) {
  const std::vector<std::string> texts = {
      "Vaduz",        "VADUZ Post", "Städtle",   "STÄDTLE",    "Hauptstraße",
      "HAUPTSTRASSE", "100% Bio",   "1000 Bio",  "a_b",        "axb",
      "O'Reilly's",   "\"Pub\"",    "Łódź",      "\u212Aiosk", "\u0130zmir",
      "bad\xC3(ute",  "",           "K\xFF\xFEk"};
  const std::vector<std::string> keys = {"vaduz", "post", "dtle", "stra",  "strasse", "100%",
                                         "a_b",   "'",    "\"",   "kiosk", "izmir",   "k",
                                         "ute",   "(",    "x",    "%",     "_"};
  Sql sql;
  for (const std::string& t : texts)
    for (const std::string& k : keys)
      EXPECT_EQ(sql.ask("select haskeyword(?1, ?2)", t, k),
                sql.ask("select ?1 like ?2 escape '\\'", t, like_pattern(k)))
          << t << " / " << k;
}

}  // namespace
}  // namespace orvela::explore
