// File > Restore from History...: the kept automatic saves, newest first, with their time (local),
// module count and net count, and below them what restoring the selected one would change.
// Restore (id 1) accepts the selected save; Cancel (id 2) rejects. UI thread.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <filesystem>
#include <optional>
#include <vector>

#include "config/ConfigurationPrompts.h"

namespace mav {

inline constexpr int kHistoryListId = 1462;

class HistoryDialog final : public QDialog {
  Q_OBJECT

 public:
  HistoryDialog(std::vector<HistoryRow> rows, ChangesOfFile changes, QWidget* parent);

  // The save selected, nothing when none is.
  std::optional<std::filesystem::path> chosen() const;

 private:
  void show_changes_of_selection();

  std::vector<HistoryRow> rows_;
  ChangesOfFile changes_;
  QTableWidget* list_;
  QPlainTextEdit* changes_view_;
};

}  // namespace mav
