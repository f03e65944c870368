// The hit-test snapshot of the live model: which ports have modules, in which row they stand and
// whether they slide. Any thread (the model and the animator lock for themselves).
#pragma once

#include "matrix/HitTest.h"

namespace mav {

class DeviceModel;
class SlideAnimator;

HitScene SceneOf(const DeviceModel& model, const SlideAnimator& slides, const MatrixLayout& layout,
                 bool monitor_mode);

}  // namespace mav
