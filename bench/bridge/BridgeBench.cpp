// The broker bridge's costs against a real broker: how long a state change of all 26 ports
// takes to reach a subscriber, and the loop's CPU at 1000 events a second with the bridge on and
// off. The service is built but not started: its loop runs, and no gateway is needed.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>

#include "bridge/MqttBridge.h"
#include "platform/Clock.h"
#include "service/HeadlessGateway.h"
#include "support/FreePort.h"

namespace {

using namespace std::chrono_literals;

double thread_cpu_seconds() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A broker of its own, a service whose loop runs on a thread, and, when asked, the bridge.
struct Rig {
  explicit Rig(bool bridged) {
    std::filesystem::create_directories(dir / "prog");
    std::FILE* config = std::fopen((dir / "broker.conf").c_str(), "w");
    std::fprintf(config, "listener %d 127.0.0.1\nallow_anonymous true\n", port);
    std::fclose(config);
    broker = ::fork();
    if (broker == 0) {
      std::freopen("/dev/null", "w", stderr);
      ::execl("/usr/sbin/mosquitto", "mosquitto", "-c", (dir / "broker.conf").c_str(), nullptr);
      ::_exit(127);
    }
    std::this_thread::sleep_for(300ms);
    mav::ServiceSetup setup;
    setup.folders = {dir / "prog", dir / "prog"};
    setup.target.address = {127, 0, 0, 1};
    setup.target.port = 1;
    gateway = std::make_unique<mav::HeadlessGateway>(clock, std::move(setup));
    service = &gateway->service();
    if (bridged) {
      mav::MqttSettings settings;
      settings.host = "127.0.0.1";
      settings.port = static_cast<std::uint16_t>(port);
      settings.site = "bench";
      bridge = std::make_unique<mav::MqttBridge>(*service, settings);
      bridge->start();
    }
    thread = std::thread([this] { service->loop().run(); });
    std::this_thread::sleep_for(300ms);  // connected to the broker
  }
  ~Rig() {
    on_loop([this] { bridge.reset(); });
    service->loop().stop();
    thread.join();
    ::kill(broker, SIGTERM);
    ::waitpid(broker, nullptr, 0);
    std::filesystem::remove_all(dir);
  }
  void on_loop(std::function<void()> fn) {
    std::promise<void> done;
    service->loop().post([&] {
      fn();
      done.set_value();
    });
    done.get_future().wait();
  }
  // The event line of a port that changed, as the service numbers them.
  static std::string port_event(std::uint64_t seq, int port) {
    char line[256];
    std::snprintf(line, sizeof line,
                  R"({"type":"event","seq":%llu,"actor":"bench","event":{"port":{"port":%d,)"
                  R"("module":"TOV-5","name":"TOV-5","net":%llu,"bus":0,"monitors":[]}}})",
                  static_cast<unsigned long long>(seq), port,
                  static_cast<unsigned long long>(seq % 7 + 1));
    return line;
  }

  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("bridge-bench-" + std::to_string(::getpid()));
  int port = mav::test::free_loopback_port();
  pid_t broker = -1;
  mav::SystemClock clock;
  std::unique_ptr<mav::HeadlessGateway> gateway;
  mav::GatewayService* service = nullptr;
  std::unique_ptr<mav::MqttBridge> bridge;
  std::thread thread;
};

// Each iteration: all 26 ports change at once; timed until a subscriber has all 26 port topics.
void PortsToSubscriber(benchmark::State& state) {
  Rig rig(true);
  std::uint64_t seq = 0;
  for (auto _ : state) {
    const std::string command =
        "mosquitto_sub -R -p " + std::to_string(rig.port) + " -t 'mav/v1/bench/port/#' -C 26 -W 10";
    FILE* subscriber = ::popen(command.c_str(), "r");
    std::this_thread::sleep_for(300ms);  // subscribed
    const auto start = std::chrono::steady_clock::now();
    rig.service->loop().post([&] {
      for (int port = 0; port < 26; ++port) rig.bridge->on_event(Rig::port_event(++seq, port));
    });
    char line[512];
    int lines = 0;
    while (std::fgets(line, sizeof line, subscriber) != nullptr) ++lines;
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    ::pclose(subscriber);
    if (lines != 26) state.SkipWithError("the subscriber missed port topics");
  }
}
BENCHMARK(PortsToSubscriber)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Each iteration: 1000 port events, one a millisecond; the loop's CPU share with the bridge on
// (argument 1) and off (0).
void LoopCpuAt1000EventsPerSecond(benchmark::State& state) {
  Rig rig(state.range(0) == 1);
  double loop_cpu = 0;
  double wall = 0;
  std::uint64_t seq = 0;
  for (auto _ : state) {
    double before = 0;
    rig.on_loop([&] { before = thread_cpu_seconds(); });
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
      std::this_thread::sleep_until(start + std::chrono::milliseconds(i));
      rig.service->loop().post([&rig, line = Rig::port_event(++seq, i % 26)] {
        if (rig.bridge) rig.bridge->on_event(line);
      });
    }
    rig.on_loop([&] { loop_cpu += thread_cpu_seconds() - before; });
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["loop_cpu_share"] = loop_cpu / wall;
}
BENCHMARK(LoopCpuAt1000EventsPerSecond)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
