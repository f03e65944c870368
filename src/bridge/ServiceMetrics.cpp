#include "bridge/ServiceMetrics.h"

#include "bridge/HourlyAlarms.h"

#include <prometheus/text_serializer.h>
#include <chrono>
#include <sstream>

namespace mav {
namespace {

using prometheus::BuildCounter;
using prometheus::BuildGauge;

prometheus::Gauge& gauge(prometheus::Registry& registry, const char* name, const char* help) {
  return BuildGauge().Name(name).Help(help).Register(registry).Add({});
}

prometheus::Counter& counter(prometheus::Registry& registry, const char* name, const char* help) {
  return BuildCounter().Name(name).Help(help).Register(registry).Add({});
}

// Counters follow totals kept elsewhere: they only ever rise to meet them.
void rise_to(prometheus::Counter& counter, std::uint64_t total) {
  const double value = static_cast<double>(total);
  if (value > counter.Value()) counter.Increment(value - counter.Value());
}

}  // namespace

ServiceMetrics::ServiceMetrics(GatewayService& service)
    : service_(service),
      registry_(std::make_shared<prometheus::Registry>()),
      link_up_(gauge(*registry_, "mav_link_up", "1 while the gateway's link is connected")),
      since_last_line_(gauge(*registry_, "mav_seconds_since_last_line",
                             "Seconds since the gateway's last complete line")),
      lines_sent_(counter(*registry_, "mav_lines_sent_total", "Lines sent to the gateway")),
      lines_received_(
          counter(*registry_, "mav_lines_received_total", "Lines received from the gateway")),
      timeouts_(counter(*registry_, "mav_reply_timeouts_total", "Replies that did not come")),
      lost_contact_(counter(*registry_, "mav_lost_contact_total",
                            "Episodes of lost contact with the gateway")),
      reconnects_(
          counter(*registry_, "mav_reconnects_total", "Links connected again after a loss")),
      queue_depth_(gauge(*registry_, "mav_queue_depth", "Lines waiting in the outgoing queue")),
      requests_(BuildCounter()
                    .Name("mav_requests_total")
                    .Help("Control requests by op and result")
                    .Register(*registry_)),
      clients_(gauge(*registry_, "mav_clients_connected", "Control clients connected")),
      autosaves_(counter(*registry_, "mav_automatic_saves_total", "Periodic saves written")),
      replay_seconds_(gauge(*registry_, "mav_replay_duration_seconds",
                            "How long the last configuration replay took")) {
  service_.add_observer(*this);
}

std::string ServiceMetrics::text() {
  GatewayEngine& engine = service_.engine();
  link_up_.Set(service_.link_state() == LinkState::Connected ? 1 : 0);
  const std::int64_t last = engine.contact().last_contact_time();
  const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  since_last_line_.Set(last == 0 ? 0 : static_cast<double>(now - last));
  rise_to(lines_sent_, engine.trace().sent_count());
  rise_to(lines_received_, engine.trace().received_count());
  rise_to(timeouts_, engine.trace().timeout_count());
  queue_depth_.Set(engine.link().queued_lines());
  clients_.Set(static_cast<double>(service_.client_count()));
  rise_to(autosaves_, engine.session().autosaves.load());
  replay_seconds_.Set(engine.session().last_replay_ms.load() / 1000.0);
  std::ostringstream out;
  prometheus::TextSerializer().Serialize(out, registry_->Collect());
  return out.str();
}

void ServiceMetrics::on_event(std::string_view line) {
  if (is_lost_contact_event(line)) lost_contact_.Increment();
}

void ServiceMetrics::on_state(LinkState link, bool) {
  const bool connected = link == LinkState::Connected;
  if (connected && !was_connected_ && ever_connected_) reconnects_.Increment();
  ever_connected_ = ever_connected_ || connected;
  was_connected_ = connected;
}

void ServiceMetrics::on_result(ControlOp op, std::string_view result) {
  requests_.Add({{"op", std::string(control_op_name(op))}, {"result", std::string(result)}})
      .Increment();
}

}  // namespace mav
