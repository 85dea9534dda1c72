#pragma once
// OpenStreetMap PBF as an element source, read through libosmium.
#include <memory>

#include "osm/element_source.h"

namespace orvela::osm {

class PbfElementSource final : public OsmElementSource {
 public:
  PbfElementSource();
  ~PbfElementSource() override;
  SourceResult open(const std::filesystem::path& fn) override;
  SourceResult read(OsmElementSink& sink) override;
  void close() override;

  // True when the file starts with a PBF header block.
  static bool looks_like_pbf(const std::filesystem::path& fn);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orvela::osm
