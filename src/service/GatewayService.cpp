#include "service/GatewayService.h"

#include "trace/TraceText.h"

namespace mav {
namespace {

// How long an accepted request may wait before the client is told the gateway never answered.
constexpr std::uint32_t kSettleLimitMs = 60000;
constexpr std::size_t kChallengeBytes = 16;

}  // namespace

GatewayService::GatewayService(EventLoop& loop, GatewayEngine& engine, ServiceSetup setup)
    : setup_(std::move(setup)),
      loop_(loop),
      engine_(engine),
      server_(loop_, *this),
      audit_(setup_.folders.program / "Logs", engine_.clock(), journal_wanted()),
      commands_([this](const std::string& fault) { engine_.log().write_log_entry(fault); }),
      tokens_(setup_.folders.program / kTokensFileName),
      schedule_(setup_.folders.program) {
  // The service's own actions and commands, so a request's questions are answered by the
  // request and never reach the operator's boxes.
  actions_ = std::make_unique<ConnectionActions>(engine_.action_parts(*this));
  engine_.configurations().register_commands(commands_, *this);
  engine_.log().set_listener([this](std::string_view entry) {
    loop_.post([this, text = std::string(entry)] {
      if (serving_) publish("gateway", nlohmann::ordered_json{{"log", text}});
    });
  });
}

GatewayService::~GatewayService() {
  engine_.log().set_listener(nullptr);
}

bool GatewayService::start_serving(std::string& error) {
  const bool listening = setup_.socket_fd >= 0 ? server_.adopt_unix(setup_.socket_fd, error)
                                               : server_.listen_unix(setup_.socket, error);
  if (!listening || (!setup_.listen.empty() && !server_.listen_tcp(setup_.listen, error))) {
    server_.close();
    return false;
  }
  // Clients learn the model from their snapshot; the events go on from the model as it is now.
  model_events_.reset(engine_.model(), locks_);
  serving_ = true;
  report_state();
  arm_schedule();
  return true;
}

void GatewayService::stop_serving() {
  serving_ = false;
  server_.close();
  if (schedule_timer_ != 0) loop_.cancel_timer(schedule_timer_);
  schedule_timer_ = 0;
}

LinkState GatewayService::link_state() const {
  const LinkChannel& link = engine_.link();
  if (!link.is_open()) return LinkState::Closed;
  return link.is_ready() ? LinkState::Connected : LinkState::Connecting;
}

bool GatewayService::synchronised() const {
  return link_state() == LinkState::Connected && engine_.model().CountModules() > 0 &&
         engine_.session().input_ready.load();
}

std::string GatewayService::hello(int client) {
  return encode_hello(site_name_ ? site_name_() : setup_.target.site, link_state(), synchronised(),
                      challenges_[client] = random_hex(kChallengeBytes));
}

void GatewayService::on_closed(int client) {
  challenges_.erase(client);
  forget_identity(client);
  std::erase_if(held_, [client](const Held& held) { return held.client == client; });
  // Its requests still settle at the gateway; only their answers have nobody to go to.
  for (Pending& pending : pending_) {
    if (pending.client == client) pending.client = -1;
  }
}

void GatewayService::text_shown(const std::string& kind, const std::string& text) {
  if (notes_ && kind == "box") notes_->told.push_back(text);
  if (!serving_) return;
  publish(actor_of_change(), nlohmann::ordered_json{{"text", {{"kind", kind}, {"text", text}}}});
}

void GatewayService::link_changed() {
  report_state();
  model_touched();
}

void GatewayService::model_touched() {
  if (!serving_) return;
  publish_model_changes();
  report_state();
}

void GatewayService::report_state() {
  const LinkState link = link_state();
  const bool in_sync = synchronised();
  if (link == reported_link_ && in_sync == reported_synchronised_) return;
  if (link != reported_link_) {
    publish("gateway",
            nlohmann::ordered_json{{"link", link_word(link)}, {"synchronised", in_sync}});
  }
  reported_link_ = link;
  reported_synchronised_ = in_sync;
  if (state_listener_) state_listener_(link, in_sync);
  for (ServiceObserver* observer : observers_) observer->on_state(link, in_sync);
}

void GatewayService::publish(std::string_view actor, const nlohmann::ordered_json& event) {
  const std::string line = events_.next(actor, event);
  server_.broadcast(line);
  for (ServiceObserver* observer : observers_) observer->on_event(line);
}

void GatewayService::publish_model_changes(std::string_view actor) {
  const std::string by = actor.empty() ? actor_of_change() : std::string(actor);
  const auto changes = model_events_.changes(engine_.model(), locks_);
  for (const auto& event : changes) publish(by, event);
  if (changes.empty()) return;
  for (ServiceObserver* observer : observers_) observer->on_change(by);
}

// A change while a client's request is under way is that client's; otherwise nobody's request
// made it.
std::string GatewayService::actor_of_change() const {
  return pending_.empty() ? setup_.own_actor : pending_.back().actor;
}

void GatewayService::finish(const Pending& pending, ResponseStatus status,
                            const nlohmann::ordered_json& extra, std::string_view result) {
  // The record is written before the answer, so a client that has its answer finds it there.
  audit_.record(pending.actor, pending.origin, pending.op, pending.arguments, result);
  for (ServiceObserver* observer : observers_) observer->on_result(pending.op, result);
  if (pending.client >= 0) server_.send(pending.client, encode_response(pending.id, status, extra));
}

void GatewayService::check_pending() {
  const std::uint32_t now = engine_.clock().now_ms();
  for (auto it = pending_.begin(); it != pending_.end();) {
    // A reply handler may send its next line just after the last reply cleared the wait, so a
    // request counts as settled only when two checks in a row find it so.
    it->settled_checks = settled(*it) ? it->settled_checks + 1 : 0;
    if (it->settled_checks >= 2) {
      if (const auto refused = it->take.next(*actions_, engine_.model())) {
        finish(
            *it, ResponseStatus::Error,
            {{"code", refused->code}, {"message", refused->text}, {"steps", steps_json(it->take)}},
            "refused");
      } else if (!it->take.finished()) {
        it->settled_checks = 0;
        ++it;
        continue;
      } else {
        nlohmann::ordered_json extra = nlohmann::ordered_json::object();
        if (it->dial_needed) extra["dial_needed"] = true;
        if (!it->take.runs().empty()) extra["steps"] = steps_json(it->take);
        finish(*it, ResponseStatus::Applied, extra, "applied");
      }
    } else if (link_state() == LinkState::Closed) {
      finish(*it, ResponseStatus::Error,
             {{"code", "not_connected"}, {"message", "The link to the gateway closed"}},
             "not_connected");
    } else if (now - it->accepted_ms > kSettleLimitMs) {
      finish(*it, ResponseStatus::Error,
             {{"code", "no_reply"}, {"message", "The gateway did not answer"}}, "no_reply");
    } else {
      ++it;
      continue;
    }
    it = pending_.erase(it);
  }
  if (pending_.empty() && settle_timer_ != 0) {
    loop_.cancel_timer(settle_timer_);
    settle_timer_ = 0;
  } else if (!pending_.empty() && settle_timer_ == 0) {
    settle_timer_ = loop_.add_timer(kSettleCheckMs, true, [this] { check_pending(); });
  }
}

}  // namespace mav
