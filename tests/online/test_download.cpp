// Downloads over libcurl against a server on 127.0.0.1: what is stored, what
// counts as a failure, the time-outs, cancelling, certificates and
// redirections, and the progress and error texts.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

#include "online/archive_builder.h"
#include "online/download.h"
#include "online/test_server.h"
#include "support/console_fixture.h"
#include "support/test_env.h"
#include "ui/bg_task.h"

namespace orvela::online {
namespace {

using orvela::test::TempDir;
using test::file_bytes;
using test::TestServer;
namespace fs = std::filesystem;

// Short limits, so that a stalled server fails a test in a second, and no
// proxy between the test and its server.
TransferLimits quick() {
  TransferLimits l;
  l.connect_timeout_s = 2;
  l.low_speed_time_s = 1;
  l.no_proxy = true;
  return l;
}

// The worker's side of a progress dialog, and the person at it: they press
// Cancel once `cancel_after` texts have been shown (never when negative).
struct Person : ui::BgProgress {
  explicit Person(int cancel_after = -1) : cancel_after(cancel_after) {}
  void BGPROCESINFO(const std::string& s, ui::BgTarget) override {
    texts.push_back(s);
    if (cancel_after >= 0 && static_cast<int>(texts.size()) >= cancel_after) cancel = true;
  }
  bool BGPROCESCANCEL() const override { return cancel; }
  int cancel_after;
  std::vector<std::string> texts;
  std::atomic<bool> cancel{false};
};

TEST(Download, StoresWhatTheServerSends) {
  TestServer server;
  server.serve("/maplista.dat", "orvelamaplista7\r\n");
  server.serve("/missing", "<html>gone</html>", 404);
  server.redirect("/moved", server.url("/maplista.dat"));
  struct Case {
    const char* path;
    const char* body;
    long status;
  };
  // An error status is no failure: its page is stored for the caller's
  // format check to reject.
  const Case cases[] = {{"/maplista.dat", "orvelamaplista7\r\n", 200},
                        {"/missing", "<html>gone</html>", 404},
                        {"/moved", "orvelamaplista7\r\n", 200},
                        {"/nowhere", "<html><body>Not Found</body></html>", 404}};
  TempDir dir;
  for (const Case& c : cases) {
    const DownloadResult r = DOWNLOADFILE(server.url(c.path), dir / "out", "Orvela/1.01", quick());
    EXPECT_EQ(r.error, "") << c.path;
    EXPECT_FALSE(r.aborted) << c.path;
    EXPECT_EQ(r.http_status, c.status) << c.path;
    EXPECT_EQ(file_bytes(dir / "out"), c.body) << c.path;
  }
  EXPECT_EQ(server.last_user_agent(), "Orvela/1.01");
}

TEST(Download, FailuresSayWhy) {
  TempDir dir;
  std::string closed_url;
  {
    TestServer gone;
    closed_url = gone.url("/x");
  }
  TestServer server;
  server.serve("/x", "data");
  struct Case {
    const char* what;
    std::string url;
    fs::path file;
  };
  const Case cases[] = {
      {"nobody listens", closed_url, dir / "a"},
      {"not http", "file:///etc/hostname", dir / "b"},
      {"no such host", "http://no-such-host.invalid/x", dir / "c"},
  };
  for (const Case& c : cases) {
    const DownloadResult r = DOWNLOADFILE(c.url, c.file, "Orvela/1.01", quick());
    EXPECT_NE(r.error, "") << c.what;
  }
  // A full disk fails the transfer.
  TestServer big;
  big.serve("/big", std::string(1 << 20, 'x'));
  EXPECT_EQ(DOWNLOADFILE(big.url("/big"), "/dev/full", "Orvela/1.01", quick()).error,
            "No space left on device");
  // A file that cannot be created stops before anything is asked.
  const DownloadResult r =
      DOWNLOADFILE(server.url("/x"), dir / "no" / "such" / "folder", "Orvela/1.01", quick());
  EXPECT_EQ(r.error, "can not create file.");
  EXPECT_EQ(server.hits("/x"), 0);
}

TEST(Download, AStalledServerIsGivenUp) {
  TestServer server;
  server.stall("/slow", "orvela\r\n");
  TempDir dir;
  const DownloadResult r = DOWNLOADFILE(server.url("/slow"), dir / "out", "Orvela/1.01", quick());
  EXPECT_NE(r.error, "");
  EXPECT_FALSE(r.aborted);
  // The partial file stays.
  EXPECT_EQ(file_bytes(dir / "out"), "orvela\r\n");
}

// A listening socket whose queue is full leaves the next connection
// unanswered, as a server that is down behind a firewall does.
TEST(Download, AConnectionThatIsNeverAnsweredIsGivenUp) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(::listen(fd, 0), 0);
  socklen_t len = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
    fillers.push_back(c);
  }
  TempDir dir;
  TransferLimits l = quick();
  l.connect_timeout_s = 1;
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/";
  const DownloadResult r = DOWNLOADFILE(url, dir / "out", "Orvela/1.01", l);
  EXPECT_NE(r.error, "");
  for (int c : fillers) ::close(c);
  ::close(fd);
}

