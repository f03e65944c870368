// The trace window's rows: the newest 10 000 rows taken from the protocol trace, one table row
// each, with the columns time, kind, mode and line. Marked rows are tinted. UI thread.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <deque>
#include <vector>

#include "trace/ProtocolTrace.h"
#include "trace/TraceText.h"

namespace mav {

class TraceTableModel final : public QAbstractTableModel {
 public:
  explicit TraceTableModel(std::size_t capacity = kTraceRowsKept, QObject* parent = nullptr);

  // Appends a batch, dropping the oldest rows beyond the capacity.
  void append(const std::vector<TraceRow>& batch);
  void clear();
  const TraceRow& row_at(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const std::size_t capacity_;
  std::deque<TraceRow> rows_;
};

// The rows of a TraceTableModel that pass the window's filter.
class TraceFilterModel final : public QSortFilterProxyModel {
 public:
  explicit TraceFilterModel(TraceTableModel& rows, QObject* parent = nullptr);
  void set_filter(TraceFilter filter);
  const TraceRow& row_at(int row) const;

 protected:
  bool filterAcceptsRow(int source_row, const QModelIndex& source_parent) const override;

 private:
  TraceTableModel& rows_;
  TraceFilter filter_;
};

}  // namespace mav
