#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text/convert.h"
#include "text/fileutil.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "text/utf8.h"

namespace orvela::text {
namespace {

TEST(StrUtil, Blanks) {
  struct Case {
    std::string in, dbl, right, left, both;
  };
  const Case cases[] = {
      {"  a   b  ", " a b ", "  a   b", "a   b  ", "a   b"},
      {"\t a\t \t", "\t a\t \t", "\t a", "a\t \t", "a"},
      {"", "", "", "", ""},
      {"   ", " ", "", "", ""},
      {"Łódź  Ślęża", "Łódź Ślęża", "Łódź  Ślęża", "Łódź  Ślęża", "Łódź  Ślęża"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DELDBLSPC(c.in), c.dbl) << c.in;
    EXPECT_EQ(DELRSPC(c.in), c.right) << c.in;
    EXPECT_EQ(DELLSPC(c.in), c.left) << c.in;
    EXPECT_EQ(DELRLSPC(c.in), c.both) << c.in;
  }
}

TEST(StrUtil, LowerCaseKnowsPolishLetters) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"ZAŻÓŁĆ GĘŚLĄ JAŹŃ", "zażółć gęślą jaźń"},
      {"Ulica MARSZAŁKOWSKA 12", "ulica marszałkowska 12"},
      {"ÄÖÜ Ñ Я", "ÄÖÜ Ñ Я"},  // letters we have no table for stay as they are
      {"ąę", "ąę"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LOWCASESTR(c.in), c.out) << c.in;
}

TEST(StrUtil, TextCharacters) {
  for (char32_t c : {U'a', U'Z', U'0', U'9', U'Ą', U'ż', U'Ó', U'ł'})
    EXPECT_TRUE(TEXTCHAR(c)) << uint32_t(c);
  for (char32_t c : {U' ', U'-', U'.', U'Ä', U'Я', U'_', kInvalidChar})
    EXPECT_FALSE(TEXTCHAR(c)) << uint32_t(c);
}

TEST(StrUtil, LeadingWords) {
  struct Case {
    std::string in;
    bool textonly;
    std::string word, rest;
  };
  const Case cases[] = {
      {"  \tŁódź Kaliska", true, "Łódź", "Kaliska"},
      {"Łódź-Kaliska  dworzec", true, "Łódź", "-Kaliska  dworzec"},
      {"Łódź-Kaliska  dworzec", false, "Łódź-Kaliska", "dworzec"},
      {"-x y", true, "", "-x y"},
      {"\tone\ttwo three", false, "one\ttwo", "three"},
      {"", false, "", ""},
      {"   ", true, "", ""},
      {"żółw", true, "żółw", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GETLWORD(c.in, c.textonly), c.word) << c.in;
    std::string s = c.in;
    EXPECT_EQ(MOVLWORD(s, c.textonly), c.word) << c.in;
    EXPECT_EQ(s, c.rest) << c.in;
  }
}

TEST(StrUtil, Numbers) {
  EXPECT_EQ(STR2(-42), "-42");
  EXPECT_EQ(STR2(0), "0");
  struct IntCase {
    std::string in;
    int64_t value;
  };
  const IntCase ints[] = {
      {"123", 123},
      {"12abc", 12},
      {"  -7 m", -7},
      {"+5", 5},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"99999999999999999999", INT64_MAX},
      {"-99999999999999999999", INT64_MIN},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
  };
  for (const auto& c : ints) EXPECT_EQ(INT2(c.in), c.value) << c.in;
  EXPECT_EQ(LEADZEROS(7, 3), "007");
  EXPECT_EQ(LEADZEROS(1234, 3), "1234");
  EXPECT_EQ(LEADZEROS(-7, 3), "-7");
  EXPECT_EQ(LEADZEROS(0, 0), "0");
}

TEST(Utf8, CutsOnlyBetweenCharacters) {
  EXPECT_EQ(cut_at_char("abc", 5), "abc");
  EXPECT_EQ(cut_at_char("aż", 2), "a");  // ż takes two bytes
  EXPECT_EQ(cut_at_char("aż", 3), "aż");
  EXPECT_EQ(cut_at_char("€€", 4), "€");
  EXPECT_EQ(cut_at_char("a\xff\xfe", 2), "a\xff");  // stray bytes count as one each
  EXPECT_TRUE(valid_utf8("Zażółć 😀 €"));
}

// Every byte that belongs to no character becomes one U+FFFD; the rest of
// the text, valid characters between bad bytes included, is kept as it was.
TEST(Utf8, RepairReplacesEachBadByte) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Zażółć 😀 €", "Zażółć 😀 €"},
      {"Caf\xE9", "Caf" + r},                            // Latin-1 é
      {"\xC4pfel \xFC", r + "pfel " + r},                // Latin-1 Ä and ü
      {"Zi\xc5", "Zi" + r},                              // truncated ż
      {"\xe2\x82\xac\xe2\x82", "\xe2\x82\xac" + r + r},  // € then a truncated €
      {"\xc0\xaf", r + r},                               // overlong /
      {"\xed\xa0\x80 X", r + r + r + " X"},              // surrogate
      {"\xf4\x90\x80\x80", r + r + r + r},               // beyond U+10FFFF
      {"\xff\xc4\x84", r + "\xc4\x84"},                  // a stray byte before Ą
      {std::string("A\0B", 3), std::string("A\0B", 3)},
  };
  for (const auto& [in, want] : cases) {
    EXPECT_EQ(repair_utf8(in), want) << in;
    EXPECT_TRUE(valid_utf8(repair_utf8(in))) << in;
  }
}

