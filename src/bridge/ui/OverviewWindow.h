// Display > All Gateways: one tile per gateway that publishes to a broker, with its link (coloured,
// and for how long), modules, active nets, the last change and who made it, and the alarms of the
// last hour. It only reads the broker, so a viewer may open it. A double-click on a tile starts a
// console attached to that site's service, where the service offers one. UI thread.
#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>

#include "bridge/GatewayOverview.h"
#include "bridge/MqttSubscription.h"
#include "frontend/CommandRegistry.h"
#include "platform/Clock.h"

namespace mav {

class OverviewWindow final : public QWidget {
 public:
  explicit OverviewWindow(const Clock& clock);

  // Display > All Gateways asks for the broker the first time, then shows the window.
  void register_commands(CommandRegistry& registry);
  // Follows the broker at HOST[:PORT] and shows the window; false with a sentence for an address
  // that names no broker.
  bool watch(const QString& broker, std::string& error);
  const GatewayOverview& overview() const { return overview_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void take(const std::string& topic, const std::string& payload);
  void refresh();

  const Clock& clock_;
  GatewayOverview overview_;
  std::unique_ptr<MqttSubscription> subscription_;
  QGridLayout* tiles_layout_ = nullptr;
  QLabel* empty_ = nullptr;
  std::map<std::string, QLabel*> tiles_;
  QTimer clock_tick_;
};

}  // namespace mav
