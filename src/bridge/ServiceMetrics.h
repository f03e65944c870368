// The service's figures in the Prometheus text format: the link, the lines and time-outs the
// trace counted, the queue, the requests by op and result, the clients, the periodic saves and
// the last replay. Most are read when asked for; the rest are counted from what the service
// reports to its observers. Loop thread.
#pragma once

#include <prometheus/counter.h>
#include <prometheus/family.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>
#include <cstdint>
#include <memory>
#include <string>

#include "service/GatewayService.h"

namespace mav {

class ServiceMetrics final : public ServiceObserver {
 public:
  explicit ServiceMetrics(GatewayService& service);

  // The whole exposition, read at this moment.
  std::string text();

  void on_event(std::string_view line) override;
  void on_state(LinkState link, bool synchronised) override;
  void on_result(ControlOp op, std::string_view result) override;

 private:
  GatewayService& service_;
  std::shared_ptr<prometheus::Registry> registry_;
  prometheus::Gauge& link_up_;
  prometheus::Gauge& since_last_line_;
  prometheus::Counter& lines_sent_;
  prometheus::Counter& lines_received_;
  prometheus::Counter& timeouts_;
  prometheus::Counter& lost_contact_;
  prometheus::Counter& reconnects_;
  prometheus::Gauge& queue_depth_;
  prometheus::Family<prometheus::Counter>& requests_;
  prometheus::Gauge& clients_;
  prometheus::Counter& autosaves_;
  prometheus::Gauge& replay_seconds_;
  bool was_connected_ = false;
  bool ever_connected_ = false;
};

}  // namespace mav
