// mav-gatewayd with its bridge on a real broker and its metrics, against the simulator.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

#include "bridge/GatewayOverview.h"
#include "bridge/MqttSubscription.h"
#include "sim/SimProcess.h"
#include "support/CommandOutput.h"
#include "support/ControllerProcess.h"
#include "support/Eventually.h"
#include "support/FileText.h"
#include "support/FreePort.h"
#include "support/GatewaydArguments.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

using namespace std::chrono_literals;

std::string output_of(const std::string& command) {
  return run_command(command).out;
}

class Bridge : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "broker");
    std::FILE* config = std::fopen((dir_ / "broker.conf").c_str(), "w");
    std::fprintf(config, "listener %s 127.0.0.1\nallow_anonymous true\n", broker_port_.c_str());
    std::fclose(config);
    start_broker();
    ASSERT_TRUE(start_simulator("0"));
    sim_port_ = std::to_string(sim_.tcp_port);
    service_.emplace(
        GATEWAYD_PATH, dir_.path(),
        gatewayd_arguments(dir_.path(), sim_.tcp_port, socket_,
                           {"--mqtt", "127.0.0.1:" + broker_port_, "--mqtt-site", "lab",
                            "--mqtt-keepalive", "5", "--metrics", "127.0.0.1:" + metrics_port_}));
    ASSERT_TRUE(eventually(
        [] { std::this_thread::sleep_for(100ms); },
        [&] { return retained()["status"].find(R"("synchronised":true)") != std::string::npos; },
        60s));
  }
  void start_broker() {
    broker_.emplace("/usr/sbin/mosquitto", dir_.path(),
                    std::vector<std::string>{"-c", (dir_ / "broker.conf").string()},
                    dir_ / "broker");
  }
  bool start_simulator(const std::string& port) {
    return sim_.start({"--tcp", "127.0.0.1:" + port, "--lineup", "11110001"});
  }
  // Every retained topic under the site, by its name below the site.
  std::map<std::string, std::string> retained() const {
    const std::string lines = output_of("mosquitto_sub -p " + broker_port_ + " -t '" + prefix_ +
                                        "#' -v -W 1 2>/dev/null");
    std::map<std::string, std::string> topics;
    for (std::size_t at = 0, end; (end = lines.find('\n', at)) != std::string::npos; at = end + 1) {
      const std::string line = lines.substr(at, end - at);
      const auto blank = line.find(' ');
      topics[line.substr(prefix_.size(), blank - prefix_.size())] =
          blank == std::string::npos ? "" : line.substr(blank + 1);
    }
    return topics;
  }
  // The service's own view, as the control socket's snapshot gives it, in topics.
  std::map<std::string, nlohmann::json> snapshot_topics() const {
    const auto ports = nlohmann::json::parse(
        output_of(std::string(MAVCTL_PATH) + " --socket " + socket_.string() + " ports --json"));
    std::map<std::string, nlohmann::json> topics;
    for (const auto& port : ports) {
      char name[16];
      std::snprintf(name, sizeof name, "port/%02d", port["port"].get<int>());
      topics[name] = port;
    }
    return topics;
  }
  std::string link_up() const {
    return output_of(
        "/usr/bin/python3 -c 'import sys, urllib.request\n"
        "from prometheus_client.parser import text_string_to_metric_families as families\n"
        "text = urllib.request.urlopen(sys.argv[1]).read().decode()\n"
        "print([s.value for f in families(text) for s in f.samples if s.name == \"mav_link_up\"])'"
        " http://127.0.0.1:" +
        metrics_port_ + "/metrics");
  }

  ScratchDirectory dir_;
  const std::string prefix_ = "mav/v1/lab/";
  std::filesystem::path socket_ = dir_ / "control.sock";
  std::string broker_port_ = std::to_string(free_loopback_port());
  std::string metrics_port_ = std::to_string(free_loopback_port());
  std::string sim_port_;
  sim::test::SimProcess sim_;
  std::optional<ControllerProcess> broker_;
  std::optional<ControllerProcess> service_;
};

