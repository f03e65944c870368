#include "service/ModelEvents.h"

#include "service/ControlMessages.h"

namespace mav {
namespace {

struct Reading {
  std::array<nlohmann::ordered_json, kPortCount> ports;
  nlohmann::ordered_json nets;
};

Reading read(const DeviceModel& model, const LockOwners& locks) {
  Reading reading;
  PortRecord records[kPortCount];
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, records[port]);
    reading.ports[port] = port_json(port, records[port], locks[static_cast<std::size_t>(port)]);
  }
  reading.nets = nets_json(records);
  return reading;
}

}  // namespace

void ModelEvents::reset(const DeviceModel& model, const LockOwners& locks) {
  Reading reading = read(model, locks);
  ports_ = std::move(reading.ports);
  nets_ = std::move(reading.nets);
}

std::vector<nlohmann::ordered_json> ModelEvents::changes(const DeviceModel& model,
                                                         const LockOwners& locks) {
  Reading reading = read(model, locks);
  std::vector<nlohmann::ordered_json> events;
  for (int port = 0; port < kPortCount; ++port) {
    if (reading.ports[port] == ports_[port]) continue;
    ports_[port] = reading.ports[port];
    events.push_back(nlohmann::ordered_json{{"port", ports_[port]}});
  }
  if (reading.nets != nets_) {
    nets_ = std::move(reading.nets);
    events.push_back(nlohmann::ordered_json{{"nets", nets_}});
  }
  return events;
}

}  // namespace mav
