#include "text/istrm.h"

#include <bzlib.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orvela::text {
namespace detail {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class PlainSource final : public ByteSource {
 public:
  explicit PlainSource(FilePtr f) : f_(std::move(f)) {}
  size_t read(uint8_t* buf, size_t n) override {
    size_t got = std::fread(buf, 1, n, f_.get());
    if (got == 0 && std::ferror(f_.get())) throw IoError("read error");
    pos_ += got;
    return got;
  }
  uint64_t file_pos() const override { return pos_; }

 private:
  FilePtr f_;
  uint64_t pos_ = 0;
};

// bzip2 through the low-level interface, so that files made of several
// concatenated streams (parallel compressors write those) are read whole.
class Bz2Source final : public ByteSource {
 public:
  explicit Bz2Source(FilePtr f) : f_(std::move(f)), in_(1 << 16) { start(); }
  ~Bz2Source() override { BZ2_bzDecompressEnd(&bz_); }

  size_t read(uint8_t* buf, size_t n) override {
    bz_.next_out = reinterpret_cast<char*>(buf);
    bz_.avail_out = static_cast<unsigned>(n);
    while (bz_.avail_out == n && !done_) step();
    return n - bz_.avail_out;
  }
  uint64_t file_pos() const override { return pos_; }

 private:
  void start() {
    std::memset(&bz_, 0, sizeof bz_);
    if (BZ2_bzDecompressInit(&bz_, 0, 0) != BZ_OK) throw IoError("bzip2 init");
  }
  void fill() {
    size_t got = std::fread(in_.data(), 1, in_.size(), f_.get());
    if (got == 0 && std::ferror(f_.get())) throw IoError("read error");
    pos_ += got;
    bz_.next_in = reinterpret_cast<char*>(in_.data());
    bz_.avail_in = static_cast<unsigned>(got);
  }
  void step() {
    if (bz_.avail_in == 0) {
      fill();
      if (bz_.avail_in == 0) {
        // The file ended inside a stream: truncated data is corrupt data.
        if (in_stream_) throw IoError("bzip2 data truncated");
        done_ = true;
        return;
      }
    }
    in_stream_ = true;
    int rc = BZ2_bzDecompress(&bz_);
    if (rc == BZ_STREAM_END) {
      in_stream_ = false;
      char* rest = bz_.next_in;
      unsigned rest_len = bz_.avail_in;
      BZ2_bzDecompressEnd(&bz_);
      char* out = bz_.next_out;
      unsigned out_len = bz_.avail_out;
      start();
      bz_.next_in = rest;
      bz_.avail_in = rest_len;
      bz_.next_out = out;
      bz_.avail_out = out_len;
      ++streams_;
    } else if (rc == BZ_DATA_ERROR_MAGIC && streams_ > 0) {
      // Padding after the last stream is not another stream: the data ended.
      done_ = true;
    } else if (rc != BZ_OK) {
      throw IoError("bzip2 data corrupt");
    }
  }

  FilePtr f_;
  std::vector<uint8_t> in_;
  bz_stream bz_{};
  uint64_t pos_ = 0;
  bool in_stream_ = false;
  int streams_ = 0;
  bool done_ = false;
};

class GzSource final : public ByteSource {
 public:
  explicit GzSource(gzFile g) : g_(g) {}
  ~GzSource() override { gzclose(g_); }
  size_t read(uint8_t* buf, size_t n) override {
    int got = gzread(g_, buf, static_cast<unsigned>(n));
    if (got < 0) throw IoError("gzip data corrupt");
    int err = 0;
    gzerror(g_, &err);
    if (got == 0 && err != Z_OK && err != Z_STREAM_END) throw IoError("gzip data corrupt");
    return static_cast<size_t>(got);
  }
  uint64_t file_pos() const override {
    z_off_t off = gzoffset(g_);
    return off > 0 ? static_cast<uint64_t>(off) : 0;
  }

 private:
  gzFile g_;
};

}  // namespace
}  // namespace detail

ISTREAM::ISTREAM() : INB(INBUFL) {}
ISTREAM::~ISTREAM() = default;

int ISTREAM::INITF(const std::filesystem::path& n) {
  close();
  detail::FilePtr f(std::fopen(n.c_str(), "rb"));
  if (!f) return errno ? errno : EIO;
  std::error_code ec;
  if (std::filesystem::is_directory(n, ec)) return EISDIR;
  unsigned char magic[3] = {0, 0, 0};
  size_t got = std::fread(magic, 1, 3, f.get());
  std::rewind(f.get());
  if (got == 3 && magic[0] == 'B' && magic[1] == 'Z' && magic[2] == 'h') {
    src_ = std::make_unique<detail::Bz2Source>(std::move(f));
  } else if (got >= 2 && magic[0] == 0x1f && magic[1] == 0x8b) {
    f.reset();
    gzFile g = gzopen(n.c_str(), "rb");
    if (!g) return EIO;
    gzbuffer(g, 1 << 17);
    src_ = std::make_unique<detail::GzSource>(g);
  } else {
    src_ = std::make_unique<detail::PlainSource>(std::move(f));
  }
  ILER = 0;
  ILINB = 0;
  return 0;
}

void ISTREAM::close() {
  src_.reset();
  ILER = 0;
  ILINB = 0;
}

void ISTREAM::READBUF() {
  ILER = 0;
  ILINB = 0;
  if (!src_) return;
  ILINB = src_->read(INB.data(), INB.size());
}

uint64_t ISTREAM::file_pos() const { return src_ ? src_->file_pos() : 0; }

}  // namespace orvela::text
