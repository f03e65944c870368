// The icon slides: when a port changes net, its icon glides from the old row to the new one in
// animation_delay milliseconds. The worker thread starts and advances slides (start_move,
// animation_step, called through the Frontend); the UI thread reads where the icons stand
// (take_frame, is_active) and draws them. Only positions are computed here, never pixels.
// Every member may be called from any thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "model/PortRecord.h"
#include "platform/Clock.h"

namespace mav {

class DeviceModel;

struct SlideStep {
  bool frame_due = false;    // icons moved: wake the UI thread for one slide frame
  bool slide_ended = false;  // a slide ended: request a full repaint
  bool any_active = false;   // slides still run: keep the worker loop at full speed
};

struct SlideFrame {
  struct Icon {
    bool active = false;
    int y = 0;  // top of the icon in pixels
  };
  std::array<Icon, kPortCount> icons{};
};

class SlideAnimator {
 public:
  SlideAnimator(const DeviceModel& model, const Clock& clock);

  // Positions are rows of this screen size (0, 1 or 2); the duration of a slide in ms, 0 for
  // none. Set by the UI thread from the preferences.
  void set_screen_size(int screen_size);
  void set_animation_delay(int delay_ms);

  // Starts sliding the port's icon from the row of from_net to the row of to_net (net numbers;
  // GROUP_NONE or 0 for no net). A running slide turns round where the icon stands. Ignored for
  // a port without a module or outside 0-25. frame_due as in animation_step.
  SlideStep start_move(int port, int from_net, int to_net);
  // Advances every running slide to the clock's now.
  SlideStep animation_step();

  // For the UI thread: where every icon stands now; allows the next frame_due.
  SlideFrame take_frame();
  bool is_active(int port) const;
  bool any_active() const;

  // The net each port's icon was last painted in: taken from the model by every full paint;
  // a port whose module left reads 0 until the next paint.
  void record_painted_nets();
  void forget_painted_net(int port);
  int painted_net(int port) const;

 private:
  struct Slide {
    int painted_net = 0;
    bool active = false;
    int start_y = 0;
    int end_y = 0;
    int current_y = 0;
    std::uint32_t start_time = 0;
  };

  SlideStep finish_step(bool changed);  // mutex_ held

  const DeviceModel& model_;
  const Clock& clock_;
  std::atomic<int> screen_size_{0};
  std::atomic<int> animation_delay_{0};
  mutable std::mutex mutex_;
  std::array<Slide, kPortCount> slides_{};
  bool frame_pending_ = false;
};

}  // namespace mav
