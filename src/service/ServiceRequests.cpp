// The requests of the control protocol, each run through the same action or menu command the
// controller's gesture runs, so the same lines reach the gateway and the same refusals come back.
#include <algorithm>

#include "modules/ModuleSettingsTable.h"
#include "service/GatewayService.h"
#include "service/ServiceConfigOps.h"
#include "service/SettingsByName.h"
#include "trace/TraceText.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

constexpr int kDefaultTraceLines = 50;
// How long a request waits for a stream of replies (a synchronisation takes most of a minute)
// to settle before it is refused as busy.
constexpr std::uint32_t kHoldLimitMs = 60000;
constexpr std::size_t kTraceLinesKept = 1000;

Refusal refusal(const char* code, std::string text) {
  return Refusal{code, std::move(text)};
}

bool sends_lines(const ControlRequest& request) {
  if (request.arguments.preview) return false;
  switch (request.op) {
    case ControlOp::SettingsGet:
    case ControlOp::HistoryList:
    case ControlOp::TraceTail:
    case ControlOp::ConfigSave:
    case ControlOp::Permanent:
    case ControlOp::Dial:
    case ControlOp::Lock:
    case ControlOp::Unlock:
    case ControlOp::TokenAdd:
    case ControlOp::TokenList:
    case ControlOp::TokenRevoke:
    case ControlOp::SalvoSave:
    case ControlOp::SalvoList:
    case ControlOp::SalvoPreview:
    case ControlOp::SalvoScheduled:
    case ControlOp::SalvoCancel:
    case ControlOp::SalvoDelete:
    case ControlOp::SalvoRehearse:
      return false;
    case ControlOp::SalvoTake:  // a take for later sends nothing yet
      return request.arguments.at.empty() && request.arguments.in.empty();
    default:
      return true;
  }
}

}  // namespace

void GatewayService::on_line(int client, std::string_view line) {
  const ControlMessage message = read_control_message(line);
  switch (message.kind) {
    case ControlMessage::Kind::Identify:
      identify_client(client, message);
      return;
    case ControlMessage::Kind::Invalid:
      server_.send(client, encode_error(message.error));
      return;
    case ControlMessage::Kind::Request:
      if (server_.name_of(client).empty()) {
        server_.send(client, encode_error({message.request.id, "not_identified",
                                           "Identify the client before its first request"}));
        return;
      }
      run_request(client, message.request);
      return;
  }
}

void GatewayService::run_request(int client, const ControlRequest& request) {
  // While the gateway streams replies the controller takes no gesture; the request waits for the
  // stream to settle instead of being refused, in the order it came.
  if (!held_.empty() || (sends_lines(request) && link_state() == LinkState::Connected &&
                         !engine_.session().accepts_gestures())) {
    held_.push_back({client, request, engine_.clock().now_ms()});
    if (hold_timer_ == 0) {
      hold_timer_ = loop_.add_timer(kSettleCheckMs, true, [this] { release_held(); });
    }
    return;
  }
  execute_request(client, request);
}

void GatewayService::execute_request(int client, const ControlRequest& request) {
  Pending pending{client,
                  request.id,
                  request.op,
                  request.arguments,
                  server_.name_of(client),
                  server_.origin_of(client),
                  engine_.clock().now_ms()};
  bool done = false;
  nlohmann::ordered_json answer = nlohmann::ordered_json::object();
  std::optional<Refusal> refused = access_refusal_for(client, request);
  if (!refused) refused = act(request, pending, done, answer);
  if (refused) {
    // What the refusal found (a salvo's reasons) follows its code and message.
    nlohmann::ordered_json extra{{"code", refused->code}, {"message", refused->text}};
    for (const auto& [key, value] : answer.items()) extra[key] = value;
    server_.send(client, encode_response(request.id, ResponseStatus::Refused, extra));
    for (ServiceObserver* observer : observers_) observer->on_result(request.op, "refused");
    return;
  }
  server_.send(client, encode_response(request.id, ResponseStatus::Accepted));
  if (done) {
    publish_model_changes(pending.actor);
    finish(pending, ResponseStatus::Applied, answer, "applied");
    return;
  }
  pending_.push_back(std::move(pending));
  check_pending();
}

