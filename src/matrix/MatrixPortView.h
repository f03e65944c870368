// The matrix view's part of a module leaving its port: the custom icon's slot is freed for the
// next load and the port's painted net forgotten. Worker thread (both parts lock).
#pragma once

#include "matrix/CustomIcons.h"
#include "matrix/SlideAnimator.h"
#include "protocol/SessionHooks.h"

namespace mav {

class MatrixPortView final : public PortViewHooks {
 public:
  MatrixPortView(CustomIcons& icons, SlideAnimator& slides) : icons_(icons), slides_(slides) {}

  void release_port_icon(int port, int icon_id) override {
    icons_.LoadCustom(nullptr, icon_id);
    slides_.forget_painted_net(port);
  }

 private:
  CustomIcons& icons_;
  SlideAnimator& slides_;
};

}  // namespace mav
