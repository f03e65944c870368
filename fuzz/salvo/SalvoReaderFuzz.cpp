// Arbitrary bytes as a salvo file: the reader answers a salvo or a sentence, never both and never
// neither; a salvo it accepts writes back to a file that reads as the same salvo, and its preview
// and take plan on a gateway with a module on every port neither crash nor leave both a refusal
// and lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "salvo/SalvoFile.h"
#include "salvo/TakePlan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const mav::SalvoReading reading =
      mav::DecodeSalvo(std::string_view(reinterpret_cast<const char*>(data), size));
  if (reading.salvo.has_value() == !reading.error.empty()) std::abort();
  if (!reading.salvo) return 0;
  if (mav::DecodeSalvo(mav::EncodeSalvo(*reading.salvo)).salvo != reading.salvo) std::abort();
  mav::DeviceModel model;
  for (int port = 0; port < mav::kPortCount; ++port) {
    model.Update(port, [port](mav::PortRecord& r) {
      r.mod_type = static_cast<std::uint32_t>(port % 5 + 1);
      r.bus = static_cast<std::int16_t>(port % 4 == 0 ? mav::GROUP_NONE : port % 6);
    });
  }
  model.RenumberNets();
  mav::PreviewSalvo(model, *reading.salvo, nullptr);
  const mav::TakePlan plan = mav::PlanTake(model, *reading.salvo, nullptr);
  if (!plan.refusals.empty() && !plan.steps.empty()) std::abort();
  return 0;
}
