// The preferences shared by the UI thread and the worker: concurrent changes and saves never
// lose a change and always leave one whole file.
#include "app/PreferencesStore.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

TEST(PreferencesStore, ChangesFromTwoThreadsAllReachTheFile) {
  test::ScratchDirectory dir;
  PreferencesStore store(dir.path() / "MAV_Controller.cfg");
  EXPECT_EQ(store.load(Preferences{}), PreferencesOrigin::Created);

  constexpr int kRounds = 200;
  std::thread worker([&] {
    for (int i = 0; i < kRounds; ++i) {
      store.change_and_save([&](Preferences& p) { p.voice_prompts = i % 2 == 0; });
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    store.change_and_save(
        [&](Preferences& p) { p.animation_delay = static_cast<std::int16_t>(i); });
    EXPECT_EQ(store.get().serial_port_name, "COM1");
  }
  worker.join();

  const test::Bytes bytes = test::read_bytes(dir.path() / "MAV_Controller.cfg");
  ASSERT_EQ(bytes.size(), 32368u);
  EXPECT_EQ(bytes[1065], 0);  // the worker's last change: voice prompts off
  EXPECT_EQ(bytes[1068] | bytes[1069] << 8, kRounds - 1);
}

}  // namespace
}  // namespace mav
