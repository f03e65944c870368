// The console's picture of a gateway it reaches through a service: a DeviceModel kept from the
// snapshot and the events, the owners of the port locks, the gateway's link as the service sees
// it, and who made each change. An event whose number shows that some were missed brings a
// fresh snapshot instead of a guess. Host thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "console/ServiceClient.h"
#include "model/DeviceModel.h"
#include "service/ControlMessages.h"

namespace mav {

class RemoteModel final : public ServiceReceiver {
 public:
  // port: the port that changed (its lock included); -1 for the nets, the gateway's link or a
  // whole snapshot (whose actor is empty).
  using ChangeListener = std::function<void(const std::string& actor, int port)>;
  // A text the service passed on: kind "log" for an event-log line, else the kind of text the
  // console would have shown ("box", ...).
  using NoticeListener = std::function<void(const std::string& actor, const std::string& kind,
                                            const std::string& text)>;

  // Becomes the client's receiver for as long as it lives.
  explicit RemoteModel(ServiceClient& client);
  RemoteModel(const RemoteModel&) = delete;
  RemoteModel& operator=(const RemoteModel&) = delete;
  ~RemoteModel() override;

  const DeviceModel& model() const { return model_; }
  const LockOwners& locks() const { return locks_; }
  const std::string& site() const { return site_; }
  LinkState gateway_link() const { return gateway_link_; }
  bool synchronised() const { return synchronised_; }
  // Who made the latest change: a client's name, "gateway" or "console".
  const std::string& last_actor() const { return last_actor_; }

  void set_change_listener(ChangeListener listener) { on_change_ = std::move(listener); }
  void set_notice_listener(NoticeListener listener) { on_notice_ = std::move(listener); }

  // ServiceReceiver
  void on_hello(const nlohmann::json& hello) override;
  void on_snapshot(const nlohmann::json& snapshot) override;
  void on_event(const nlohmann::json& event) override;

 private:
  void read_link(const nlohmann::json& object);
  void changed(const std::string& actor, int port);

  ServiceClient& client_;
  DeviceModel model_;
  LockOwners locks_{};
  std::uint64_t seq_ = 0;
  std::string site_;
  LinkState gateway_link_ = LinkState::Closed;
  bool synchronised_ = false;
  std::string last_actor_;
  ChangeListener on_change_;
  NoticeListener on_notice_;
};

}  // namespace mav
