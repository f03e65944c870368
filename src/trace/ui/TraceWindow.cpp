#include "trace/ui/TraceWindow.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include "frontend/MenuIds.h"

namespace mav {
namespace {

constexpr int kTakeIntervalMs = 100;  // a batch ten times a second reads as live

}  // namespace

TraceWindow::TraceWindow(ProtocolTrace& trace, OperatorPrompts& prompts)
    : QWidget(nullptr, Qt::Window), trace_(trace), prompts_(prompts) {
  setWindowTitle("Protocol Trace");
  setObjectName("ProtocolTrace");
  resize(760, 480);

  keyword_ = new QLineEdit;
  keyword_->setObjectName("keyword");
  keyword_->setPlaceholderText("Keyword");
  keyword_->setClearButtonEnabled(true);
  port_ = new QComboBox;
  port_->setObjectName("port");
  port_->addItem("All ports");
  for (int port = 0; port < 26; ++port) port_->addItem(QString::asprintf("%.2d", port), port);
  pause_ = new QPushButton("&Pause");
  pause_->setObjectName("pause");
  pause_->setCheckable(true);
  auto* clear = new QPushButton("&Clear");
  clear->setObjectName("clear");
  auto* save = new QPushButton("&Save As...");
  save->setObjectName("save");

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel("Filter:"));
  controls->addWidget(keyword_, 1);
  controls->addWidget(new QLabel("Port:"));
  controls->addWidget(port_);
  controls->addStretch();
  controls->addWidget(pause_);
  controls->addWidget(clear);
  controls->addWidget(save);

  table_ = new QTableView;
  table_->setModel(&shown_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(false);
  table_->setFont(QFont("Monospace"));
  // Fixed row heights and no per-row measuring keep 10 000 rows scrolling smoothly.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setColumnWidth(0, 110);
  table_->setColumnWidth(1, 110);
  table_->setColumnWidth(2, 70);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(table_);

  connect(keyword_, &QLineEdit::textChanged, this, [this] { apply_filter(); });
  connect(port_, &QComboBox::currentIndexChanged, this, [this] { apply_filter(); });
  connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
    pause_->setText(paused ? "&Resume" : "&Pause");
    if (paused) return;
    // Resumed: what came meanwhile, and the newest row in view.
    take_rows();
    table_->scrollToBottom();
  });
  connect(clear, &QPushButton::clicked, this, [this] {
    batch_.clear();
    trace_.take(batch_);  // what was recorded before the click goes too
    batch_.clear();
    rows_.clear();
  });
  connect(save, &QPushButton::clicked, this, [this] { save_as(); });
  connect(&take_timer_, &QTimer::timeout, this, [this] { take_rows(); });
}

void TraceWindow::register_commands(CommandRegistry& registry) {
  registry.add(menu::kProtocolTrace, [this] {
    show();
    raise();
    activateWindow();
  });
}

void TraceWindow::showEvent(QShowEvent* event) {
  take_timer_.start(kTakeIntervalMs);
  QWidget::showEvent(event);
}

void TraceWindow::hideEvent(QHideEvent* event) {
  // Nobody watches: the rows wait in the trace (the newest 10 000) until the window is back.
  take_timer_.stop();
  QWidget::hideEvent(event);
}

void TraceWindow::take_rows() {
  if (pause_->isChecked()) return;
  batch_.clear();
  trace_.take(batch_);
  if (batch_.empty()) return;
  QScrollBar* scroll = table_->verticalScrollBar();
  const bool following = scroll->value() == scroll->maximum();
  rows_.append(batch_);
  if (following) table_->scrollToBottom();
}

void TraceWindow::apply_filter() {
  TraceFilter filter;
  filter.keyword = keyword_->text().trimmed().toStdString();
  const QVariant port = port_->currentData();
  if (port.isValid()) filter.port = port.toInt();
  shown_.set_filter(std::move(filter));
  table_->scrollToBottom();
}

bool TraceWindow::save_rows(const QString& path) const {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  // The rows carry the time of day only.
  const QByteArray heading = "MAV Controller protocol trace, saved " +
                             QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toUtf8() +
                             "\n";
  if (file.write(heading) < 0) return false;
  for (int row = 0; row < shown_.rowCount(); ++row) {
    const std::string line = trace_line(shown_.row_at(row)) + "\n";
    if (file.write(line.data(), static_cast<qint64>(line.size())) < 0) return false;
  }
  return file.flush();
}

void TraceWindow::save_as() {
  QFileDialog chooser(this, "Save Protocol Trace", QString(), "Text files (*.txt)");
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  chooser.setDefaultSuffix("txt");
  chooser.selectFile("trace-" + QDate::currentDate().toString("yyyy-MM-dd") + ".txt");
  if (prompts_.run_dialog(chooser) != QDialog::Accepted) return;
  const QStringList files = chooser.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return;
  if (!save_rows(files.front())) {
    prompts_.tell(
        {"Could not write the trace file", "Protocol Trace", MessageIcon::Exclamation, true}, this);
  }
}

}  // namespace mav