TEST(Download, CancelStopsAnEndlessTransfer) {
  TestServer server;
  server.trickle("/endless", std::string(4096, 'x'));
  TempDir dir;
  Downloader d("Orvela/1.01", dir.path(), quick());
  // The person sees the first progress text and presses Cancel.
  Person person(1);
  d.ORVELADLFILE(server.url("/endless"), person);
  EXPECT_FALSE(d.ISWEBERR()) << d.WEBERR();
  EXPECT_TRUE(d.cancelled());
  ASSERT_FALSE(person.texts.empty());
  EXPECT_NE(person.texts[0].find("KBytes downloaded, transfer rate"), std::string::npos);
  EXPECT_GT(fs::file_size(d.TEMPFILE()), 0u);
}

TEST(Download, CertificatesAreCheckedAndHttpsStaysHttps) {
  TempDir dir;
  const test::TestCertificate cert(dir.path());
  TestServer secure(cert.cert, cert.key);
  TestServer plain;
  secure.serve("/ver.dat", "orvela\r\n1.01\r\n");
  secure.redirect("/down", plain.url("/ver.dat"));
  secure.redirect("/around", secure.url("/ver.dat"));
  plain.serve("/ver.dat", "orvela\r\n1.01\r\n");
  plain.redirect("/up", secure.url("/ver.dat"));
  TransferLimits trusting = quick();
  trusting.ca_file = cert.cert;

  // Unknown to the system's store: refused.
  DownloadResult r = DOWNLOADFILE(secure.url("/ver.dat"), dir / "a", "Orvela/1.01", quick());
  EXPECT_NE(r.error, "");
  EXPECT_EQ(secure.hits("/ver.dat"), 0);

  struct Case {
    const char* what;
    std::string url;
    bool ok;
  };
  const Case cases[] = {{"trusted", secure.url("/ver.dat"), true},
                        {"https to https", secure.url("/around"), true},
                        {"http to https", plain.url("/up"), true},
                        {"https to http", secure.url("/down"), false}};
  for (const Case& c : cases) {
    r = DOWNLOADFILE(c.url, dir / "b", "Orvela/1.01", trusting);
    EXPECT_EQ(r.error.empty(), c.ok) << c.what << ": " << r.error;
  }
  EXPECT_NE(r.error.find(plain.url("/ver.dat")), std::string::npos)
      << r.error << " status " << r.http_status;
  EXPECT_EQ(plain.hits("/ver.dat"), 0);
}

TEST(Download, ProgressTextsAndTheirRate) {
  struct Step {
    uint64_t ms;
    int64_t dlnow;
    const char* text;  // nullptr: no report
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases = {
      {"nothing in the first 200 ms", {{100, 5000, nullptr}, {200, 9000, nullptr}}},
      {"first after 200 ms, then once a second",
       {{201, 10240, "10 KBytes downloaded, transfer rate 50 KB/Sec."},
        {900, 20480, nullptr},
        {1201, 20480, nullptr},
        {1202, 30720, "30 KBytes downloaded, transfer rate 20 KB/Sec."}}},
      // Rounded to the nearest, halves to even: 1.5 KB/s -> 2, 2.5 KB/s -> 2.
      {"halves to even",
       {{1000, 1536, "1 KBytes downloaded, transfer rate 2 KB/Sec."},
        {3000, 6656, "6 KBytes downloaded, transfer rate 2 KB/Sec."}}},
      {"a count that goes back counts as nothing",
       {{1000, 4096, "4 KBytes downloaded, transfer rate 4 KB/Sec."},
        {2001, 1024, "1 KBytes downloaded, transfer rate 0 KB/Sec."}}},
  };
  for (const Case& c : cases) {
    DownloadRate rate(0);
    for (const Step& s : c.steps) {
      const auto t = rate.report(s.ms, s.dlnow);
      EXPECT_EQ(t.has_value(), s.text != nullptr) << c.what << " at " << s.ms;
      if (t && s.text) {
        EXPECT_EQ(*t, s.text) << c.what << " at " << s.ms;
      }
    }
  }
  // A report at the very millisecond of the previous one counts one second.
  DownloadRate same(1000);
  EXPECT_EQ(same.report(1201, 2048), "2 KBytes downloaded, transfer rate 10 KB/Sec.");
}

TEST(Download, ErrorsAreShownOnceWithTheHttpStatus) {
  TestServer server;
  server.serve("/ver.dat", "<html>gone</html>", 404);
  TempDir dir;
  ui::test::Console console("");
  Downloader d("Orvela/1.01", dir.path(), quick());
  d.WEBOPNAME = "Downloading program update information";
  Person person;
  d.ORVELADLFILE(server.url("/ver.dat"), person);
  EXPECT_FALSE(d.ISWEBERR());
  EXPECT_EQ(file_bytes(d.TEMPFILE()), "<html>gone</html>");
  d.SETWEBERR("Bad update information format.");
  d.WEBERRWRI(console.ui);
  d.WEBERRWRI(console.ui);
  // The same reason again is a new failure and is shown again.
  d.SETWEBERR("Bad update information format.");
  d.WEBERRWRI(console.ui);
  const std::string shown =
      "INFO Error - Downloading program update information\\nBad update information format. "
      "(HTTP 404)";
  EXPECT_EQ(console.out_lines(), (std::vector<std::string>{shown, shown}));
  // The import's download counts the error status as the failure.
  EXPECT_EQ(d.download_to(server.url("/ver.dat"), dir / "osm", person), "HTTP 404");
  d.ERASETEMPFILE();
  EXPECT_FALSE(fs::exists(d.TEMPFILE()));
}

}  // namespace
}  // namespace orvela::online
