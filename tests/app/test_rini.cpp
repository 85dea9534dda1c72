#include <gtest/gtest.h>

#include <fstream>

#include "app/rini.h"
#include "support/test_env.h"

namespace orvela::app {
namespace {

struct LineCase {
  const char* line;
  bool has_pair;
  const char* name;
  const char* value;
};

TEST(IniLine, NameValueAndSkippedLines) {
  const LineCase cases[] = {
      {"key=value", true, "key", "value"},
      {"  Key = Value  ", true, "Key", "Value"},
      {"\tkey\t=\tvalue\t", true, "key", "value"},
      {"key = a=b=c", true, "key", "a=b=c"},
      {"key = value ; comment", true, "key", "value"},
      {"key = val;ue", true, "key", "val"},
      {"key =", true, "key", ""},
      {"k=v\r", true, "k", "v"},
      {"", false, "", ""},
      {"   ", false, "", ""},
      {"; key=value", false, "", ""},
      {"[section]", false, "", ""},
      {"no equals here", false, "", ""},
      {"=value", false, "", ""},
      {"  = value", false, "", ""},
      {"a ;= b", false, "", ""},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    auto kv = parse_ini_line(c.line);
    ASSERT_EQ(kv.has_value(), c.has_pair);
    if (!kv) continue;
    EXPECT_EQ(kv->first, c.name);
    EXPECT_EQ(kv->second, c.value);
  }
}

TEST(IniFile, ReadsPairsInOrderAndClosesAtEnd) {
  test::TempDir dir;
  std::ofstream(dir / "a.ini") << "; header\n[x]\none=1\r\n\n two = 2 \nthree=3";
  IniFile f(dir / "a.ini");
  ASSERT_TRUE(f.is_open());
  std::string n, v;
  std::vector<std::string> got;
  while (INIGETNEXT(f, n, v)) got.push_back(n + "|" + v);
  EXPECT_EQ(got, (std::vector<std::string>{"one|1", "two|2", "three|3"}));
  EXPECT_FALSE(f.is_open());
  EXPECT_FALSE(INIGETNEXT(f, n, v));
}

TEST(IniFile, LongLineIsCutAndTheNextLineStillRead) {
  test::TempDir dir;
  {
    std::ofstream out(dir / "long.ini", std::ios::binary);
    out << "a=" << std::string(10 * 1024 * 1024, 'x') << "\nb=2\n";
  }
  IniFile f(dir / "long.ini");
  std::string n, v;
  ASSERT_TRUE(INIGETNEXT(f, n, v));
  EXPECT_EQ(n, "a");
  EXPECT_EQ(v.size(), kMaxIniLine - 2);
  ASSERT_TRUE(INIGETNEXT(f, n, v));
  EXPECT_EQ(n + v, "b2");
}

TEST(IniFile, MissingFileIsNotOpen) {
  test::TempDir dir;
  IniFile f(dir / "none.ini");
  EXPECT_FALSE(f.is_open());
  std::string n, v;
  EXPECT_FALSE(INIGETNEXT(f, n, v));
}

}  // namespace
}  // namespace orvela::app
