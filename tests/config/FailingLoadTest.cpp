// A Load the comparison shows to fail: the question says so with No as the default, and neither
// answer sends anything to the gateway.
#include <gtest/gtest.h>

#include "frontend/MenuIds.h"
#include "model/RecordImage.h"
#include "support/ControllerRig.h"

namespace mav {
namespace {

TEST(FailingLoad, AsksWithNoFirstAndSendsNothingWhateverTheAnswer) {
  for (const bool yes : {true, false}) {
    auto rig = test::make_connected_rig();
    test::Place(rig->model, 0, {});
    Configuration saved;
    saved.ports[0] = rig->port(0);
    saved.ports[0].mod_type = MOD_HK6;  // another module, on a bus of the file
    saved.ports[0].bus = 1;
    rig->prompts.chosen = rig->scratch / "other.mav";
    ASSERT_TRUE(WriteConfiguration(*rig->prompts.chosen, saved));
    rig->prompts.answer_yes = yes;

    rig->registry.run(menu::kLoadConfiguration);
    EXPECT_EQ(
        rig->prompts.asked,
        std::vector<std::string>{
            "Load Configuration:\rother.mav\rThe load would fail: nothing would change.\rAre you sure?"});
    EXPECT_TRUE(rig->prompts.no_was_default);
    EXPECT_EQ(rig->wire(), "");
    EXPECT_EQ(rig->frontend.boxes().size(), yes ? 1u : 0u);  // "Load Failed!"
  }
}

}  // namespace
}  // namespace mav