void GatewayService::release_held() {
  const std::uint32_t now = engine_.clock().now_ms();
  while (!held_.empty()) {
    const bool ready = engine_.session().accepts_gestures() || !sends_lines(held_.front().request);
    if (!ready && now - held_.front().since_ms < kHoldLimitMs) break;
    Held held = std::move(held_.front());
    held_.pop_front();
    if (ready) {
      execute_request(held.client, held.request);
    } else {
      server_.send(held.client, encode_refusal(held.request.id, ResponseStatus::Refused, "busy",
                                               "The gateway stayed busy; try again"));
    }
  }
  if (held_.empty() && hold_timer_ != 0) {
    loop_.cancel_timer(hold_timer_);
    hold_timer_ = 0;
  }
}

std::optional<Refusal> GatewayService::act(const ControlRequest& request, Pending& pending,
                                           bool& done, nlohmann::ordered_json& answer) {
  const ControlArguments& a = request.arguments;
  DeviceModel& model = engine_.model();
  if (sends_lines(request)) {
    if (link_state() != LinkState::Connected) {
      return refusal("not_connected", "Not connected to the MAV-7700");
    }
    if (!engine_.session().accepts_gestures()) {
      return refusal("busy", "The gateway is busy; try again once it has settled");
    }
  }
  for (const int port : {a.port, a.other_port}) {
    if (port >= 0 && request.op != ControlOp::SettingsGet && !model.HasModule(port) &&
        request.op != ControlOp::Dial) {
      return refusal("no_module", port_text(port) + " has no module");
    }
  }
  switch (request.op) {
    case ControlOp::Connect:
      if (a.other_port >= 0 && a.other_port == a.port) {
        return refusal("same_port", port_text(a.port) + " cannot be connected to itself");
      }
      if (a.other_port >= 0) {
        actions_->connect_ports(a.port, a.other_port);
      } else {
        actions_->add_port_to_net(a.net - 1, a.port);
      }
      break;
    case ControlOp::Disconnect:
      actions_->disconnect_port(a.port);
      break;
    case ControlOp::DisconnectNet:
      actions_->disconnect_net(a.net);
      break;
    case ControlOp::Monitor:
      if (a.on == model.IsMonitoring(a.port, a.other_port)) {
        done = true;  // already as asked: the gesture would send nothing either
        return std::nullopt;
      }
      a.on ? actions_->monitor_on(a.port, a.other_port)
           : actions_->monitor_off(a.port, a.other_port);
      break;
    case ControlOp::ConnectAll:
      actions_->connect_all();
      break;
    case ControlOp::DisconnectAll:
      actions_->disconnect_all();
      break;
    case ControlOp::Permanent: {
      PortRecord record;
      model.GetPort(a.port, record);
      if (record.net < 1 || record.net > kNetCount) {
        return refusal("not_connected", port_text(a.port) + " is not connected");
      }
      actions_->toggle_permanent(record.net, *this);
      done = true;
      break;
    }
    case ControlOp::SettingsGet:
    case ControlOp::SettingsSet:
      return run_settings(request, done, answer);
    case ControlOp::ConfigSave:
    case ControlOp::ConfigLoad:
    case ControlOp::ConfigRestoreLast:
    case ControlOp::ConfigRevert:
    case ControlOp::HistoryList:
    case ControlOp::HistoryRestore:
      return run_configuration_command(*configuration_command_of(request.op), request, done,
                                       answer);
    case ControlOp::Resync:
      engine_.session().request_resync();
      engine_.link().wake_worker();
      break;
    case ControlOp::TraceTail:
      answer["lines"] = trace_tail(a.count > 0 ? a.count : kDefaultTraceLines);
      done = true;
      break;
    case ControlOp::Dial:
      return dial(a, done);
    case ControlOp::Lock:
    case ControlOp::Unlock:
    case ControlOp::TokenAdd:
    case ControlOp::TokenList:
    case ControlOp::TokenRevoke:
      done = true;
      return run_access_op(pending.actor, request, answer);
    case ControlOp::SalvoSave:
    case ControlOp::SalvoList:
    case ControlOp::SalvoPreview:
    case ControlOp::SalvoTake:
    case ControlOp::SalvoScheduled:
    case ControlOp::SalvoCancel:
    case ControlOp::SalvoDelete:
    case ControlOp::SalvoRehearse:
      return run_salvo_op(request, pending, done, answer);
  }
  return actions_->take_refusal();
}

