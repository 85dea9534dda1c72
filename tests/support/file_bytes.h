#pragma once
// The whole content of a file, byte for byte; empty when it cannot be read.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace orvela::test {

inline std::string file_bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace orvela::test
