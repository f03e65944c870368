#include "app/ui/SalvosWindow.h"

#include <QDateTime>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/ui/ChangesDialogs.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

QPushButton* button(const char* text, int id) {
  return named(new QPushButton(text), id);
}

QString take_text(const ScheduledTake& take) {
  return QStringLiteral("%1  %2  %3")
      .arg(take.id)
      .arg(
          QDateTime::fromMSecsSinceEpoch(take.when_ms).toString(QStringLiteral("yyyy-MM-dd HH:mm")))
      .arg(QString::fromStdString(take.salvo));
}

}  // namespace

SalvosWindow::SalvosWindow(SalvoDesk& desk, QWidget* parent) : QDialog(parent), desk_(desk) {
  setWindowTitle(QStringLiteral("Salvos"));
  salvos_ = named(new QListWidget, kSalvoListId);
  when_kind_ = named(new QComboBox, kSalvoWhenKindId);
  when_kind_->addItems({QStringLiteral("At (HH:MM)"), QStringLiteral("In (seconds, 2m, 1h30m)")});
  when_ = named(new QLineEdit, kSalvoWhenId);
  scheduled_ = named(new QListWidget, kScheduledListId);
  text_ = make_changes_view({});

  auto* actions = new QVBoxLayout;
  QPushButton* preview = button("&Preview", kSalvoPreviewId);
  QPushButton* take = button("&Take", kSalvoTakeId);
  QPushButton* rehearse = button("&Rehearse", kSalvoRehearseId);
  QPushButton* remove = button("&Delete", kSalvoDeleteId);
  QPushButton* schedule = button("&Schedule", kSalvoScheduleId);
  for (QWidget* widget : {static_cast<QWidget*>(preview), static_cast<QWidget*>(take),
                          static_cast<QWidget*>(rehearse), static_cast<QWidget*>(remove)}) {
    actions->addWidget(widget);
  }
  actions->addSpacing(8);
  actions->addWidget(when_kind_);
  actions->addWidget(when_);
  actions->addWidget(schedule);
  actions->addStretch(1);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Salvos:")), 0, 0);
  grid->addWidget(salvos_, 1, 0);
  grid->addLayout(actions, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Scheduled takes:")), 2, 0);
  grid->addWidget(scheduled_, 3, 0);
  QPushButton* cancel = button("&Cancel Take", kCancelTakeId);
  grid->addWidget(cancel, 3, 1, Qt::AlignTop);
  grid->addWidget(text_, 4, 0, 1, 2);
  grid->setRowStretch(1, 2);
  grid->setRowStretch(3, 1);
  grid->setRowStretch(4, 2);

  connect(preview, &QPushButton::clicked, this, [this] { show_lines(desk_.preview(selected())); });
  connect(rehearse, &QPushButton::clicked, this,
          [this] { show_lines(desk_.rehearse(selected())); });
  connect(take, &QPushButton::clicked, this,
          [this] { desk_.take(selected(), [this](const Lines& lines) { show_lines(lines); }); });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (!desk_.remove(selected())) show_lines({"There is no salvo \"" + selected() + "\"."});
    refresh();
  });
  connect(schedule, &QPushButton::clicked, this, [this] {
    const std::string why =
        desk_.schedule(selected(), when_kind_->currentIndex() == 0 ? "--at" : "--in",
                       when_->text().trimmed().toStdString());
    show_lines({why.empty() ? "Scheduled." : why});
    refresh();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    const int row = scheduled_->currentRow();
    if (row >= 0 && row < static_cast<int>(desk_.scheduled().size())) {
      desk_.cancel(desk_.scheduled()[static_cast<std::size_t>(row)].id);
    }
    refresh();
  });
  desk_.set_schedule_listener([this] { refresh(); });
  refresh();
  resize(560, 520);
}

void SalvosWindow::refresh() {
  const std::string kept = selected();
  salvos_->clear();
  for (const std::string& name : desk_.salvos()) {
    salvos_->addItem(QString::fromStdString(name));
    if (name == kept) salvos_->setCurrentRow(salvos_->count() - 1);
  }
  if (salvos_->currentRow() < 0 && salvos_->count() > 0) salvos_->setCurrentRow(0);
  scheduled_->clear();
  for (const ScheduledTake& take : desk_.scheduled()) scheduled_->addItem(take_text(take));
}

std::string SalvosWindow::selected() const {
  const QListWidgetItem* item = salvos_->currentItem();
  return item ? item->text().toStdString() : std::string();
}

void SalvosWindow::show_lines(const Lines& lines) {
  set_changes(*text_, lines);
}

SaveSalvoDialog::SaveSalvoDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Save Salvo"));
  name_ = named(new QLineEdit, kSalvoNameId);
  ports_ = named(new QLineEdit, kSalvoPortsId);
  ports_->setPlaceholderText(QStringLiteral("0-7,9"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Name:"), name_);
  form->addRow(QStringLiteral("&Ports:"), ports_);
  layout->addLayout(form);
  OkCancelRow buttons = make_ok_cancel_row();
  layout->addLayout(buttons.row);
  connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
  settle_default_button(*this, *buttons.ok);
}

}  // namespace mav
