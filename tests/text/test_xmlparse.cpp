// The XML tokenizer on small documents written to a scratch folder.
#include <bzlib.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "support/test_env.h"
#include "text/xmlparse.h"

namespace orvela::text {
namespace {

using test::TempDir;

void write_file(const std::filesystem::path& p, const std::string& s) {
  std::ofstream(p, std::ios::binary) << s;
}

// One token of the stream: a tag name, or an attribute as "k=w".
std::vector<std::string> tokens_of(XmlParser& x, size_t limit = 1000) {
  std::vector<std::string> out;
  while (x.res() && out.size() < limit) {
    std::string tag = x.XMLGETNEXTTAG();
    if (tag.empty() && !x.res()) break;
    out.push_back("<" + tag);
    std::string k, w;
    while (x.res() && x.XMLGETNEXTTAGPAR(k, w)) out.push_back(k + "=" + w);
  }
  return out;
}

std::vector<std::string> tokenize(const std::string& doc) {
  TempDir dir;
  write_file(dir / "d.xml", doc);
  XmlParser x;
  EXPECT_EQ(x.XMLOPEN(dir / "d.xml"), 0);
  auto t = tokens_of(x);
  x.XMLCLOSE();
  return t;
}

struct TokenCase {
  const char* what;
  std::string doc;
  std::vector<std::string> want;
};

TEST(XmlTokenizer, TokenStreams) {
  const std::vector<TokenCase> cases = {
      {"self-closing node", R"(<node id="5" lat='1.5'/>)", {"<node", "id=5", "lat=1.5"}},
      {"closing tag and declaration",
       R"(<?xml version="1.0"?><a></a>)",
       {"<?xml", "version=1.0", "<a", "</a"}},
      {"entity amp", R"(<t v="A &amp; B"/>)", {"<t", "v=A & B"}},
      {"all named entities", R"(<t v="&lt;&gt;&quot;&apos;&amp;"/>)", {"<t", "v=<>\"'&"}},
      {"unknown entity", R"(<t v="a&nbsp;b"/>)", {"<t", "v=a b"}},
      {"decimal reference", R"(<t v="caf&#233;"/>)", {"<t", "v=caf\xC3\xA9"}},
      {"hex reference",
       R"(<t v="&#x20AC;5"/>)",
       {"<t",
        "v=\xE2\x82\xAC"
        "5"}},
      {"four-byte reference", R"(<t v="&#x1F600;"/>)", {"<t", "v=\xF0\x9F\x98\x80"}},
      {"surrogate reference", R"(<t v="&#xD800;"/>)", {"<t", "v= "}},
      {"nul reference", R"(<t v="&#0;"/>)", {"<t", "v= "}},
      {"reference beyond unicode", R"(<t v="&#x110000;"/>)", {"<t", "v= "}},
      {"reference not a number", R"(<t v="&#12a;"/>)", {"<t", "v= "}},
      {"ampersand without semicolon", R"(<t v="fish & chips"/>)", {"<t", "v=fish "}},
      {"case of names, not values", R"(<NoDe ID="AbC"/>)", {"<node", "id=AbC"}},
      {"gt cuts quoted value", R"(<t v="a>b" k="c"/>)", {"<t", "v=a"}},
      {"unquoted value keeps slash", R"(<t v=abc/>)", {"<t", "v=abc/"}},
      {"name without value", R"(<t checked v="1"/>)", {"<t", "checked=", "v=1"}},
      {"tab belongs to name", "<t\tv=\"1\"/>", {"<t\tv=\"1\""}},
      {"comment", R"(<!-- hi --><a/>)", {"<!--", "hi=", "--=", "<a"}},
      {"text is skipped", R"(<a>some text</a>)", {"<a", "</a"}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(tokenize(c.doc), c.want) << c.what;
}

TEST(XmlTokenizer, SelfClosingLeavesSlashAndEmptyFileEnds) {
  TempDir dir;
  write_file(dir / "a.xml", R"(<node id="1" lat="2"/>)");
  XmlParser x;
  ASSERT_EQ(x.XMLOPEN(dir / "a.xml"), 0);
  EXPECT_EQ(x.XMLGETNEXTTAG(), "node");
  std::string k, w;
  EXPECT_TRUE(x.XMLGETNEXTTAGPAR(k, w));
  EXPECT_TRUE(x.XMLGETNEXTTAGPAR(k, w));
  EXPECT_FALSE(x.XMLGETNEXTTAGPAR(k, w));
  EXPECT_EQ(x.ch(), '/');

  write_file(dir / "e.xml", "");
  ASSERT_EQ(x.XMLOPEN(dir / "e.xml"), 0);
  EXPECT_EQ(x.XMLGETNEXTTAG(), "");
  EXPECT_FALSE(x.res());
  EXPECT_EQ(x.fpos(), 1u);  // the read that met the end counts too
}

TEST(XmlTokenizer, MissingFileReportsErrorCode) {
  TempDir dir;
  XmlParser x;
  EXPECT_NE(x.XMLOPEN(dir / "none.xml"), 0);
  EXPECT_FALSE(x.res());
}

TEST(XmlTokenizer, CopiesTextBetweenTags) {
  TempDir dir;
  write_file(dir / "t.xml", "<city>Vaduz &amp; more</city>");
  XmlParser x;
  ASSERT_EQ(x.XMLOPEN(dir / "t.xml"), 0);
  EXPECT_EQ(x.XMLGETNEXTTAG(), "city");
  x.XMLSEARCHTAGEND();
  std::string text;
  x.set_copy_text(&text);
  x.XMLSEARCHNEXTTAG();
  x.set_copy_text(nullptr);
  EXPECT_EQ(text, "Vaduz &amp; more");  // text is copied raw
  EXPECT_EQ(x.XMLGETNEXTTAG(), "/city");
}

// A document far longer than one buffer, with a tag straddling every refill
// boundary at some point: every element must come through intact.
TEST(XmlTokenizer, ManyBuffersAndTagsSplitAcrossRefills) {
  TempDir dir;
  std::string doc = "<?xml version='1.0'?>\n<osm>\n";
  const int n = 40000;
  for (int i = 0; i < n; ++i) {
    doc += "  <tag k=\"name" + std::to_string(i) + "\" v=\"Stra&#223;e " + std::to_string(i) +
           " &amp; co\"/>\n";
  }
  doc += "</osm>\n";
  ASSERT_GT(doc.size(), 4 * ISTREAM::INBUFL);
  write_file(dir / "big.xml", doc);
  XmlParser x;
  ASSERT_EQ(x.XMLOPEN(dir / "big.xml"), 0);
  int seen = 0;
  std::string k, w;
  while (x.res()) {
    std::string tag = x.XMLGETNEXTTAG();
    if (tag != "tag") continue;
    ASSERT_TRUE(x.XMLGETNEXTTAGPAR(k, w));
    ASSERT_EQ(w, "name" + std::to_string(seen));
    ASSERT_TRUE(x.XMLGETNEXTTAGPAR(k, w));
    ASSERT_EQ(w,
              "Stra\xC3\x9F"
              "e " +
                  std::to_string(seen) + " & co");
    ++seen;
  }
  EXPECT_EQ(seen, n);
  EXPECT_FALSE(x.malformed());
}

std::string sample_doc() {
  std::string doc = "<?xml version='1.0'?><osm>";
  for (int i = 0; i < 20000; ++i) doc += "<node id=\"" + std::to_string(i) + "\"/>";
  return doc + "</osm>";
}

int count_nodes(const std::filesystem::path& p, bool& malformed) {
  XmlParser x;
  EXPECT_EQ(x.XMLOPEN(p), 0);
  int n = 0;
  try {
    while (x.res()) {
      if (x.XMLGETNEXTTAG() == "node") ++n;
    }
  } catch (const IoError&) {
    malformed = true;
  }
  return n;
}

TEST(XmlTokenizer, ReadsBzip2AndGzipStreams) {
  TempDir dir;
  std::string doc = sample_doc();
  {
    BZFILE* b = BZ2_bzopen((dir / "d.osm.bz2").c_str(), "wb");
    BZ2_bzwrite(b, doc.data(), static_cast<int>(doc.size()));
    BZ2_bzclose(b);
    // A second stream appended, as parallel compressors write.
    std::string first;
    std::ifstream in(dir / "d.osm.bz2", std::ios::binary);
    first.assign(std::istreambuf_iterator<char>(in), {});
    std::ofstream(dir / "two.osm.bz2", std::ios::binary) << first << first;
  }
  {
    gzFile g = gzopen((dir / "d.osm.gz").c_str(), "wb");
    gzwrite(g, doc.data(), static_cast<unsigned>(doc.size()));
    gzclose(g);
  }
  bool bad = false;
  EXPECT_EQ(count_nodes(dir / "d.osm.bz2", bad), 20000);
  EXPECT_EQ(count_nodes(dir / "two.osm.bz2", bad), 40000);
  EXPECT_EQ(count_nodes(dir / "d.osm.gz", bad), 20000);
  EXPECT_FALSE(bad);
}

TEST(XmlTokenizer, CorruptBzip2RaisesIoError) {
  TempDir dir;
  std::string doc;
  for (int i = 0; i < 50000; ++i) doc += "<node id=\"" + std::to_string(i * 7919) + "\"/>\n";
  BZFILE* b = BZ2_bzopen((dir / "c.bz2").c_str(), "wb");
  BZ2_bzwrite(b, doc.data(), static_cast<int>(doc.size()));
  BZ2_bzclose(b);
  std::string packed;
  {
    std::ifstream in(dir / "c.bz2", std::ios::binary);
    packed.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::string broken = packed;
  for (size_t i = packed.size() / 2; i < packed.size() / 2 + 64; ++i) broken[i] ^= 0x5A;
  std::ofstream(dir / "broken.bz2", std::ios::binary) << broken;
  std::ofstream(dir / "cut.bz2", std::ios::binary) << packed.substr(0, packed.size() / 2);
  for (const char* name : {"broken.bz2", "cut.bz2"}) {
    bool bad = false;
    count_nodes(dir / name, bad);
    EXPECT_TRUE(bad) << name;
  }
}

// Names and values without their closing character must not be swallowed
// whole: the tokenizer gives up at its limit, with bounded memory.
TEST(XmlTokenizer, UnterminatedHugeNameOrValueStopsAtLimit) {
  TempDir dir;
  const size_t big = 100u << 20;
  struct Case {
    const char* what;
    std::string head;
  } cases[] = {{"tag name", "<"}, {"attribute value", "<t v=\""}, {"attribute name", "<t "}};
  for (const auto& c : cases) {
    {
      std::ofstream out(dir / "huge.xml", std::ios::binary);
      out << c.head;
      std::string chunk(1 << 20, 'x');
      for (size_t done = 0; done < big; done += chunk.size()) out << chunk;
    }
    XmlParser x;
    ASSERT_EQ(x.XMLOPEN(dir / "huge.xml"), 0);
    std::string tag = x.XMLGETNEXTTAG();
    std::string k, w;
    if (x.res()) x.XMLGETNEXTTAGPAR(k, w);
    EXPECT_TRUE(x.malformed()) << c.what;
    EXPECT_FALSE(x.res()) << c.what;
    EXPECT_LE(tag.size() + k.size() + w.size(), XmlParser::kMaxValueLen + 2) << c.what;
    EXPECT_LT(x.fpos(), 2u * XmlParser::kMaxValueLen) << c.what;
  }
}

// Every token with the character the tokenizer stands on after it, then
// how far fpos() ran past the end of the document and whether it gave up.
std::vector<std::string> trace_of(const std::filesystem::path& p, size_t doc_size) {
  XmlParser x;
  EXPECT_EQ(x.XMLOPEN(p), 0);
  std::vector<std::string> out;
  std::string k, w;
  while (x.res()) {
    std::string tag = x.XMLGETNEXTTAG();
    out.push_back("<" + tag + "|" + x.ch());
    while (x.res() && x.XMLGETNEXTTAGPAR(k, w)) out.push_back(k + "=" + w + "|" + x.ch());
  }
  out.push_back("fpos+" + std::to_string(x.fpos() - doc_size) +
                (x.malformed() ? " malformed" : ""));
  return out;
}

// The first refill ends after ISTREAM::INBUFL bytes: each snippet is moved
// so that every one of its bytes in turn is the first of the second buffer.
// Names, quotes, entities and references cut anywhere must read the same.
TEST(XmlTokenizer, SnippetsCutAtEveryByteByARefill) {
  const std::vector<std::string> snippets = {
      R"(<tag k="name" v="Stra&#223;e &amp; co"/>)", R"(<t v="&#x20AC;" w="&#x1F600;x"/>)",
      R"(<t v='it&apos;s' w=bare x="y"/>)",          R"(<t v="a>b" k="c"/><n/>)",
      R"(<NoDe ID="AbC" checked   lat="1"/>)",       R"(<t v="fish & chips" k=""/>)",
      "<a>text &amp; more</a><b\tc=\"1\">",
  };
  TempDir dir;
  const std::string head = "<p>";
  for (const auto& snippet : snippets) {
    std::string doc = head + "  " + snippet;
    write_file(dir / "ref.xml", doc);
    auto want = trace_of(dir / "ref.xml", doc.size());
    for (size_t cut = 0; cut <= snippet.size(); ++cut) {
      doc = head + std::string(ISTREAM::INBUFL - head.size() - cut, ' ') + snippet;
      write_file(dir / "cut.xml", doc);
      ASSERT_EQ(trace_of(dir / "cut.xml", doc.size()), want)
          << snippet << " cut before byte " << cut;
    }
  }
}

// Names and values of exactly the longest accepted length are read whole;
// one more character is broken input. Each document is read once from the
// start of the buffer and once with the long token cut by a refill.
TEST(XmlTokenizer, LengthLimitsHoldToTheByte) {
  const size_t name_cap = XmlParser::kMaxNameLen;
  const size_t value_cap = XmlParser::kMaxValueLen;
  const std::string value(value_cap, 'v');
  const std::string name(name_cap, 'n');
  struct Case {
    const char* what;
    std::string doc;
    bool malformed;
    size_t longest;  // the longest tag name, attribute name or value read
  } cases[] = {
      {"value at the cap", "<t v=\"" + value + "\"/>", false, value_cap},
      {"value over the cap", "<t v=\"" + value + "x\"/>", true, value_cap},
      {"single-quoted value at the cap", "<t v='" + value + "'/>", false, value_cap},
      {"unquoted value at the cap", "<t v=" + value + " w=\"1\"/>", false, value_cap},
      {"unquoted value over the cap", "<t v=" + value + "x/>", true, value_cap},
      {"entity fills the cap", "<t v=\"" + value.substr(1) + "&amp;\"/>", false, value_cap},
      {"attribute name at the cap", "<t " + name + "=\"1\"/>", false, name_cap},
      {"attribute name over the cap", "<t " + name + "n=\"1\"/>", true, name_cap},
      {"tag name at the cap", "<" + name + " a=\"1\"/>", false, name_cap},
      {"tag name over the cap", "<" + name + "n a=\"1\"/>", true, name_cap},
  };
  TempDir dir;
  for (const auto& c : cases) {
    for (size_t pad : {size_t{0}, ISTREAM::INBUFL - 3 - c.doc.size() / 2}) {
      std::string doc = "<p>" + std::string(pad, ' ') + c.doc + "<end/>";
      write_file(dir / "cap.xml", doc);
      XmlParser x;
      ASSERT_EQ(x.XMLOPEN(dir / "cap.xml"), 0);
      size_t longest = 0;
      bool reached_end = false;
      std::string k, w;
      while (x.res()) {
        std::string tag = x.XMLGETNEXTTAG();
        reached_end = reached_end || tag == "end";
        longest = std::max(longest, tag.size());
        while (x.res() && x.XMLGETNEXTTAGPAR(k, w))
          longest = std::max({longest, k.size(), w.size()});
        longest = std::max({longest, k.size(), w.size()});
      }
      EXPECT_EQ(x.malformed(), c.malformed) << c.what << " pad " << pad;
      EXPECT_EQ(reached_end, !c.malformed) << c.what << " pad " << pad;
      EXPECT_EQ(longest, c.longest) << c.what << " pad " << pad;
    }
  }
}

TEST(XmlTokenizer, CopiedTextHoldsToItsLimitToTheByte) {
  TempDir dir;
  for (size_t extra : {0u, 1u}) {
    std::string text(XmlParser::kMaxTextLen + extra, 't');
    text[1000] = '&';  // copied raw, like everything else
    write_file(dir / "t.xml", "<a>" + text + "</a>");
    XmlParser x;
    ASSERT_EQ(x.XMLOPEN(dir / "t.xml"), 0);
    ASSERT_EQ(x.XMLGETNEXTTAG(), "a");
    x.XMLSEARCHTAGEND();
    std::string copied;
    x.set_copy_text(&copied);
    x.XMLSEARCHNEXTTAG();
    x.set_copy_text(nullptr);
    if (extra == 0) {
      EXPECT_EQ(copied, text);
      EXPECT_FALSE(x.malformed());
      EXPECT_EQ(x.XMLGETNEXTTAG(), "/a");
    } else {
      EXPECT_EQ(copied, text.substr(0, XmlParser::kMaxTextLen));
      EXPECT_TRUE(x.malformed());
      EXPECT_FALSE(x.res());
    }
  }
}

TEST(XmlTokenizer, EntityTableLookup) {
  struct Case {
    const char* ent;
    std::string out;
  } cases[] = {{"amp", "&"},  {"apos", "'"}, {"gt", ">"},  {"lt", "<"}, {"quot", "\""},
               {"", " "},     {"AMP", " "},  {"zzz", " "}, {"a", " "},  {"#65", "A"},
               {"#x41", "A"}, {"#X41", "A"}, {"#", " "},   {"#x", " "}, {"#-1", " "}};
  for (const auto& c : cases) EXPECT_EQ(XMLENTITYCONV(c.ent), c.out) << c.ent;
}

}  // namespace
}  // namespace orvela::text
