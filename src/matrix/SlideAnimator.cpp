#include "matrix/SlideAnimator.h"

#include "matrix/MatrixGeometry.h"
#include "model/DeviceModel.h"

namespace mav {

SlideAnimator::SlideAnimator(const DeviceModel& model, const Clock& clock)
    : model_(model), clock_(clock) {}

void SlideAnimator::set_screen_size(int screen_size) {
  screen_size_.store(screen_size);
}

void SlideAnimator::set_animation_delay(int delay_ms) {
  animation_delay_.store(delay_ms);
}

SlideStep SlideAnimator::start_move(int port, int from_net, int to_net) {
  if (port < 0 || port >= kPortCount || !model_.HasModule(port)) return {};
  const int size = screen_size_.load();
  const int y_from = IconTop(size, RowOfNet(from_net));
  const int y_to = IconTop(size, RowOfNet(to_net));
  const std::uint32_t now = clock_.now_ms();

  std::lock_guard lock(mutex_);
  Slide& slide = slides_[static_cast<std::size_t>(port)];
  if (!slide.active) slide.current_y = y_from;
  slide.start_y = slide.current_y;  // a running slide turns round where the icon stands
  slide.active = true;
  slide.end_y = y_to;
  slide.start_time = now;
  return finish_step(true);
}

SlideStep SlideAnimator::animation_step() {
  const std::int64_t delay = animation_delay_.load();
  const std::uint32_t now = clock_.now_ms();
  bool changed = false;
  bool ended = false;

  std::lock_guard lock(mutex_);
  for (Slide& slide : slides_) {
    if (!slide.active) continue;
    // Unsigned difference, so a clock wrap between start and now still gives the elapsed time.
    const std::int64_t t = static_cast<std::uint32_t>(now - slide.start_time);
    if (t < delay) {
      const int y = static_cast<int>(slide.start_y + (slide.end_y - slide.start_y) * t / delay);
      changed = changed || y != slide.current_y;
      slide.current_y = y;
    } else {
      slide.active = false;
      slide.current_y = slide.end_y;
      ended = true;
    }
  }
  SlideStep step = finish_step(changed || ended);
  step.slide_ended = ended;
  return step;
}

SlideStep SlideAnimator::finish_step(bool changed) {
  SlideStep step;
  for (const Slide& slide : slides_) step.any_active = step.any_active || slide.active;
  // One frame at a time: the UI thread draws the newest positions when it gets round to it.
  if (changed && !frame_pending_) {
    frame_pending_ = true;
    step.frame_due = true;
  }
  return step;
}

SlideFrame SlideAnimator::take_frame() {
  SlideFrame frame;
  std::lock_guard lock(mutex_);
  for (std::size_t p = 0; p < slides_.size(); ++p) {
    frame.icons[p] = {slides_[p].active, slides_[p].current_y};
  }
  frame_pending_ = false;
  return frame;
}

bool SlideAnimator::is_active(int port) const {
  if (port < 0 || port >= kPortCount) return false;
  std::lock_guard lock(mutex_);
  return slides_[static_cast<std::size_t>(port)].active;
}

bool SlideAnimator::any_active() const {
  std::lock_guard lock(mutex_);
  for (const Slide& slide : slides_) {
    if (slide.active) return true;
  }
  return false;
}

void SlideAnimator::record_painted_nets() {
  std::array<int, kPortCount> nets{};
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    if (model_.GetPort(port, record)) nets[static_cast<std::size_t>(port)] = record.net;
  }
  std::lock_guard lock(mutex_);
  for (std::size_t p = 0; p < slides_.size(); ++p) slides_[p].painted_net = nets[p];
}

void SlideAnimator::forget_painted_net(int port) {
  if (port < 0 || port >= kPortCount) return;
  std::lock_guard lock(mutex_);
  slides_[static_cast<std::size_t>(port)].painted_net = 0;
}

int SlideAnimator::painted_net(int port) const {
  if (port < 0 || port >= kPortCount) return 0;
  std::lock_guard lock(mutex_);
  return slides_[static_cast<std::size_t>(port)].painted_net;
}

}  // namespace mav
