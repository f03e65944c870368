// Reading ports and nets back from the service's lines: what port_json writes reads back to the
// same record, and a line that is wrong anywhere changes nothing.
#include <gtest/gtest.h>

#include <cstring>

#include "console/PortJson.h"

namespace mav::test {
namespace {

using nlohmann::json;

constexpr const char* kPort =
    R"({"port":4,"module":"LINE-7","name":"Dispatch","net":2,"bus":5,"monitors":[1,9],)"
    R"("permanent":true,"cor":false,"ptt":true,"ring":true,"hook":"off","lock":"A"})";

TEST(PortJson, ReadsBackWhatTheServiceWritesAndRefusesAnyWrongMember) {
  PortRecord records[kPortCount]{};
  LockOwners locks{};
  ASSERT_EQ(read_port_json(json::parse(kPort), records, locks), 4);
  EXPECT_EQ(port_json(4, records[4], locks[4]).dump(), kPort);

  const std::pair<const char*, json> wrong[] = {
      {"port", 26},   {"port", "4"}, {"module", "XYZ-1"},    {"name", 7},     {"net", 0},
      {"net", 8},     {"bus", 65},   {"monitors", {26}},     {"monitors", 1}, {"cor", 1},
      {"hook", "up"}, {"lock", 3},   {"permanent", nullptr},
  };
  for (const auto& [key, value] : wrong) {
    json line = json::parse(kPort);
    line[key] = value;
    const PortRecord before = records[4];
    EXPECT_EQ(read_port_json(line, records, locks), -1) << key << " " << value;
    EXPECT_EQ(std::memcmp(&before, &records[4], sizeof before), 0) << key;
  }
  json missing = json::parse(kPort);
  missing.erase("ring");
  EXPECT_EQ(read_port_json(missing, records, locks), -1);
  EXPECT_EQ(read_port_json(json("port"), records, locks), -1);

  EXPECT_TRUE(read_nets_json(json::parse(R"([{"net":1,"bus":0,"ports":[2,3]}])"), records));
  EXPECT_EQ(nets_json(records).dump(), R"([{"net":1,"bus":0,"ports":[2,3]}])");
  EXPECT_FALSE(read_nets_json(json::parse(R"([{"net":1,"bus":0,"ports":[99]}])"), records));
  EXPECT_FALSE(read_nets_json(json::parse(R"({"net":1})"), records));
}

}  // namespace
}  // namespace mav::test
