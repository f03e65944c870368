#include "app/ui/AutomationInterface.h"

#include "frontend/MenuIds.h"

namespace mav {
namespace {

constexpr const char* kOwnActor = "console";

}  // namespace

AutomationInterface::AutomationInterface(const Clock& clock, Frontend& screen,
                                         const ProgramFolders& folders)
    : screen_(screen),
      folders_(folders),
      loop_(clock),
      follower_([this](std::function<void()> call) { loop_.post(std::move(call)); }, *this),
      tee_(screen, follower_) {}

AutomationInterface::~AutomationInterface() {
  detach();
}

void AutomationInterface::attach(GatewayEngine& engine, DialHooks& operator_dial,
                                 MatrixWidget& matrix, MatrixGestures& gestures) {
  ServiceSetup setup;
  setup.folders = folders_;
  setup.own_actor = kOwnActor;
  service_ = std::make_unique<GatewayService>(loop_, engine, std::move(setup));
  service_->set_operator_dial(&operator_dial);
  service_->add_observer(*this);
  matrix_ = &matrix;
  gestures_ = &gestures;
  own_gestures_ = std::make_unique<LockGuardedActions>(
      gestures.local_actions(), *service_,
      [&gestures](const std::string& why) { gestures.refuse(why); });
  driver_ = std::make_unique<EventLoopDriver>(loop_);
}

void AutomationInterface::detach() {
  if (!service_) return;
  serve(false, false);
  driver_.reset();
  own_gestures_.reset();
  service_.reset();
}

void AutomationInterface::register_commands(CommandRegistry& registry) {
  registry.add(menu::kAutomationInterface, [this] { serve(!service_->serving(), true); });
}

void AutomationInterface::start_as_stored() {
  if (read_automation_settings(folders_.program / kAutomationFileName).serve) serve(true, false);
}

bool AutomationInterface::serve(bool on, bool store) {
  if (!service_) return false;
  const std::filesystem::path file = folders_.program / kAutomationFileName;
  AutomationSettings settings = read_automation_settings(file);
  if (on && !service_->serving()) {
    service_->set_socket(settings.socket);
    std::string error;
    if (!service_->start_serving(error)) {
      screen_.show_message_box({"The automation interface cannot start: " + error, "MAV Controller",
                                MessageIcon::Exclamation});
    }
    nets_ = nets_of(service_->engine().model());
    locks_ = service_->locks();
  } else if (!on && service_->serving()) {
    service_->stop_serving();
  }
  const bool serving = service_->serving();
  tee_.follow(serving);
  gestures_->set_patch_actions(serving ? own_gestures_.get() : nullptr);
  driver_->refresh();
  screen_.set_menu_check(menu::kAutomationInterface, serving);
  if (store && settings.serve != serving) {
    settings.serve = serving;
    write_automation_settings(file, settings);
  }
  return serving == on;
}

void AutomationInterface::text_shown(const std::string& kind, const std::string& text) {
  if (service_) service_->text_shown(kind, text);
}

void AutomationInterface::link_changed() {
  if (service_) service_->link_changed();
}

void AutomationInterface::model_touched() {
  if (service_) service_->model_touched();
}

void AutomationInterface::open_dial_dialog(int port) {
  service_->open_dial_dialog(port);
}

// The status line names a client's change; the operator's own and the gateway's need no name.
void AutomationInterface::on_change(std::string_view actor) {
  const LockOwners& locks = service_->locks();
  const PortNets nets = nets_of(service_->engine().model());
  const ChangeSentence sentence(nets_, nets, locks_, locks);
  nets_ = nets;
  locks_ = locks;
  matrix_->set_lock_owners(locks);
  if (actor == kOwnActor || actor == "gateway") return;
  const std::string text = sentence.by(std::string(actor));
  if (!text.empty()) matrix_->show_status_text(text);
}

}  // namespace mav
