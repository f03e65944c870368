// The server over real sockets, with its loop on a thread of its own as in the service.
#include "service/ControlServer.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/Clock.h"
#include "service/ControlMessages.h"
#include "support/Eventually.h"
#include "support/ReadWithDeadline.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

// Answers each line the way the service does: errors for bad lines, "accepted" for requests.
struct ServerRig final : ControlClients {
  explicit ServerRig(ControlLimits limits = {}) : server(loop, *this, limits) {}
  ~ServerRig() override {
    loop.stop();
    if (thread.joinable()) thread.join();
  }
  std::string hello() override { return encode_hello("Test", LinkState::Connected, true); }
  void on_line(int client, std::string_view line) override {
    const ControlMessage message = read_control_message(line);
    if (message.kind == ControlMessage::Kind::Identify) server.identify(client, message.name);
    if (message.kind == ControlMessage::Kind::Request)
      server.send(client, encode_response(message.request.id, ResponseStatus::Accepted));
    if (message.kind == ControlMessage::Kind::Invalid)
      server.send(client, encode_error(message.error));
  }
  void on_closed(int) override { ++closed; }
  void start() {
    thread = std::thread([this] { loop.run(); });
  }
  // Runs fn on the loop's thread and waits for it.
  void on_loop(std::function<void()> fn) {
    std::atomic<bool> done{false};
    loop.post([&] { fn(), done = true; });
    eventually([&] { return done.load(); });
  }

  SystemClock clock;
  EventLoop loop{clock};
  ControlServer server;
  std::atomic<int> closed{0};
  std::thread thread;
  ScratchDirectory scratch;
  std::filesystem::path socket_path = scratch / "run/control.sock";
};

int connect_unix(const std::filesystem::path& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
  return fd;
}

void write_all(int fd, const std::string& text) {
  ASSERT_EQ(::send(fd, text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size()));
}

const std::string kHello =
    R"({"type":"hello","protocol":1,"site":"Test","link":"connected","synchronised":true})"
    "\n";

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
  write_all(client, burst);
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
  write_all(client, std::string(1001, 'x'));
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
    write_all(fd, R"({"type":"identify","name":"n"})"
                  "\n");
  ASSERT_EQ(read_with_deadline(reader, kHello.size(), kIoDeadline), kHello);
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

TEST(ControlServer, TcpListensOnLoopbackOnly) {
  ServerRig rig;
  std::string error;
  EXPECT_FALSE(rig.server.listen_tcp("192.0.2.1:0", error));
  EXPECT_EQ(error, "Only a loopback address may be listened on: 192.0.2.1:0.");
  EXPECT_FALSE(rig.server.listen_tcp("127.0.0.1", error));
  ASSERT_TRUE(rig.server.listen_tcp("127.0.0.1:0", error)) << error;
  rig.start();
  const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(rig.server.tcp_port());
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(read_with_deadline(client, kHello.size(), kIoDeadline), kHello);
  ::close(client);
}

}  // namespace
}  // namespace mav::test