// Malformed UTF-8 from files and the network: every helper copes, keeps the
// stray bytes where it keeps text, and never reads past the end (the test
// build runs under AddressSanitizer).
TEST(Utf8, MalformedTextThroughEveryHelper) {
  const std::vector<std::string> bad = {
      "\xc5",                  // lead byte at the very end
      "Zi\xc5",                // truncated ż
      "\xe2\x82",              // truncated €
      "\xf0\x9f\x98",          // truncated emoji
      "\x80\xbf Ab",           // lone continuation bytes
      "\xc0\xaf \xc1\x81",     // overlong forms
      "\xed\xa0\x80 X",        // surrogate
      "\xf4\x90\x80\x80",      // beyond U+10FFFF
      "\xff\xfe \xc4\x84",     // never-valid bytes, then Ą
      std::string("A\0B", 3),  // embedded NUL
  };
  for (const auto& s : bad) {
    std::string lowered = LOWCASESTR(s);
    EXPECT_EQ(lowered.size(), s.size());
    for (char c : std::string("\x80\xbf\xc0\xc1\xc5\xed\xf0\xf4\xff\xfe"))
      EXPECT_EQ(std::count(s.begin(), s.end(), c), std::count(lowered.begin(), lowered.end(), c));
    EXPECT_LE(DELDBLSPC(s).size(), s.size());
    EXPECT_LE(DELRLSPC(s).size(), s.size());
    EXPECT_EQ(SPLITSTR(s, ' ').size(),
              static_cast<std::size_t>(std::count(s.begin(), s.end(), ' ')) + 1);
    EXPECT_EQ(STRTOKENREPLACE(s + "{n}", {"n", "1"}), s + "1");
    double r = 5;
    EXPECT_FALSE(STRGETREAL(s, r));
    EXPECT_EQ(INT2(s), 0);
    for (bool textonly : {false, true}) {
      std::string word = GETLWORD(s, textonly);
      EXPECT_NE(s.find(word), std::string::npos);
      std::string rest = s;
      EXPECT_EQ(MOVLWORD(rest, textonly), word);
      EXPECT_LE(rest.size(), s.size());
    }
    EXPECT_EQ(GETFNAME("/maps/" + s), lowered);
    EXPECT_EQ(REMFNAME("/maps/" + s), "/maps/");
    EXPECT_LE(cut_at_char(s, 2).size(), 2u);
    std::size_t i = 0, steps = 0;
    while (i < s.size()) {
      std::size_t before = i;
      next_char(s, i);
      EXPECT_GT(i, before);
      ++steps;
    }
    EXPECT_EQ(i, s.size());
    EXPECT_LE(steps, s.size());
    EXPECT_EQ(valid_utf8(s), s.find('\0') != std::string::npos);  // only "A\0B" is well-formed
    EXPECT_TRUE(valid_utf8(repair_utf8(s))) << s;
  }
  EXPECT_EQ(LOWCASESTR("\xff\xc4\x84"), "\xff\xc4\x85");  // Ą after a stray byte still lowers
  EXPECT_EQ(GETLWORD("Zi\xc5", true), "Zi");
  EXPECT_EQ(GETLWORD("\xc5\xbb\xc5", true), "Ż");
}

}  // namespace
}  // namespace orvela::text

namespace orvela::text {
namespace {

TEST(Trim, EachSideAndTheCharactersAsked) {
  struct Case {
    std::string_view in;
    std::string_view chars;
    std::string_view both, left, right;
  };
  const Case cases[] = {
      {"  a b \t", kBlanks, "a b", "a b \t", "  a b"},
      {"\r\n x \r\n", kWhiteSpace, "x", "x \r\n", "\r\n x"},
      {"\r\n x \r\n", kBlanks, "\r\n x \r\n", "\r\n x \r\n", "\r\n x \r\n"},
      {"", kWhiteSpace, "", "", ""},
      {" \t ", kBlanks, "", "", ""},
      {"--x--", "-", "x", "x--", "--x"},
      {"\xc3\xa9 ", kBlanks, "\xc3\xa9", "\xc3\xa9 ", "\xc3\xa9"},  // bytes of é stay
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trim(c.in, c.chars), c.both) << c.in;
    EXPECT_EQ(trim_left(c.in, c.chars), c.left) << c.in;
    EXPECT_EQ(trim_right(c.in, c.chars), c.right) << c.in;
  }
}

}  // namespace
}  // namespace orvela::text
