// Arbitrary bytes as a configuration file compared with a gateway whose ports hold the same
// records turned by one port, so both sides carry any module types, nets and settings values:
// the comparison must neither crash nor read outside its tables, always says something, and
// calls a load failing exactly when the loader's own port decision would refuse it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "config/ConfigurationChanges.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<mav::Configuration> saved =
      mav::DecodeConfiguration(std::span<const std::uint8_t>(data, size));
  if (!saved) return 0;
  mav::DeviceModel model;
  bool refused = false;
  for (int port = 0; port < mav::kPortCount; ++port) {
    const mav::PortRecord& now =
        saved->ports[static_cast<std::size_t>((port + 1) % mav::kPortCount)];
    model.SetPort(port, now);
    refused = refused || mav::FitOfPort(now, saved->ports[static_cast<std::size_t>(port)]) ==
                             mav::PortFit::LoadFails;
  }
  const mav::ConfigurationChanges changes = mav::CompareWithModel(model, *saved);
  if (changes.load_fails() != refused || mav::DescribeChanges(changes).empty()) std::abort();
  mav::Summarize(*saved);
  return 0;
}
