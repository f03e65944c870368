#include "matrix/MatrixScene.h"

#include "matrix/SlideAnimator.h"
#include "model/DeviceModel.h"

namespace mav {

HitScene SceneOf(const DeviceModel& model, const SlideAnimator& slides, const MatrixLayout& layout,
                 bool monitor_mode) {
  HitScene scene;
  scene.layout = layout;
  scene.monitor_mode = monitor_mode;
  for (int p = 0; p < kPortCount; ++p) {
    PortRecord record{};
    if (!model.GetPort(p, record)) continue;
    PortPlacement& placed = scene.ports[static_cast<std::size_t>(p)];
    placed.has_module = record.mod_type != MOD_NONE;
    placed.row = RowOfNet(record.net);
    placed.sliding = slides.is_active(p);
  }
  return scene;
}

}  // namespace mav
