// Orvela: a map explorer for blind and visually impaired people.
#include <cstring>
#include <iostream>

namespace {
constexpr const char* kAppName = "Orvela";
constexpr const char* kVersion = "1.01";

void print_help() {
  std::cout << kAppName << " " << kVersion << "\n"
            << "Usage:\n"
            << "  orvela                 open the map window\n"
            << "  orvela --console       the same program on standard input and output\n"
            << "  orvela --import IN OUT convert an OpenStreetMap file to a map\n"
            << "Options:\n"
            << "  --home DIR             keep settings, maps and logs in DIR\n"
            << "  --lang CODE            use the language CODE instead of the system's\n"
            << "  --help                 show this text\n"
            << "  --version              show the program's version\n";
}
}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << kAppName << " " << kVersion << "\n";
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      print_help();
      return 0;
    }
  }
  print_help();
  return 0;
}