std::optional<Refusal> GatewayService::run_settings(const ControlRequest& request, bool& done,
                                                    nlohmann::ordered_json& answer) {
  const ControlArguments& a = request.arguments;
  PortRecord record;
  engine_.model().GetPort(a.port, record);
  const ModuleTable* table = module_table(record.mod_type);
  if (!table) return refusal("no_module", port_text(a.port) + " has no module");
  if (request.op == ControlOp::SettingsGet) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const auto& [name, value] : settings_by_name(*table, record.settings))
      fields[name] = value;
    answer["settings"] = fields;
    done = true;
    return std::nullopt;
  }
  PortRecord wanted = record;
  if (const auto* rejected = store_by_name(*table, a.settings, wanted.settings)) {
    return refusal("bad_setting", "A " + std::string(table->caption) + " has no setting " +
                                      rejected->first + " that takes " +
                                      std::to_string(rejected->second));
  }
  engine_.settings_writer().WriteModuleSettings(a.port, wanted, &record);
  return std::nullopt;
}

std::optional<Refusal> GatewayService::run_configuration_command(int command_id,
                                                                 const ControlRequest& request,
                                                                 bool& done,
                                                                 nlohmann::ordered_json& answer) {
  CommandNotes notes;
  notes.arguments = &request.arguments;
  notes_ = &notes;
  commands_.run(command_id);
  notes_ = nullptr;
  if (!notes.told.empty()) {
    return refusal(request.op == ControlOp::ConfigSave ? "save_failed" : "load_failed",
                   notes.told.front());
  }
  if (notes.bad_file) return refusal("bad_argument", "A file is named without a folder");
  if (notes.changes) answer["changes"] = *notes.changes;
  if (notes.history) answer["history"] = *notes.history;
  // Saving, a preview and the history list send nothing; a load settles with its replay.
  done = !replays_configuration(request);
  return std::nullopt;
}

std::optional<std::filesystem::path> GatewayService::choose_configuration_file(
    FileChoice, const std::filesystem::path& folder) {
  if (!notes_ || !notes_->arguments) return std::nullopt;
  const std::filesystem::path file = notes_->arguments->file;
  // A client names a file of the configurations folder; the service never writes elsewhere.
  if (file.empty() || file.has_parent_path() || file == "." || file == "..") {
    notes_->bad_file = true;
    return std::nullopt;
  }
  return folder / file;
}

void GatewayService::tell(const MessageBoxRequest& box) {
  text_shown("box", box_text(box));
}

bool GatewayService::ask_yes_no_showing_changes(const MessageBoxRequest&, const Changes& changes,
                                                bool) {
  if (!notes_ || !notes_->arguments || !notes_->arguments->preview) return true;
  notes_->changes = changes();
  return false;
}

