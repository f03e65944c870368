// The matrix view's part of the dispatcher's work: a module leaving its port frees the custom
// icon's slot for the next load and forgets the port's painted net; the worker's passes move the
// sliding icons, and each frame or slide end goes to show_step. Worker thread (the parts lock).
#pragma once

#include <functional>

#include "matrix/CustomIcons.h"
#include "matrix/SlideAnimator.h"
#include "protocol/SessionHooks.h"

namespace mav {

class MatrixPortView final : public PortViewHooks {
 public:
  MatrixPortView(CustomIcons& icons, SlideAnimator& slides,
                 std::function<void(const SlideStep&)> show_step)
      : icons_(icons), slides_(slides), show_step_(std::move(show_step)) {}

  void release_port_icon(int port, int icon_id) override {
    icons_.LoadCustom(nullptr, icon_id);
    slides_.forget_painted_net(port);
  }
  bool advance_slides() override {
    const SlideStep step = slides_.animation_step();
    if (step.frame_due || step.slide_ended) show_step_(step);
    return step.any_active;
  }

 private:
  CustomIcons& icons_;
  SlideAnimator& slides_;
  std::function<void(const SlideStep&)> show_step_;
};

}  // namespace mav
