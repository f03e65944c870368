// Calls of the core from the worker thread reach the UI thread in order, without the worker
// waiting for them.
#include "platform/qt/QueuedFrontend.h"

#include <QObject>
#include <thread>

#include "gui/ProgramRig.h"
#include "support/RecordingFrontend.h"

namespace mav::test {
namespace {

TEST(QueuedFrontend, WorkerCallsRunOnTheUiThreadInOrder) {
  QObject ui_object;
  RecordingFrontend screen;
  WakeSignal worker_wake;
  QueuedFrontend frontend(ui_object);

  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) frontend.show_status_text("line " + std::to_string(i));
    frontend.set_menu_check(40051, false);
    frontend.show_message_box({"The MAV Controller has lost contact\rwith the MAV-7700",
                               "MAV Controller", MessageIcon::Exclamation, true});
  });
  worker.join();
  // Nothing reaches the screen before it exists.
  QCoreApplication::processEvents();
  EXPECT_TRUE(screen.status_texts().empty());

  frontend.set_target(screen, worker_wake);
  ASSERT_TRUE(process_events_until([&] { return screen.boxes().size() == 1; }));
  const auto texts = screen.status_texts();
  ASSERT_EQ(texts.size(), 100u);
  EXPECT_EQ(texts.front(), "line 0");
  EXPECT_EQ(texts.back(), "line 99");
  EXPECT_EQ(screen.menu_checks(), (std::vector<std::pair<int, bool>>{{40051, false}}));

  frontend.request_repaint();
  EXPECT_EQ(screen.repaints(), 0);  // posted, not run on the caller's stack
  ASSERT_TRUE(process_events_until([&] { return screen.repaints() == 1; }));

  // A slide started on the UI thread wakes the worker to move it.
  EXPECT_FALSE(worker_wake.wait(-1, 0));
  frontend.start_move(3, 1, 2);
  ASSERT_TRUE(process_events_until([&] { return !screen.moves().empty(); }));
  EXPECT_TRUE(worker_wake.wait(-1, 0));
}

}  // namespace
}  // namespace mav::test