std::optional<std::filesystem::path> GatewayService::choose_from_history(
    const std::vector<HistoryRow>& rows, const ChangesOfFile& changes) {
  if (!notes_ || !notes_->arguments) return std::nullopt;
  // A named save is restored, or with a preview only compared; no name lists them all.
  if (const std::string& wanted = notes_->arguments->file; !wanted.empty()) {
    for (const HistoryRow& row : rows) {
      if (row.saved.file.filename() != wanted) continue;
      if (!notes_->arguments->preview) return row.saved.file;
      notes_->changes = changes(row.saved.file);
      return std::nullopt;
    }
    notes_->told.push_back("No automatic save is called " + wanted);
    return std::nullopt;
  }
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const HistoryRow& row : rows) {
    list.push_back({{"file", row.saved.file.filename().string()},
                    {"time", local_time_text(row.saved.when)},
                    {"modules", row.summary.modules},
                    {"nets", row.summary.nets}});
  }
  notes_->history = std::move(list);
  return std::nullopt;
}

std::vector<std::string> GatewayService::trace_tail(int count) {
  std::vector<TraceRow> rows;
  engine_.trace().take(rows);
  for (const TraceRow& row : rows) trace_lines_.push_back(trace_line(row));
  while (trace_lines_.size() > kTraceLinesKept) trace_lines_.pop_front();
  const auto first = trace_lines_.size() - std::min<std::size_t>(trace_lines_.size(), count);
  return {trace_lines_.begin() + static_cast<std::ptrdiff_t>(first), trace_lines_.end()};
}

bool GatewayService::settled(const Pending& pending) const {
  if (pending.op == ControlOp::Resync &&
      (engine_.session().resync_requested.load() || !engine_.session().input_ready.load())) {
    return false;
  }
  return StepSettled(engine_.link(), engine_.session(), engine_.model());
}

void GatewayService::open_dial_dialog(int port) {
  loop_.post([this, port] {
    // The connect that reached the idle line may carry the number to dial.
    for (Pending& pending : pending_) {
      const ControlArguments& a = pending.arguments;
      if (pending.op != ControlOp::Connect || (a.port != port && a.other_port != port)) continue;
      start_dial_wait(port);
      if (!a.number.empty()) {
        bool done = false;
        if (!dial(a, done, port)) return;
      }
      pending.dial_needed = true;
      return;
    }
    if (operator_dial_) {
      operator_dial_->open_dial_dialog(port);
    } else {
      start_dial_wait(port);
    }
  });
}

std::optional<Refusal> GatewayService::dial(const ControlArguments& a, bool& done, int port) {
  const int line_port = port >= 0 ? port : a.port;
  if (!dial_ || dial_->port() != line_port) {
    return refusal("no_dial", "No telephone line waits for a number on " + port_text(line_port));
  }
  switch (dial_->dial(a.number, a.line > 0 ? a.line : 1, false)) {
    case DialOutcome::Sent:
      end_dial_wait();
      done = true;
      return std::nullopt;
    case DialOutcome::NumberMissing:
      dial_->restart_timer();
      return refusal("number_missing", kEnterNumberText);
    case DialOutcome::LineBusy:
      end_dial_wait();
      return refusal("busy", kLineOffHookText);
  }
  return std::nullopt;
}

void GatewayService::start_dial_wait(int port) {
  end_dial_wait();
  dial_.emplace(DialParts{engine_.model(), engine_.link(), engine_.log(), engine_.clock()}, port);
  // A refused dial request restarts the session's 30 seconds, as a click in the dialog does.
  dial_timer_ = loop_.add_timer(1000, true, [this] {
    if (!dial_ || !dial_->timed_out()) return;
    if (dial_->give_up(true)) {
      publish("gateway",
              nlohmann::ordered_json{{"text", {{"kind", "box"}, {"text", kLineOffHookText}}}});
    }
    end_dial_wait();
  });
}

void GatewayService::end_dial_wait() {
  if (dial_timer_ != 0) loop_.cancel_timer(dial_timer_);
  dial_timer_ = 0;
  dial_.reset();
}

}  // namespace mav
