#pragma once
// ISTREAM: a buffered byte reader over a file. Plain, bzip2 and gzip files are
// read through the same buffer; compressed input is decompressed as it streams,
// never to a temporary copy.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace orvela::text {

// A read failure in the middle of a file (an I/O error or corrupt compressed data).
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace detail {
// Where the bytes come from: the file itself or a decompressor over it.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills up to `n` bytes; 0 at the end. Throws IoError on failure.
  virtual size_t read(uint8_t* buf, size_t n) = 0;
  // Bytes of the file itself consumed so far (compressed bytes for packed input).
  virtual uint64_t file_pos() const = 0;
};
}  // namespace detail

class ISTREAM {
 public:
  // Each refill asks for this many bytes.
  static constexpr size_t INBUFL = 256000;

  ISTREAM();
  ~ISTREAM();
  ISTREAM(const ISTREAM&) = delete;
  ISTREAM& operator=(const ISTREAM&) = delete;

  // Opens `n` read-only; 0 on success, otherwise an errno value.
  int INITF(const std::filesystem::path& n);
  void close();
  bool is_open() const { return src_ != nullptr; }

  // Refills the buffer; throws IoError on a read failure.
  void READBUF();

  // The next byte into `ch`; false (and `ch` unchanged) at the end of the file.
  bool GETCH(char& ch) {
    if (ILER >= ILINB) {
      READBUF();
      if (ILINB == 0) return false;
    }
    ch = static_cast<char>(INB[ILER++]);
    return true;
  }

  // The buffered bytes not delivered yet; empty when the next GETCH must refill.
  // Scanning these directly lets a reader take a whole run of bytes at once.
  std::string_view pending() const {
    return {reinterpret_cast<const char*>(INB.data()) + ILER, ILINB - ILER};
  }
  // Delivers the first `n` bytes of pending(), as `n` calls of GETCH would.
  void consume(size_t n) { ILER += n; }

  // Bytes of the file consumed so far: the progress position for packed input.
  uint64_t file_pos() const;

 private:
  std::vector<uint8_t> INB;
  size_t ILER = 0;   // index of the next byte to deliver
  size_t ILINB = 0;  // valid bytes in the buffer
  std::unique_ptr<detail::ByteSource> src_;
};

}  // namespace orvela::text
