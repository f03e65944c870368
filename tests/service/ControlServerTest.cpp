// The server over real sockets.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "service/ServerRig.h"
#include "sim/SimProcess.h"
#include "support/ReadWithDeadline.h"

namespace mav::test {
namespace {

TEST(ControlServer, ReplacesAStaleSocketGreetsAndAnswersABurstInOrder) {
  ServerRig rig;
  std::filesystem::create_directories(rig.socket_path.parent_path());
  // A socket bound and abandoned leaves its file behind.
  sockaddr_un address{AF_UNIX, {}};
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", rig.socket_path.c_str());
  const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(left, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(left);
  std::string error;
  ASSERT_TRUE(rig.server.listen_unix(rig.socket_path, error)) << error;
  struct stat info;
  ASSERT_EQ(::stat(rig.socket_path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0660u);
  rig.start();

  const int client = connect_unix(rig.socket_path);
  EXPECT_EQ(read_with_deadline(client, kHello.size(), kIoDeadline), kHello);
  std::string burst, expected;
  for (int id = 0; id < 1000; ++id) {
    burst += R"({"type":"request","id":)" + std::to_string(id) +
             R"(,"op":"resync"})"
             "\n";
    expected += R"({"type":"response","id":)" + std::to_string(id) +
                R"(,"status":"accepted"})"
                "\n";
  }
  burst += "{oops\n";
  expected +=
      R"({"type":"response","id":null,"status":"error","code":"invalid_json","message":"The line is no JSON."})"
      "\n";
  ASSERT_TRUE(write_all(client, burst));
  EXPECT_EQ(read_with_deadline(client, expected.size(), kIoDeadline), expected);
  ::close(client);
}

TEST(ControlServer, AnOverlongLineIsAnsweredAndTheClientDropped) {
  ServerRig rig({.max_line = 1000});
  std::string error;
  ASSERT_TRUE(rig.server.listen_unix(rig.socket_path, error)) << error;
  struct stat info;
  ASSERT_EQ(::stat(rig.socket_path.parent_path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  rig.start();
  const int client = connect_unix(rig.socket_path);
  ASSERT_TRUE(write_all(client, std::string(1001, 'x')));
  EXPECT_EQ(
      read_with_deadline(client, 1 << 16, kIoDeadline),
      kHello +
          R"({"type":"response","id":null,"status":"error","code":"line_too_long","message":"A line is at most 1000 bytes; the connection is closed."})"
          "\n");
  EXPECT_TRUE(eventually([&] { return rig.closed == 1; }));
  ::close(client);
}

TEST(ControlServer, AClientThatNeverReadsIsDroppedWhileAnotherGetsEveryLine) {
  ServerRig rig({.max_queued = 64 * 1024});
  std::string error;
  ASSERT_TRUE(rig.server.listen_unix(rig.socket_path, error)) << error;
  rig.start();
  const int stuck = connect_unix(rig.socket_path);
  const int reader = connect_unix(rig.socket_path);
  for (int fd : {stuck, reader})
    ASSERT_TRUE(write_all(fd, R"({"type":"identify","name":"n"})"
                              "\n"));
  const std::string greeting = kHello + encode_snapshot(0, rig.model, {}) + "\n";
  ASSERT_EQ(read_with_deadline(reader, greeting.size(), kIoDeadline), greeting);
  rig.on_loop([] {});  // both identifies are in

  const std::string payload(1000, 'p');
  for (int i = 0; i < 3000; ++i) {
    const std::string line = std::to_string(10000 + i) + payload;
    rig.on_loop([&] { rig.server.broadcast(line); });
    ASSERT_EQ(read_with_deadline(reader, line.size() + 1, kIoDeadline), line + "\n");
  }
  EXPECT_EQ(rig.closed, 1);
  ::close(stuck);
  ::close(reader);
}

TEST(ControlServer, TcpListensOnTheGivenAddress) {
  ServerRig rig;
  std::string error;
  EXPECT_FALSE(rig.server.listen_tcp("127.0.0.1", error));
  ASSERT_TRUE(rig.server.listen_tcp("127.0.0.1:0", error)) << error;
  rig.start();
  const int client = sim::test::connect_loopback(rig.server.tcp_port());
  EXPECT_EQ(read_with_deadline(client, kHello.size(), kIoDeadline), kHello);
}

}  // namespace
}  // namespace mav::test
