#include "config/ui/HistoryDialog.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "config/ui/ChangesDialogs.h"
#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

QString local_time_text(HistoryTime when) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
  return QDateTime::fromMSecsSinceEpoch(ms).toLocalTime().toString(
      QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QTableWidgetItem* cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

}  // namespace

HistoryDialog::HistoryDialog(std::vector<HistoryRow> rows, ChangesOfFile changes, QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)), changes_(std::move(changes)) {
  setWindowTitle(QStringLiteral("Restore from History"));
  list_ = named(new QTableWidget(static_cast<int>(rows_.size()), 3), kHistoryListId);
  list_->setHorizontalHeaderLabels(
      {QStringLiteral("Time"), QStringLiteral("Modules"), QStringLiteral("Nets")});
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
    const HistoryRow& row = rows_[static_cast<std::size_t>(i)];
    list_->setItem(i, 0, cell(local_time_text(row.saved.when)));
    list_->setItem(i, 1, cell(QString::number(row.summary.modules)));
    list_->setItem(i, 2, cell(QString::number(row.summary.nets)));
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Automatic saves, newest first:")));
  layout->addWidget(list_, 1);
  layout->addWidget(new QLabel(QStringLiteral("Restoring the selected save would change:")));
  changes_view_ = make_changes_view({});
  layout->addWidget(changes_view_, 1);
  OkCancelRow buttons = make_ok_cancel_row();
  buttons.ok->setText(QStringLiteral("Restore"));
  layout->addLayout(buttons.row);
  connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons.ok->setEnabled(!rows_.empty());
  settle_default_button(*this, *buttons.ok);

  connect(list_, &QTableWidget::itemSelectionChanged, this,
          &HistoryDialog::show_changes_of_selection);
  if (!rows_.empty()) list_->selectRow(0);
  show_changes_of_selection();
  resize(600, 520);
}

std::optional<std::filesystem::path> HistoryDialog::chosen() const {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(rows_.size())) return std::nullopt;
  return rows_[static_cast<std::size_t>(row)].saved.file;
}

// The comparison is made when a save is selected, against the gateway as it is at that moment.
void HistoryDialog::show_changes_of_selection() {
  const std::optional<std::filesystem::path> file = chosen();
  set_changes(*changes_view_, file ? changes_(*file) : std::vector<std::string>{});
}

}  // namespace mav
