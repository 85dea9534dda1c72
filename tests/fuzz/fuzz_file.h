// Readers that take a path get the fuzzer's bytes through a scratch file of
// this process (libFuzzer runs one input at a time per process).
#pragma once
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvela::fuzz {

inline std::filesystem::path input_file(const uint8_t* data, size_t size, const char* ext) {
  static const std::filesystem::path base =
      std::filesystem::temp_directory_path() / ("orvela-fuzz-" + std::to_string(getpid()));
  std::filesystem::path p = base;
  p += ext;
  std::ofstream(p, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return p;
}

}  // namespace orvela::fuzz
