// How fast the tokenizer walks OSM XML: bytes per second over a generated
// extract-like document, plain and bzip2-packed.
#include <benchmark/benchmark.h>
#include <bzlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "osm/xmlparse.h"
#include <unistd.h>

namespace {

std::string extract_like(int nodes) {
  std::string doc = "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n";
  for (int i = 1; i <= nodes; ++i) {
    doc += "  <node id=\"" + std::to_string(i) + "\" version=\"3\" timestamp=\"2013-08-03T12:00:00Z\" lat=\"47." +
           std::to_string(100000 + i) + "\" lon=\"9." + std::to_string(500000 + i) + "\"";
    if (i % 10 == 0) {
      doc += ">\n    <tag k=\"name\" v=\"St&#228;dtle &amp; Co " + std::to_string(i) +
             "\"/>\n    <tag k=\"amenity\" v=\"cafe\"/>\n  </node>\n";
    } else {
      doc += "/>\n";
    }
  }
  return doc + "</osm>\n";
}

void walk(benchmark::State& state, bool packed) {
  std::string doc = extract_like(200000);
  auto file = std::filesystem::temp_directory_path() /
              ("orvela-bench-" + std::to_string(getpid()) + (packed ? ".osm.bz2" : ".osm"));
  if (packed) {
    BZFILE* b = BZ2_bzopen(file.c_str(), "wb");
    BZ2_bzwrite(b, doc.data(), static_cast<int>(doc.size()));
    BZ2_bzclose(b);
  } else {
    std::ofstream(file, std::ios::binary) << doc;
  }
  for (auto _ : state) {
    orvela::osm::XmlParser x;
    x.XMLOPEN(file);
    std::string k, w;
    size_t pairs = 0;
    while (x.res()) {
      x.XMLGETNEXTTAG();
      while (x.res() && x.XMLGETNEXTTAGPAR(k, w)) ++pairs;
    }
    benchmark::DoNotOptimize(pairs);
  }
  std::filesystem::remove(file);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.size()));
}

void BM_TokenizePlain(benchmark::State& state) { walk(state, false); }
void BM_TokenizeBzip2(benchmark::State& state) { walk(state, true); }
BENCHMARK(BM_TokenizePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TokenizeBzip2)->Unit(benchmark::kMillisecond);

}  // namespace
