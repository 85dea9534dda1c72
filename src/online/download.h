#pragma once
// Every network access of the program is one URL fetched into one local
// file: catalogues, map archives, OSM extracts, version files. DOWNLOADFILE
// is the bare transfer over libcurl; Downloader is what the commands use: it
// fetches into the program's temporary file behind a progress dialog, says
// once a second how much has come and how fast, stops when the user cancels,
// and keeps the outcome for one later report (WEBERRWRI).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvela::ui {
class BgProgress;
class Ui;
}  // namespace orvela::ui

namespace orvela::online {

// What a transfer may cost before it is given up. A server that accepts no
// connection, or stops sending, must not hold the user for ever.
struct TransferLimits {
  long connect_timeout_s = 15;
  // Below `low_speed_limit` bytes a second for `low_speed_time_s` seconds
  // the transfer is aborted.
  long low_speed_limit = 1;
  long low_speed_time_s = 30;
  // Certificates to trust instead of the system's store (tests trust their
  // own); empty: the system's.
  std::filesystem::path ca_file;
  // Never through a proxy (tests talk to 127.0.0.1 whatever the environment says).
  bool no_proxy = false;
};

// How one transfer ended.
struct DownloadResult {
  // Empty on success and when the progress hook aborted the transfer;
  // otherwise why it failed.
  std::string error;
  // The HTTP status of the last response (0 when none came). An error
  // status is no failure: its body is stored like any other.
  long http_status = 0;
  // The progress hook asked to stop.
  bool aborted = false;
};

// DLPROGRESSFUNCTION: called during a transfer with the bytes received so
// far and the total expected (0 when unknown); non-zero aborts.
using DownloadProgress = std::function<int(int64_t dlnow, int64_t dltotal)>;

// DOWNLOADFILE: fetches `url` into `locfile` (created or truncated),
// following redirections, sending `user_agent`, within `limits`. Only http
// and https are fetched, certificates are verified, and an https address is
// never followed to an http one. A file that cannot be created gives "can
// not create file." and no transfer.
DownloadResult DOWNLOADFILE(const std::string& url, const std::filesystem::path& locfile,
                            const std::string& user_agent, const TransferLimits& limits,
                            const DownloadProgress& progress = {});

// The progress text of a transfer: the first after 200 ms, then one a
// second, each with the rate over the interval since the previous one.
class DownloadRate {
 public:
  explicit DownloadRate(uint64_t now_ms);
  // ORVELADLPROGRES's report: "{dl} KBytes downloaded, transfer rate
  // {dlspeed} KB/Sec." when one is due at `now_ms` with `dlnow` bytes
  // received, nothing otherwise.
  std::optional<std::string> report(uint64_t now_ms, int64_t dlnow);

 private:
  uint64_t next_ms_;
  uint64_t last_ms_;
  int64_t last_dlnow_ = 0;
};

// `s` with every byte but letters, digits and "-._~" written as %XX, for
// a file name inside an address.
std::string url_escape(std::string_view s);

// The whole content of a downloaded file; nothing when it cannot be read.
std::optional<std::string> read_downloaded(const std::filesystem::path& file);

class Downloader {
 public:
  Downloader(std::string user_agent, std::filesystem::path temp_dir, TransferLimits limits = {});
  ~Downloader();
  Downloader(const Downloader&) = delete;
  Downloader& operator=(const Downloader&) = delete;

  // ORVELADLFILE: fetches `url` into TEMPFILE(), showing progress through
  // `progress` and aborting when its Cancel is pressed; leaves the outcome
  // in WEBERR (a cancel is no error: cancelled() tells it).
  void ORVELADLFILE(const std::string& url, ui::BgProgress& progress);
  // The same into `file` (the OSM import keeps its download beside the new
  // map). An HTTP error status counts as a failure here: "HTTP 404".
  std::string download_to(const std::string& url, const std::filesystem::path& file,
                          ui::BgProgress& progress);

  // TEMPFILE: the one file downloads go to; created in the temporary folder
  // on first use, removed with the downloader.
  const std::filesystem::path& TEMPFILE();
  // Removes the downloaded data (the name is kept for the next download).
  void ERASETEMPFILE();

  void SETWEBERR(std::string s);
  bool ISWEBERR() const { return !weberr_.empty(); }
  const std::string& WEBERR() const { return weberr_; }
  // The last transfer was cancelled by the user.
  bool cancelled() const { return cancelled_; }
  // The HTTP status of the last transfer.
  long http_status() const { return http_status_; }
  // WEBERRWRI: shows a pending error once, as "Error - {operation}", a line
  // break and the reason, with the HTTP error status when there was one.
  void WEBERRWRI(ui::Ui& ui);

  // The operation in progress, named in the error report.
  std::string WEBOPNAME;
  TransferLimits limits;

 private:
  DownloadResult fetch(const std::string& url, const std::filesystem::path& file,
                       ui::BgProgress& progress);

  std::string user_agent_;
  std::filesystem::path temp_dir_;
  std::filesystem::path tempfile_;
  std::string weberr_;
  bool weberr_displayed_ = true;
  bool cancelled_ = false;
  long http_status_ = 0;
};

}  // namespace orvela::online
