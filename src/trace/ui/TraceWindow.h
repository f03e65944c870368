// The protocol trace window (Display > Protocol Trace): every line to and from the gateway with
// its time, whether it waited in the queue, and the link's marked events, newest at the bottom.
// The trace records from the program's start, so a window opened after a problem shows what led
// to it; while the window is shown, a timer takes the recorded rows in batches.
// Filter by keyword or port, pause (the rows keep being recorded and appear on resume, the
// newest 10 000 kept), clear, and save what is shown as text. UI thread.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QWidget>

#include "frontend/CommandRegistry.h"
#include "platform/qt/OperatorPrompts.h"
#include "trace/ProtocolTrace.h"
#include "trace/ui/TraceTableModel.h"

namespace mav {

class TraceWindow final : public QWidget {
 public:
  TraceWindow(ProtocolTrace& trace, OperatorPrompts& prompts);

  // Display > Protocol Trace opens the window, or raises it when it is open.
  void register_commands(CommandRegistry& registry);

  // The rows as shown, after the filter.
  const TraceFilterModel& shown_rows() const { return shown_; }
  // Takes what the trace recorded since the last look, unless paused; the timer calls it.
  void take_rows();
  // Writes the shown rows, one line each, to `path`; false when the file cannot be written.
  bool save_rows(const QString& path) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void apply_filter();
  void save_as();

  ProtocolTrace& trace_;
  OperatorPrompts& prompts_;
  TraceTableModel rows_;
  TraceFilterModel shown_{rows_};
  QLineEdit* keyword_ = nullptr;
  QComboBox* port_ = nullptr;
  QPushButton* pause_ = nullptr;
  QTableView* table_ = nullptr;
  QTimer take_timer_;
  std::vector<TraceRow> batch_;
};

}  // namespace mav