TEST_F(Bridge, PublishesTheGatewayTakesRequestsAndLeavesItsWillOnTheBroker) {
  ASSERT_EQ(output_of(std::string(MAVCTL_PATH) + " --socket " + socket_.string() + " connect 3 7"),
            "");
  EXPECT_TRUE(eventually([&] {
    return retained()["port/03"] ==
           R"({"port":3,"module":"TOV-5","name":"TOV-5","net":1,"bus":0,"monitors":[],)"
           R"("permanent":false,"cor":false,"ptt":false,"ring":false,"hook":null,"lock":null})";
  }));

  ControllerProcess results("/usr/bin/mosquitto_sub", dir_.path(),
                            {"-p", broker_port_, "-t", prefix_ + "cmd/result", "-C", "2"},
                            dir_.path());
  std::this_thread::sleep_for(300ms);  // the subscription is in place before the request
  output_of("mosquitto_pub -p " + broker_port_ + " -t " + prefix_ +
            R"(cmd -m '{"type":"request","id":"c1","op":"connect","port":0,"to":1}')");
  EXPECT_EQ(results.wait(), 0);
  EXPECT_EQ(file_text(dir_ / "stdout.txt"),
            "{\"type\":\"response\",\"id\":\"c1\",\"status\":\"accepted\"}\n"
            "{\"type\":\"response\",\"id\":\"c1\",\"status\":\"applied\"}\n");

  // A broker that went away (and forgot everything) has every retained topic back as it was.
  broker_.reset();
  start_broker();
  std::map<std::string, std::string> topics;
  ASSERT_TRUE(eventually([] { std::this_thread::sleep_for(200ms); },
                         [&] {
                           topics = retained();
                           return topics.count("net/1") == 1 && topics.count("net/2") == 1;
                         },
                         30s));
  EXPECT_EQ(topics["net/1"], R"({"net":1,"bus":0,"ports":[3,7]})");
  for (const auto& [topic, payload] : snapshot_topics())
    EXPECT_EQ(nlohmann::json::parse(topics[topic]), payload) << topic;

  // A dead service reads offline within one and a half keep-alives (5 s here).
  kill(service_->pid(), SIGKILL);
  EXPECT_TRUE(eventually([&] { return retained()["status"] == "offline"; }, 7500ms));
}

TEST_F(Bridge, MetricsFollowTheLinkThroughALostGateway) {
  EXPECT_EQ(link_up(), "[1.0]\n");
  sim_.terminate();
  EXPECT_TRUE(eventually([&] { return link_up() == "[0.0]\n"; }));
  ASSERT_TRUE(start_simulator(sim_port_));
  EXPECT_TRUE(eventually([] {}, [&] { return link_up() == "[1.0]\n"; }, 60s));
}

TEST_F(Bridge, TheOverviewFollowsEachGatewayOnTheBroker) {
  std::mutex mutex;
  GatewayOverview overview;
  MqttSettings settings;
  ASSERT_TRUE(parse_broker("127.0.0.1:" + broker_port_, settings));
  MqttSubscription subscription(settings, {std::begin(kOverviewTopics), std::end(kOverviewTopics)},
                                [&](std::string topic, std::string payload) {
                                  const std::lock_guard lock(mutex);
                                  overview.take(topic, payload, 1000);
                                });
  std::string error;
  ASSERT_TRUE(subscription.start(error)) << error;
  const auto tile = [&] {
    const std::lock_guard lock(mutex);
    const auto found = overview.tiles().find("lab");
    return found == overview.tiles().end() ? GatewayTile{} : found->second;
  };
  output_of(std::string(MAVCTL_PATH) + " --socket " + socket_.string() +
            " --name dispatch-1 connect 3 7");
  EXPECT_TRUE(eventually([&] {
    const GatewayTile lab = tile();
    return lab.link == "connected" && lab.synchronised && lab.modules > 0 &&
           lab.active_nets() == 1 && lab.last_actor == "dispatch-1";
  }));
  kill(service_->pid(), SIGKILL);
  EXPECT_TRUE(eventually([&] { return tile().link == "offline" && !tile().synchronised; }));
}

TEST(GatewayOverview, KeepsATileAsItWasWhenAMessageCannotBeRead) {
  GatewayOverview overview;
  ASSERT_TRUE(
      overview.take("mav/v1/north/status",
                    R"({"link":"connected","synchronised":true,"modules":4,)"
                    R"("alarms":{"lost_contact":1,"timeouts":2},"control":"10.0.0.5:7700"})",
                    5000));
  for (const auto& [topic, payload] :
       std::vector<std::pair<std::string, std::string>>{{"mav/v1/north/status", "{"},
                                                        {"mav/v1/north/status", R"({"link":7})"},
                                                        {"mav/v1/north/port/99", R"({"net":1})"},
                                                        {"mav/v1/north/port/x", R"({"net":1})"},
                                                        {"mav/v1/north/port/03", "[]"}}) {
    overview.take(topic, payload, 9000);
  }
  EXPECT_FALSE(overview.take("mav/v1//status", "offline", 9000));
  EXPECT_FALSE(overview.take("other/north/status", "offline", 9000));
  const GatewayTile& north = overview.tiles().at("north");
  EXPECT_EQ(north.link, "connected");
  EXPECT_EQ(north.link_since_ms, 5000u);
  EXPECT_EQ(north.active_nets(), 0);
  EXPECT_EQ(north.lost_contacts + north.timeouts, 3);
  EXPECT_EQ(north.control, "10.0.0.5:7700");
  EXPECT_EQ(overview_duration(12 * 60 * 1000 + 200 * 60 * 1000), "3 h 32 min");
}

}  // namespace
}  // namespace mav::test
