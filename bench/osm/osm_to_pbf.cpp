// Writes an OSM XML file out as PBF, so the importer's two readers can be
// timed on the same data (the replicated extract exists only as XML).
// Usage: orvela_osm_to_pbf IN.osm OUT.osm.pbf
#include <cstdio>
#include <exception>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/io/writer.hpp>
#include <osmium/io/xml_input.hpp>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN.osm OUT.osm.pbf\n", argv[0]);
    return 2;
  }
  try {
    osmium::io::Reader reader{osmium::io::File(argv[1], "osm")};
    osmium::io::Header header = reader.header();
    osmium::io::Writer writer{osmium::io::File(argv[2], "pbf"), header,
                              osmium::io::overwrite::allow};
    while (osmium::memory::Buffer buffer = reader.read()) writer(std::move(buffer));
    writer.close();
    reader.close();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
