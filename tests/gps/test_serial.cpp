// The receiver's port: which device a typed port names, and reading a
// pseudo-terminal as a receiver would be read.
#include <gtest/gtest.h>
#include <termios.h>

#include <cerrno>
#include <fstream>

#include "gps/serial.h"
#include "gps_data.h"
#include "pty.h"
#include "support/test_env.h"

namespace orvela::gps {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Pty;

TEST(PortPath, NumbersNameTheReceiversDevicesAndPathsStayAsTyped) {
  orvela::test::TempDir dev;
  std::ofstream(dev / "ttyUSB2").put('\n');  // the third USB serial device is there
  struct Case {
    const char* typed;
    std::optional<fs::path> expected;
  };
  const Case cases[] = {
      {"3", dev / "ttyUSB2"},
      {" 3 ", dev / "ttyUSB2"},
      {"3abc", dev / "ttyUSB2"},
      {"1", dev / "ttyACM0"},  // no ttyUSB0: the USB modem family
      {"12", dev / "ttyACM11"},
      {"/dev/ttyUSB0", fs::path("/dev/ttyUSB0")},
      {"/dev/rfcomm0", fs::path("/dev/rfcomm0")},
      {"  /dev/pts/7", fs::path("/dev/pts/7")},
      {"0", std::nullopt},
      {"-2", std::nullopt},
      {"", std::nullopt},
      {"com3", std::nullopt},
      {"ttyUSB0", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(GPSPORTPATH(c.typed, dev.path()), c.expected);
  }
}

TEST(SerialPort, AMissingDeviceGivesTheSystemsErrorCode) {
  orvela::test::TempDir dir;
  int err = 0;
  EXPECT_EQ(SerialPort::open(dir / "ttyUSB9", err), nullptr);
  EXPECT_EQ(err, ENOENT);
}

TEST(SerialPort, ATerminalBecomesRawAndKeepsItsSpeed) {
  Pty pty;
  termios t{};
  ASSERT_EQ(::tcgetattr(pty.slave(), &t), 0);
  ::cfsetispeed(&t, B4800);
  ::cfsetospeed(&t, B4800);
  ASSERT_EQ(::tcsetattr(pty.slave(), TCSANOW, &t), 0);
  ASSERT_TRUE(t.c_lflag & ICANON);

  int err = -1;
  auto port = SerialPort::open(pty.path(), err);
  ASSERT_NE(port, nullptr) << err;
  EXPECT_EQ(err, 0);
  ASSERT_EQ(::tcgetattr(pty.slave(), &t), 0);
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
  EXPECT_FALSE(t.c_iflag & (ICRNL | IXON));
  EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B4800));
}

TEST(SerialPort, LinesArriveWholeWhateverPiecesTheyComeIn) {
  Pty pty;
  int err = 0;
  auto port = SerialPort::open(pty.path(), err);
  ASSERT_NE(port, nullptr) << err;
  const std::string a = test::sentence("GPGSV,1,1,10");
  const std::string b = test::sentence("GPGSV,1,1,11");
  ASSERT_TRUE(pty.write(a + "\r\n" + b.substr(0, 5)));
  std::string line;
  ASSERT_EQ(port->read_line(line, 10s), SerialPort::Read::Line);
  EXPECT_EQ(line, a);
  // Half a sentence is not a line: the reader waits, then gives up.
  EXPECT_EQ(port->read_line(line, 50ms), SerialPort::Read::Timeout);
  ASSERT_TRUE(pty.write(b.substr(5) + "\n"));
  ASSERT_EQ(port->read_line(line, 10s), SerialPort::Read::Line);
  EXPECT_EQ(line, b);
}

TEST(SerialPort, UnpluggingEndsTheReadingAtOnce) {
  Pty pty;
  int err = 0;
  auto port = SerialPort::open(pty.path(), err);
  ASSERT_NE(port, nullptr) << err;
  pty.close_slave();
  const std::string a = test::sentence("GPGSV,1,1,10");
  ASSERT_TRUE(pty.write(a + "\n"));
  std::string line;
  ASSERT_EQ(port->read_line(line, 10s), SerialPort::Read::Line);
  pty.unplug();
  // The hang-up itself ends the wait, not the time-out.
  EXPECT_EQ(port->read_line(line, 60s), SerialPort::Read::Closed);
}

TEST(SerialPort, AFileIsReadToItsEnd) {
  orvela::test::TempDir dir;
  test::write_bytes(dir / "recorded.nmea", "one\r\ntwo\n");
  int err = 0;
  auto port = SerialPort::open(dir / "recorded.nmea", err);
  ASSERT_NE(port, nullptr) << err;
  std::string line;
  ASSERT_EQ(port->read_line(line, 10s), SerialPort::Read::Line);
  EXPECT_EQ(line, "one");
  ASSERT_EQ(port->read_line(line, 10s), SerialPort::Read::Line);
  EXPECT_EQ(line, "two");
  EXPECT_EQ(port->read_line(line, 10s), SerialPort::Read::Closed);
}

}  // namespace
}  // namespace orvela::gps
