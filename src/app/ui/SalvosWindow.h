// File > Salvos...: the salvos saved in the program directory, and beside them Preview, Take,
// Schedule (at HH:MM or in a delay), Rehearse and Delete; below, the takes waiting for their time
// with Cancel, and the text of the last preview, rehearsal or take. A window of its own that
// stays open beside the matrix. UI thread.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "app/ui/SalvoDesk.h"

namespace mav {

inline constexpr int kSalvoListId = 1470;
inline constexpr int kSalvoPreviewId = 1471;
inline constexpr int kSalvoTakeId = 1472;
inline constexpr int kSalvoScheduleId = 1473;
inline constexpr int kSalvoRehearseId = 1474;
inline constexpr int kSalvoDeleteId = 1475;
inline constexpr int kSalvoWhenKindId = 1476;  // "At HH:MM" or "In"
inline constexpr int kSalvoWhenId = 1477;
inline constexpr int kScheduledListId = 1478;
inline constexpr int kCancelTakeId = 1479;

class SalvosWindow final : public QDialog {
  Q_OBJECT

 public:
  SalvosWindow(SalvoDesk& desk, QWidget* parent);

  // Lists the salvos and the scheduled takes again, keeping the selection.
  void refresh();

 private:
  std::string selected() const;
  void show_lines(const Lines& lines);

  SalvoDesk& desk_;
  QListWidget* salvos_;
  QComboBox* when_kind_;
  QLineEdit* when_;
  QListWidget* scheduled_;
  QPlainTextEdit* text_;
};

// File > Save Salvo...: a name and the ports, like 0-7,9. UI thread.
inline constexpr int kSalvoNameId = 1480;
inline constexpr int kSalvoPortsId = 1481;

class SaveSalvoDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit SaveSalvoDialog(QWidget* parent);
  std::string name() const { return name_->text().trimmed().toStdString(); }
  std::string ports() const { return ports_->text().trimmed().toStdString(); }

 private:
  QLineEdit* name_;
  QLineEdit* ports_;
};

}  // namespace mav
