// Salvos through their public functions: the file, capture, the refusal rules, the preview and
// the lines a take sends.
#include <gtest/gtest.h>

#include <initializer_list>

#include "model/TextField.h"
#include "salvo/SalvoCapture.h"
#include "salvo/SalvoFile.h"
#include "salvo/TakePlan.h"

namespace mav {
namespace {

// A gateway with a radio interface on every port, all free; `buses` puts ports on buses.
struct Gateway {
  DeviceModel model;
  explicit Gateway(std::initializer_list<std::initializer_list<int>> buses = {}) {
    for (int port = 0; port < kPortCount; ++port) {
      model.Update(port, [](PortRecord& r) { r.mod_type = MOD_TOV5; });
    }
    int bus = 0;
    for (const auto& ports : buses) {
      for (const int port : ports) model.Update(port, [bus](PortRecord& r) { r.bus = bus; });
      ++bus;
    }
    model.RenumberNets();
  }
};

Salvo salvo_of(std::initializer_list<int> ports, std::vector<std::vector<int>> nets,
               std::vector<int> free = {}, std::vector<SalvoMonitors> monitors = {}) {
  Salvo salvo{"Night", {}, std::move(nets), std::move(free), std::move(monitors)};
  for (const int port : ports) salvo.ports.push_back({port, MOD_TOV5, ""});
  return salvo;
}

TEST(SalvoFile, WritesReadableJsonAndNamesWhatIsWrongWithABadFile) {
  Salvo salvo = salvo_of({3, 7, 9}, {{3, 7}}, {9}, {{3, {9}}});
  salvo.ports[0].name = "Fire";
  const std::string text = EncodeSalvo(salvo);
  EXPECT_EQ(text, R"({
  "name": "Night",
  "ports": [
    {
      "port": 3,
      "module": "TOV-5",
      "name": "Fire"
    },
    {
      "port": 7,
      "module": "TOV-5",
      "name": ""
    },
    {
      "port": 9,
      "module": "TOV-5",
      "name": ""
    }
  ],
  "nets": [
    [
      3,
      7
    ]
  ],
  "free": [
    9
  ],
  "monitors": [
    {
      "port": 3,
      "monitoring": [
        9
      ]
    }
  ]
}
)");
  EXPECT_EQ(DecodeSalvo(text).salvo, salvo);

