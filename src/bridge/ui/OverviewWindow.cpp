#include "bridge/ui/OverviewWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QInputDialog>
#include <QPointer>
#include <QProcess>
#include <QVBoxLayout>

#include "frontend/MenuIds.h"

namespace mav {
namespace {

constexpr int kTileColumns = 3;
constexpr int kTickMs = 1000;

const char* link_colour(const std::string& link) {
  if (link == "connected") return "#1b7f2a";
  if (link == "connecting") return "#b07d00";
  return "#b3261e";
}

QString tile_text(const std::string& site, const GatewayTile& tile, std::uint32_t now_ms) {
  QString text = QString("<b>%1</b><br><span style='color:%2'>%3 for %4</span>")
                     .arg(QString::fromStdString(site).toHtmlEscaped(), link_colour(tile.link),
                          QString::fromStdString(tile.link),
                          QString::fromStdString(overview_duration(now_ms - tile.link_since_ms)));
  text += QString("<br>%1 modules, %2 active nets").arg(tile.modules).arg(tile.active_nets());
  if (!tile.last_actor.empty()) {
    text += "<br>Last change by " + QString::fromStdString(tile.last_actor).toHtmlEscaped();
  }
  if (tile.lost_contacts > 0 || tile.timeouts > 0) {
    text +=
        QString("<br><span style='color:#b3261e'>Last hour: %1 lost contact, %2 time-outs</span>")
            .arg(tile.lost_contacts)
            .arg(tile.timeouts);
  }
  return text;
}

}  // namespace

OverviewWindow::OverviewWindow(const Clock& clock) : clock_(clock) {
  setObjectName("AllGateways");
  setWindowTitle("All Gateways");
  auto* layout = new QVBoxLayout(this);
  empty_ = new QLabel("No gateway has reported to the broker yet.", this);
  layout->addWidget(empty_);
  tiles_layout_ = new QGridLayout;
  layout->addLayout(tiles_layout_);
  layout->addStretch();
  connect(&clock_tick_, &QTimer::timeout, this, [this] { refresh(); });
  clock_tick_.start(kTickMs);
}

void OverviewWindow::register_commands(CommandRegistry& registry) {
  registry.add(menu::kAllGateways, [this] {
    if (!subscription_) {
      bool ok = false;
      const QString broker = QInputDialog::getText(
          this, "All Gateways", "Broker (HOST[:PORT]):", QLineEdit::Normal, "127.0.0.1:1883", &ok);
      std::string error;
      if (!ok || !watch(broker, error)) return;
    }
    show();
    raise();
    activateWindow();
  });
}

bool OverviewWindow::watch(const QString& broker, std::string& error) {
  MqttSettings settings;
  if (!parse_broker(broker.toStdString(), settings)) {
    error = "No broker at " + broker.toStdString() + " (HOST[:PORT]).";
    return false;
  }
  // Messages arrive on the broker's thread; each is carried to this window's thread, and one that
  // comes after the window has gone is dropped.
  QPointer<OverviewWindow> window(this);
  subscription_ = std::make_unique<MqttSubscription>(
      settings, std::vector<std::string>(std::begin(kOverviewTopics), std::end(kOverviewTopics)),
      [window](std::string topic, std::string payload) {
        QMetaObject::invokeMethod(
            window.data(),
            [window, topic = std::move(topic), payload = std::move(payload)] {
              if (window) window->take(topic, payload);
            },
            Qt::QueuedConnection);
      });
  if (!subscription_->start(error)) return false;
  setWindowTitle("All Gateways - " + broker);
  show();
  return true;
}

void OverviewWindow::take(const std::string& topic, const std::string& payload) {
  if (overview_.take(topic, payload, clock_.now_ms())) refresh();
}

void OverviewWindow::refresh() {
  const std::uint32_t now = clock_.now_ms();
  empty_->setVisible(overview_.tiles().empty());
  for (const auto& [site, tile] : overview_.tiles()) {
    QLabel*& label = tiles_[site];
    if (label == nullptr) {
      label = new QLabel(this);
      label->setObjectName(QString::fromStdString(site));
      label->setFrameShape(QFrame::StyledPanel);
      label->setMargin(8);
      label->setMinimumWidth(220);
      label->installEventFilter(this);
      const int index = static_cast<int>(tiles_.size()) - 1;
      tiles_layout_->addWidget(label, index / kTileColumns, index % kTileColumns);
    }
    label->setText(tile_text(site, tile, now));
    label->setToolTip(tile.control.empty()
                          ? "This site's service takes no consoles from other machines."
                          : "Double-click: attach a console to " +
                                QString::fromStdString(tile.control));
  }
}

bool OverviewWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonDblClick) return QWidget::eventFilter(watched, event);
  const auto found = overview_.tiles().find(watched->objectName().toStdString());
  if (found != overview_.tiles().end() && !found->second.control.empty()) {
    QProcess::startDetached(QCoreApplication::applicationFilePath(),
                            {"--service", QString::fromStdString(found->second.control)});
  }
  return true;
}

}  // namespace mav
