#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "map/varint.h"

namespace orvela::map {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes encode_one(int32_t v) {
  Bytes b;
  VARINT_ENCODE(v, b);
  return b;
}

TEST(Varint, EncodesTheDocumentedValuesAndRoundTrips) {
  struct Case {
    int32_t value;
    Bytes bytes;
  };
  const std::vector<Case> cases = {
      {0, {0x00}},
      {1, {0x02}},
      {-1, {0x01}},
      {63, {0x7E}},
      {-64, {0x7F}},
      {64, {0x80, 0x01}},
      {-65, {0x81, 0x01}},
      {(1 << 30) - 1, {0xFE, 0xFF, 0xFF, 0xFF, 0x07}},
      {-(1 << 30), {0xFF, 0xFF, 0xFF, 0xFF, 0x07}},
      {std::numeric_limits<int32_t>::max(), {0xFE, 0xFF, 0xFF, 0xFF, 0x0F}},
      {std::numeric_limits<int32_t>::min(), {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(encode_one(c.value), c.bytes);
    int32_t back = 12345;
    size_t poz = 0;
    ASSERT_TRUE(VARINT_DECODE(back, c.bytes, poz));
    EXPECT_EQ(back, c.value);
    EXPECT_EQ(poz, c.bytes.size());
  }
}

TEST(Varint, EncodeIntoBufferAdvancesAndRefusesWhatDoesNotFit) {
  uint8_t buf[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  size_t poz = 1;
  ASSERT_TRUE(VARINT_ENCODE(64, buf, poz));
  EXPECT_EQ(poz, 3u);
  EXPECT_EQ(buf[1], 0x80);
  EXPECT_EQ(buf[2], 0x01);
  // 8192 needs three bytes; only one is left.
  EXPECT_FALSE(VARINT_ENCODE(8192, buf, poz));
  EXPECT_EQ(poz, 3u);
  EXPECT_EQ(buf[3], 0xAA);
  ASSERT_TRUE(VARINT_ENCODE(-1, buf, poz));
  EXPECT_EQ(poz, 4u);
  EXPECT_EQ(buf[3], 0x01);
}

TEST(Varint, DecodeOfTruncatedValueStopsAtTheEnd) {
  const Bytes b = {0x80, 0x80};
  int32_t v = 77;
  size_t poz = 0;
  EXPECT_FALSE(VARINT_DECODE(v, b, poz));
  EXPECT_EQ(v, 77);
  EXPECT_EQ(poz, 2u);
  // Groups beyond the fifth are read over without harm.
  const Bytes overlong = {0x82, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00};
  poz = 0;
  ASSERT_TRUE(VARINT_DECODE(v, overlong, poz));
  EXPECT_EQ(v, 1);
  EXPECT_EQ(poz, overlong.size());
}

TEST(PointsBlob, TwoVertexExampleByteForByte) {
  const std::vector<POINT> pts = {{21012000, 52229000}, {21011950, 52229100}};
  const Bytes expected = {0xC0, 0xF8, 0x84, 0x14, 0x90, 0xCE, 0xE7, 0x31, 0x63, 0xC8, 0x01};
  EXPECT_EQ(encode_points(pts), expected);
  std::vector<POINT> back;
  decode_points(expected, back);
  EXPECT_EQ(back, pts);
}

TEST(PointsBlob, ShortTruncatedAndEmptyBlobs) {
  struct Case {
    const char* what;
    Bytes blob;
    std::vector<POINT> expected;
  };
  const std::vector<Case> cases = {
      {"empty", {}, {}},
      {"one byte", {0x02}, {}},
      {"one vertex", {0x02, 0x04}, {{1, 2}}},
      {"one vertex and a stray byte", {0x02, 0x04, 0x06}, {{1, 2}}},
      {"last latitude cut", {0x02, 0x04, 0x02, 0x80}, {{1, 2}}},
      {"last longitude cut", {0x02, 0x04, 0x80, 0x80, 0x80}, {{1, 2}}},
      {"first latitude cut", {0x02, 0x84}, {}},
      {"three vertices", {0x02, 0x04, 0x01, 0x01, 0x02, 0x02}, {{1, 2}, {0, 1}, {1, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<POINT> out = {{9, 9}};
    decode_points(c.blob, out);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(PointsBlob, ExtremeCoordinatesRoundTrip) {
  const std::vector<POINT> pts = {
      {180000000, 90000000}, {-180000000, -90000000}, {0, 0}, {179999999, -89999999}, {-1, 1},
      {1 << 30, -(1 << 30)}};
  std::vector<POINT> back;
  decode_points(encode_points(pts), back);
  EXPECT_EQ(back, pts);
}

TEST(PointsBlob, RandomBlobsNeverReadOutsideAndDecodeConsistently) {
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<int> len(0, 64);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<POINT> first, second;
  for (int i = 0; i < 5000; ++i) {
    // An exact-size heap copy lets AddressSanitizer catch any overread.
    size_t n = static_cast<size_t>(len(rng));
    auto blob = std::make_unique<uint8_t[]>(n);
    for (size_t k = 0; k < n; ++k)
      blob[k] = static_cast<uint8_t>(i % 3 == 0 ? (byte(rng) | 0x80) : byte(rng));
    decode_points({blob.get(), n}, first);
    ASSERT_LE(first.size(), n / 2);
    // Whatever was decoded re-encodes canonically to the same vertices.
    decode_points(encode_points(first), second);
    ASSERT_EQ(first, second);
    std::vector<double> lev;
    interpolate_hlevels({blob.get(), n}, first.size(), lev);
    ASSERT_EQ(lev.size(), first.size());
  }
}

TEST(HlevelsBlob, InterpolationCases) {
  struct Case {
    const char* what;
    std::vector<HLEVREC> recs;
    size_t count;
    std::vector<double> expected;
  };
  const std::vector<Case> cases = {
      {"documented example", {{2, 0}, {6, 4}}, 9, {0, 0, 0, 1, 2, 3, 4, 0, 0}},
      {"single record sets its vertex only", {{1, -3}}, 3, {0, -3, 0}},
      {"steps from the first level", {{0, 2}, {2, -2}}, 3, {2, 0, -2}},
      {"non-increasing record restarts from there",
       {{0, 4}, {2, 0}, {1, 9}, {3, 1}},
       4,
       {4, 2, 0.5, 1}},
      {"records past the last vertex are ignored", {{1, 2}, {5, 6}}, 3, {0, 2, 3}},
      {"no vertices", {{0, 5}}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<double> lev;
    EXPECT_TRUE(interpolate_hlevels(encode_hlevels(c.recs), c.count, lev));
    EXPECT_EQ(lev, c.expected);
  }
}

TEST(HlevelsBlob, RecordsAreLittleEndianAndBadSizesAreIgnored) {
  EXPECT_EQ(encode_hlevels(std::vector<HLEVREC>{{0x0102, -2}}), (Bytes{0x02, 0x01, 0xFE, 0xFF}));
  std::vector<double> lev;
  EXPECT_FALSE(interpolate_hlevels(Bytes{0, 0, 5, 0, 1, 0}, 3, lev));
  EXPECT_EQ(lev, (std::vector<double>{0, 0, 0}));
  EXPECT_FALSE(interpolate_hlevels(Bytes{}, 2, lev));
  EXPECT_EQ(lev, (std::vector<double>{0, 0}));
}

TEST(HlevelsBlob, HostileGapsFinishQuickly) {
  // Every record jumps 65535 vertices and back; only two vertices exist.
  std::vector<HLEVREC> recs;
  for (int i = 0; i < 20000; ++i) recs.push_back({static_cast<uint16_t>(i % 2 ? 65535 : 0), 1});
  std::vector<double> lev;
  EXPECT_TRUE(interpolate_hlevels(encode_hlevels(recs), 2, lev));
  ASSERT_EQ(lev.size(), 2u);
  EXPECT_DOUBLE_EQ(lev[0], 1.0);
  EXPECT_DOUBLE_EQ(lev[1], 1.0);
}

}  // namespace
}  // namespace orvela::map
