// The control interface's host over an engine and an event loop it is given (the headless
// gateway's, or the controller's driven from its UI thread): the control socket and its clients,
// their requests run through the engine, the events, the audit log, locks, tokens and salvos.
// Where the core would ask the operator while a request runs, the request is the answer; where
// it would show a text, the text goes to the clients as an event (the event log has it already).
// Loop thread unless a member says otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigurationPrompts.h"
#include "engine/GatewayEngine.h"
#include "frontend/CommandRegistry.h"
#include "matrix/ConnectionActions.h"
#include "modules/DialSession.h"
#include "platform/EventLoop.h"
#include "salvo/TakeRun.h"
#include "salvo/TakeSchedule.h"
#include "service/AccessRules.h"
#include "service/AuditLog.h"
#include "service/ClientAuth.h"
#include "service/ControlMessages.h"
#include "service/ControlServer.h"
#include "service/ModelEvents.h"
#include "service/ServiceFrontend.h"
#include "service/ServiceObserver.h"
#include "service/TokenFile.h"

namespace mav {

// How often requests under way are looked at: the ones waiting for a stream of replies to settle
// and the accepted ones waiting for the gateway's replies to settle them.
inline constexpr std::uint32_t kSettleCheckMs = 20;

// The gateway the service owns: a network site or a serial port.
struct GatewayTarget {
  bool network = true;
  std::array<std::uint8_t, 4> address{};
  std::uint16_t port = 23;
  std::string device;
  std::uint32_t baud = 9600;
  std::string site;  // how the hello names it
};

struct ServiceSetup {
  ProgramFolders folders;
  GatewayTarget target;
  std::filesystem::path socket;  // used when no socket_fd is handed over
  int socket_fd = -1;            // a listening socket from the service manager
  std::string listen;            // HOST:PORT for TCP; empty: none
  // How long a port stays locked after its owner's last connection closed.
  std::uint32_t lock_grace_ms = 60000;
  // Whose a change is that no client's request made: the gateway's own when nobody sits at it,
  // "console" where the controller's operator does.
  std::string own_actor = "gateway";
};

class GatewayService final : public ControlClients,
                             public ServiceScreen,
                             public DialHooks,
                             public GestureHooks,
                             public ConfigurationPrompts,
                             public PasswordCheck {
 public:
  // The loop and the engine outlive the service; the loop runs on the engine's UI thread.
  GatewayService(EventLoop& loop, GatewayEngine& engine, ServiceSetup setup);
  ~GatewayService() override;

  // Listens on the control socket (and the TCP address when one is set up); false with a
  // sentence when it cannot. Clients are told about changes from here on.
  bool start_serving(std::string& error);
  // Closes the sockets and drops every client; the requests under way still settle.
  void stop_serving();
  bool serving() const { return serving_; }
  // Where the next start_serving listens.
  void set_socket(std::filesystem::path socket) { setup_.socket = std::move(socket); }
  // Who is asked to dial when an idle telephone line is reached by no client's connect: the
  // operator's dialog where there is one; otherwise a dial request may come.
  void set_operator_dial(DialHooks* dial) { operator_dial_ = dial; }
  // Where consoles on other machines reach this service: its TCP address; empty when none.
  const std::string& tcp_address() const { return setup_.listen; }
  EventLoop& loop() { return loop_; }
  GatewayEngine& engine() { return engine_; }
  // Called on the loop thread whenever the link or the synchronisation changes.
  void set_state_listener(std::function<void(LinkState, bool synchronised)> listener) {
    state_listener_ = std::move(listener);
  }
  // How the hello names the gateway when the host knows it better than by its address (the
  // controller's site name); asked at each hello.
  void set_site_name(std::function<std::string()> name) { site_name_ = std::move(name); }
  LinkState link_state() const;
  bool synchronised() const;

  // For the parts beside the control socket (the broker bridge, the metrics). The observer
  // outlives the service's loop.
  void add_observer(ServiceObserver& observer) { observers_.push_back(&observer); }
  // A client without a socket: `submit` runs its lines as the socket's clients' lines run, and
  // its responses go to `replies`. It acts as the token named `token` says, or as an operator
  // when no token has that name (whoever may publish its lines was chosen where they come from).
  int attach_client(std::string name, const std::string& token,
                    std::function<void(std::string_view)> replies);
  void submit(int client, std::string_view line) { on_line(client, line); }
  void detach_client(int client) { server_.drop(client); }
  // The snapshot line as an identifying client gets it, after the changes not yet published.
  std::string snapshot() {
    publish_model_changes();
    return encode_snapshot(events_.last(), engine_.model(), locks_);
  }
  std::size_t client_count() const { return server_.client_count(); }
  const LockOwners& locks() const { return locks_; }
  // What refuses the host's own operator (the own actor, as an operator) the request: another
  // client's lock on a port it touches.
  std::optional<Refusal> own_refusal(const ControlRequest& request) const;

  // ControlClients
  std::string hello(int client) override;
  void on_line(int client, std::string_view line) override;
  void on_closed(int client) override;

  // ServiceScreen
  void text_shown(const std::string& kind, const std::string& text) override;
  void link_changed() override;
  void model_touched() override;

  // DialHooks: worker thread.
  void open_dial_dialog(int port) override;
  // GestureHooks: the request is the operator's answer.
  GesturePreferences gesture_preferences() const override { return {}; }
  bool confirm(const MessageBoxRequest&) override { return true; }
  void open_module_settings(int, bool) override {}
  void save_snapshot_before_bulk_change() override { engine_.configurations().SaveSnapshot(); }
  // ConfigurationPrompts: answered from the request under way.
  std::optional<std::filesystem::path> choose_configuration_file(
      FileChoice choice, const std::filesystem::path& folder) override;
  void tell(const MessageBoxRequest& box) override;
  bool ask_yes_no(const MessageBoxRequest&) override { return true; }
  bool ask_yes_no_showing_changes(const MessageBoxRequest& box, const Changes& changes,
                                  bool no_is_default) override;
  std::optional<std::filesystem::path> choose_from_history(const std::vector<HistoryRow>& rows,
                                                           const ChangesOfFile& changes) override;
  // PasswordCheck: no operator can type the password here.
  bool confirm_password(Guard) override { return true; }

 private:
  // A request accepted and waiting for the gateway's replies to settle it.
  struct Pending {
    int client;
    nlohmann::json id;
    ControlOp op;
    ControlArguments arguments;
    std::string actor;
    std::string origin;
    std::uint32_t accepted_ms;
    bool dial_needed = false;
    int settled_checks = 0;
    // A salvo's take: its steps, run one at a time, each once the one before has settled.
    TakeRun take{};
  };
  // A request that waits for the gateway's stream of replies to settle.
  struct Held {
    int client;
    ControlRequest request;
    std::uint32_t since_ms;
  };
  // What a configuration command told or showed while it ran.
  struct CommandNotes {
    const ControlArguments* arguments = nullptr;
    std::vector<std::string> told;
    std::optional<std::vector<std::string>> changes;
    std::optional<nlohmann::ordered_json> history;
    bool bad_file = false;
  };

  // Runs the request now, or holds it while the gateway streams replies.
  void run_request(int client, const ControlRequest& request);
  void execute_request(int client, const ControlRequest& request);
  void release_held();
  // Runs the action of the gesture or menu command: a refusal, or nothing when it went ahead.
  // `done`: nothing waits for the gateway (the answer's members go with "applied").
  std::optional<Refusal> act(const ControlRequest& request, Pending& pending, bool& done,
                             nlohmann::ordered_json& answer);
  std::optional<Refusal> run_settings(const ControlRequest& request, bool& done,
                                      nlohmann::ordered_json& answer);
  std::optional<Refusal> run_configuration_command(int command_id, const ControlRequest& request,
                                                   bool& done, nlohmann::ordered_json& answer);
  // port: the line a connect reached; -1 for the request's own port.
  std::optional<Refusal> dial(const ControlArguments& arguments, bool& done, int port = -1);
  std::vector<std::string> trace_tail(int count);
  void finish(const Pending& pending, ResponseStatus status, const nlohmann::ordered_json& extra,
              std::string_view result);
  void check_pending();
  bool settled(const Pending& pending) const;
  void publish(std::string_view actor, const nlohmann::ordered_json& event);
  // actor: whose change it is; empty: the request under way's, or the gateway's.
  void publish_model_changes(std::string_view actor = {});
  void report_state();
  std::string actor_of_change() const;
  void start_dial_wait(int port);
  void end_dial_wait();

  // Salvos: saved, previewed, taken now or scheduled (ServiceSalvos.cpp).
  std::optional<Refusal> run_salvo_op(const ControlRequest& request, Pending& pending, bool& done,
                                      nlohmann::ordered_json& answer);
  // The take's steps as its answer lists them, each with its result.
  static nlohmann::ordered_json steps_json(const TakeRun& take);
  // Another client's lock on a port, as the salvo checks ask for it on behalf of `actor`.
  LockOwner lock_owner_for(const std::string& actor, bool supervisor) const;
  PortSet salvo_ports(const std::string& name) const;
  // Times the loop's wake-up for the next scheduled take, waking at least every `longest_ms`.
  void arm_schedule(std::uint32_t longest_ms = 60000);
  void run_due_takes();

  // Shared control: identities, roles, locks and tokens (ServiceAccess.cpp).
  void identify_client(int client, const ControlMessage& message);
  std::optional<Refusal> access_refusal_for(int client, const ControlRequest& request) const;
  std::optional<Refusal> run_access_op(const std::string& actor, const ControlRequest& request,
                                       nlohmann::ordered_json& answer);
  // The client no longer goes by its name; the name's locks start their grace once no other
  // connection has it.
  void forget_identity(int client);
  void expire_locks();
  // Whether the controller's password guards what this op changes.
  bool guarded(ControlOp op) const;

  ServiceSetup setup_;
  EventLoop& loop_;
  GatewayEngine& engine_;
  ControlServer server_;
  AuditLog audit_;
  CommandRegistry commands_;
  std::unique_ptr<ConnectionActions> actions_;
  EventSequence events_;
  ModelEvents model_events_;
  std::vector<Pending> pending_;
  int settle_timer_ = 0;
  std::deque<Held> held_;
  int hold_timer_ = 0;
  CommandNotes* notes_ = nullptr;
  std::optional<DialSession> dial_;
  int dial_timer_ = 0;  // checks the dial's 30 seconds of inactivity
  std::deque<std::string> trace_lines_;
  std::function<void(LinkState, bool)> state_listener_;
  std::function<std::string()> site_name_;
  std::map<int, ClientIdentity> identities_;
  std::map<int, std::string> challenges_;
  TokenFile tokens_;
  TakeSchedule schedule_;
  int schedule_timer_ = 0;
  IdentifyThrottle throttle_;
  LockOwners locks_{};
  std::map<std::string, std::uint32_t> departed_;  // lock owners gone, since when
  std::vector<ServiceObserver*> observers_;
  LinkState reported_link_ = LinkState::Closed;
  bool reported_synchronised_ = false;
  bool serving_ = false;
  DialHooks* operator_dial_ = nullptr;
};

}  // namespace mav