  const std::string port3 = R"("ports": [{"port": 3, "module": "TOV-5", "name": ""}])";
  const std::pair<std::string, std::string> bad[] = {
      {"{", "The salvo file is not valid JSON."},
      {"[1]", "The salvo file does not hold a salvo."},
      {R"({"name": "a/b"})", "The salvo has no usable name."},
      {R"({"name": "N", "ports": 3})", "The salvo's \"ports\" is not a list."},
      {R"({"name": "N", "ports": [{"port": 26}]})", "Port 26 is not a port of the gateway."},
      {R"({"name": "N", "ports": [{"port": 1.5}]})", "A port of the salvo is not a port number."},
      {R"({"name": "N", "ports": [{"port": 3, "module": "X", "name": ""}]})",
       "Port 03 has no known module type."},
      {R"({"name": "N", "ports": [{"port": 3, "module": "TOV-5"}]})", "Port 03 has no port name."},
      {R"({"name": "N", )" + port3 + R"(, "nets": [[3]]})",
       "A net of the salvo does not list at least two ports."},
      {R"({"name": "N", )" + port3 + R"(, "nets": [[3, 4]]})",
       "Port 04 is used but its module is not given."},
      {R"({"name": "N", )" + port3 + R"(, "free": [3, 3]})",
       "Port 03 is in more than one net or also to be freed."},
      {R"({"name": "N", )" + port3 + R"(, "monitors": [{"port": 3, "monitoring": [3]}]})",
       "Port 03 monitors a port twice or itself."},
  };
  for (const auto& [file, sentence] : bad) {
    const SalvoReading reading = DecodeSalvo(file);
    EXPECT_FALSE(reading.salvo) << file;
    EXPECT_EQ(reading.error, sentence) << file;
  }
}

TEST(SalvoTake, SendsTheGesturesLinesForEachWayToReachTheSalvo) {
  Gateway saved({{3, 7, 9}, {2, 4}});
  saved.model.Update(2, [](PortRecord& r) { AddMonitor(r, 4); });
  const Salvo captured = CaptureSalvo(saved.model, "Night", {2, 3, 7, 9, 11});
  EXPECT_EQ(captured, salvo_of({2, 3, 4, 7, 9, 11}, {{3, 7, 9}}, {11},
                               {{2, {4}}, {3, {}}, {7, {}}, {9, {}}, {11, {}}}));

  const struct {
    const char* what;
    Gateway gateway;
    Salvo salvo;
    std::string lines;
  } cases[] = {
      {"after Disconnect All", Gateway(), salvo_of({3, 7, 9}, {{3, 7, 9}}),
       "CONNECT_S 03 07\rCONNECT_S 09 03\r"},
      {"a net that only grows", Gateway({{3, 7}}), salvo_of({3, 7, 9}, {{3, 7, 9}}),
       "CONNECT_S 09 03\r"},
      {"a port leaving another net first", Gateway({{3, 5}}), salvo_of({3, 7}, {{3, 7}}),
       "DISC_S 03\rCONNECT_S 03 07\r"},
      {"ports freed and monitors set", Gateway({{1, 2}, {5, 6, 8}}),
       salvo_of({1, 4, 5, 6, 8}, {}, {1, 5}, {{4, {6, 8}}}),
       "DISC_S 01\rDISC_S 05\rMON 04 06 ON\rMON 04 08 ON\r"},
      {"nothing to change", Gateway({{3, 7}}), salvo_of({3, 7}, {{3, 7}}), ""},
  };
  for (const auto& c : cases) {
    const TakePlan plan = PlanTake(c.gateway.model, c.salvo, nullptr);
    EXPECT_TRUE(plan.refusals.empty()) << c.what;
    EXPECT_EQ(plan.lines(), c.lines) << c.what;
  }
  EXPECT_EQ(PlanTake(Gateway().model, captured, nullptr).lines(),
            "CONNECT_S 03 07\rCONNECT_S 09 03\rMON 02 04 ON\r");
}

TEST(SalvoTake, PreviewsInTheComparisonsFormAndRefusesBeforeAnyLine) {
  Gateway gateway({{3, 5}, {20, 21}});
  gateway.model.Update(2, [](PortRecord& r) { AddMonitor(r, 4); });
  const Salvo salvo = salvo_of({2, 3, 4, 6, 7}, {{3, 7}}, {}, {{2, {6}}});
  EXPECT_EQ(PreviewSalvo(gateway.model, salvo, nullptr).changes,
            (std::vector<std::string>{"Port 05: Net 1 -> no net", "Port 07: no net -> Net 1",
                                      "Port 02 Monitors: 4 -> 6"}));

  const struct {
    void (*spoil)(PortRecord&);
    int port;
    Refusal refusal;
  } rules[] = {
      {[](PortRecord& r) { r.mod_type = MOD_NONE; },
       3,
       {"no_module", "Port 03 has no module; the salvo expects a TOV-5."}},
      {[](PortRecord& r) { r.mod_type = MOD_MEK4; },
       3,
       {"other_module", "Port 03 holds a MEK-4; the salvo expects a TOV-5."}},
      {[](PortRecord& r) { StoreText(r.port_name, "Fire"); },
       3,
       {"other_name", "Port 03 is named \"Fire\"; the salvo expects \"\"."}},
      {[](PortRecord& r) { r.perm_conn = 1; },
       3,
       {"permanent", "Port 03 is permanently connected."}},
      {[](PortRecord& r) { r.disch_group = 0; },
       6,
       {"disch_group", "Port 06 is in a DISCH group."}},
      {nullptr, 7, {"locked", "Port 07 is locked by alice."}},  // a lock, not a spoilt record
  };
  for (const auto& rule : rules) {
    Gateway spoilt({{3, 5}});
    if (rule.spoil) spoilt.model.Update(rule.port, rule.spoil);
    const auto locks = [&rule](int port) -> std::optional<std::string> {
      if (rule.spoil || port != rule.port) return std::nullopt;
      return "alice";
    };
    const TakePlan plan = PlanTake(spoilt.model, salvo_of({3, 6, 7}, {{3, 6, 7}}), locks);
    ASSERT_EQ(plan.refusals.size(), 1u) << rule.refusal.text;
    EXPECT_EQ(plan.refusals[0].code, rule.refusal.code);
    EXPECT_EQ(plan.refusals[0].text, rule.refusal.text);
    EXPECT_TRUE(plan.steps.empty());
  }
  const Gateway full({{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}, {10, 11}, {12, 13}});
  EXPECT_EQ(PlanTake(full.model, salvo_of({20, 21}, {{20, 21}}), nullptr).refusals[0].text,
            "The salvo would need more than 7 nets.");
}

}  // namespace
}  // namespace mav
