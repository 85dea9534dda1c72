// How fast the tokenizer walks OSM XML: bytes per second over a generated
// extract-like document, plain and bzip2-packed; and the XML source on top of
// it (attributes read, coordinates parsed, elements handed to a sink).
#include <benchmark/benchmark.h>
#include <bzlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "osm/xml_source.h"
#include "text/xmlparse.h"

namespace {

std::string extract_like(int nodes) {
  std::string doc = "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n";
  for (int i = 1; i <= nodes; ++i) {
    doc += "  <node id=\"" + std::to_string(i) +
           "\" version=\"3\" timestamp=\"2013-08-03T12:00:00Z\" lat=\"47." +
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

// The generated document as a scratch file, removed again at the end.
class BenchFile {
 public:
  BenchFile(const std::string& doc, bool packed)
      : path_(std::filesystem::temp_directory_path() /
              ("orvela-bench-" + std::to_string(getpid()) + (packed ? ".osm.bz2" : ".osm"))) {
    if (packed) {
      BZFILE* b = BZ2_bzopen(path_.c_str(), "wb");
      BZ2_bzwrite(b, const_cast<char*>(doc.data()), static_cast<int>(doc.size()));
      BZ2_bzclose(b);
    } else {
      std::ofstream(path_, std::ios::binary) << doc;
    }
  }
  ~BenchFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void walk(benchmark::State& state, bool packed) {
  std::string doc = extract_like(200000);
  BenchFile file(doc, packed);
  for (auto _ : state) {
    orvela::text::XmlParser x;
    x.XMLOPEN(file.path());
    std::string k, w;
    size_t pairs = 0;
    while (x.res()) {
      x.XMLGETNEXTTAG();
      while (x.res() && x.XMLGETNEXTTAGPAR(k, w)) ++pairs;
    }
    benchmark::DoNotOptimize(pairs);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(doc.size()));
}

class CountingSink final : public orvela::osm::OsmElementSink {
 public:
  int64_t sum = 0;
  void node(const orvela::osm::OSMNODE& n) override { sum += n.LAT + n.LON; }
  void way(uint64_t id) override { sum += static_cast<int64_t>(id); }
  void tag(const orvela::osm::TAGREC& t) override {
    sum += static_cast<int64_t>(t.K.size() + t.V.size());
  }
  void nd(uint64_t ref) override { sum += static_cast<int64_t>(ref); }
  void end(orvela::osm::OsmElement e) override { sum += static_cast<int64_t>(e); }
  bool progress(uint64_t, uint64_t) override { return false; }
};

void BM_TokenizePlain(benchmark::State& state) { walk(state, false); }
void BM_TokenizeBzip2(benchmark::State& state) { walk(state, true); }

void BM_XmlSourcePlain(benchmark::State& state) {
  std::string doc = extract_like(200000);
  BenchFile file(doc, false);
  for (auto _ : state) {
    orvela::osm::XmlElementSource src;
    CountingSink sink;
    if (src.open(file.path()).status != orvela::osm::SourceStatus::ok ||
        src.read(sink).status != orvela::osm::SourceStatus::ok) {
      state.SkipWithError("the generated document did not read");
      break;
    }
    benchmark::DoNotOptimize(sink.sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(doc.size()));
}

BENCHMARK(BM_TokenizePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TokenizeBzip2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlSourcePlain)->Unit(benchmark::kMillisecond);

}  // namespace
