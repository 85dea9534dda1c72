#pragma once
// The words of an import's progress: the phases, the percentage and the time
// still to go, as the progress window and the command line show them.
#include <chrono>
#include <cstdint>
#include <string>

namespace orvela::osm {

// A duration in words: "{ti} seconds" up to a minute, whole minutes beyond
// (rounded, halves to even).
std::string GETTIMESTR(uint32_t tisec);

class ImportProgressText {
 public:
  using Clock = std::chrono::steady_clock;
  explicit ImportProgressText(Clock::time_point start = Clock::now()) : start_(start) {}
  // The text for one progress call: a phase name when `total` is 0, else the
  // percentage with the time remaining; empty when there is nothing to say.
  std::string text(uint64_t cur, uint64_t total, Clock::time_point now = Clock::now()) const;

 private:
  Clock::time_point start_;
};

}  // namespace orvela::osm
