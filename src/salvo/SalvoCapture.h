// Making a salvo from the gateway as the model holds it now. Any thread.
#pragma once

#include <string>
#include <vector>

#include "model/DeviceModel.h"
#include "salvo/Salvo.h"

namespace mav {

// The state of the chosen ports: every net holding two or more of them (a chosen port whose net
// holds no other chosen port keeps whatever net it is in), every chosen port in no net and no
// DISCH group as one to free, and every chosen port's whole monitor list. Ports without a module
// or outside 0..25 are left out; monitored ports are named with their modules too.
Salvo CaptureSalvo(const DeviceModel& model, std::string name, const std::vector<int>& ports);

}  // namespace mav
