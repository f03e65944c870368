// The control server's costs over a real Unix socket: how long a request waits for "accepted",
// and what fanning events out to 50 clients costs the loop at 1000 events a second.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "service/ServerRig.h"

namespace {

using mav::test::ServerRig;

std::string read_line(int fd, std::string& buffer) {
  for (;;) {
    const std::size_t end = buffer.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      return line;
    }
    char chunk[4096];
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got <= 0) return {};
    buffer.append(chunk, static_cast<std::size_t>(got));
  }
}

double thread_cpu_seconds() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double cpu_seconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void RequestToAccepted(benchmark::State& state) {
  ServerRig rig;
  std::string error;
  if (!rig.server.listen_unix(rig.socket_path, error)) state.SkipWithError(error.c_str());
  rig.start();
  const int client = mav::test::connect_unix(rig.socket_path);
  std::string buffer;
  read_line(client, buffer);  // the hello
  const std::string request = R"({"type":"request","id":1,"op":"resync"})"
                              "\n";
  std::vector<double> latencies;
  for (auto _ : state) {
    const auto sent = std::chrono::steady_clock::now();
    mav::test::write_all(client, request);
    benchmark::DoNotOptimize(read_line(client, buffer));
    latencies.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - sent).count());
  }
  std::nth_element(latencies.begin(), latencies.begin() + latencies.size() / 2, latencies.end());
  state.counters["median_us"] = latencies[latencies.size() / 2];
  ::close(client);
}
BENCHMARK(RequestToAccepted)->UseRealTime();

// Each iteration: 1000 events, one a millisecond, to 50 identified clients that read them all.
// The loop's CPU share is the server's cost; the process's adds the pacing and the clients' reader.
void EventsTo50Clients(benchmark::State& state) {
  ServerRig rig;
  std::string error;
  if (!rig.server.listen_unix(rig.socket_path, error)) state.SkipWithError(error.c_str());
  rig.start();
  std::vector<pollfd> clients;
  for (int i = 0; i < 50; ++i) {
    const int fd = mav::test::connect_unix(rig.socket_path);
    mav::test::write_all(fd, R"({"type":"identify","name":"c"})"
                             "\n");
    clients.push_back({fd, POLLIN, 0});
  }
  rig.on_loop([] {});
  std::atomic<bool> done{false};
  std::atomic<std::size_t> received{0};
  std::thread drain([&] {
    char chunk[65536];
    while (!done) {
      if (::poll(clients.data(), clients.size(), 20) <= 0) continue;
      for (auto& client : clients) {
        if (client.revents & POLLIN)
          received += std::max<ssize_t>(0, ::read(client.fd, chunk, sizeof chunk));
      }
    }
  });
  mav::EventSequence events;
  double cpu = 0;
  double loop_cpu = 0;
  double wall = 0;
  for (auto _ : state) {
    const double cpu_before = cpu_seconds();
    double loop_before = 0;
    rig.on_loop([&] { loop_before = thread_cpu_seconds(); });
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(i));
      rig.loop.post([&, i] { rig.server.broadcast(events.next("gateway", {{"port", i % 26}})); });
    }
    rig.on_loop([&] { loop_cpu += thread_cpu_seconds() - loop_before; });
    cpu += cpu_seconds() - cpu_before;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  done = true;
  drain.join();
  state.counters["process_cpu_share"] = cpu / wall;
  state.counters["loop_cpu_share"] = loop_cpu / wall;
  std::size_t clients_left = 0;
  rig.on_loop([&] { clients_left = rig.server.client_count(); });
  state.counters["clients_left"] = static_cast<double>(clients_left);
  state.counters["bytes_received"] = static_cast<double>(received);
  for (const auto& client : clients) ::close(client.fd);
}
BENCHMARK(EventsTo50Clients)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
