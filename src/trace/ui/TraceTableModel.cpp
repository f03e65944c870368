#include "trace/ui/TraceTableModel.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

namespace mav {
namespace {

enum Column { kTime, kKind, kMode, kLine, kColumns };

}  // namespace

TraceTableModel::TraceTableModel(std::size_t capacity, QObject* parent)
    : QAbstractTableModel(parent), capacity_(capacity) {}

void TraceTableModel::append(const std::vector<TraceRow>& batch) {
  const std::size_t fresh = std::min(batch.size(), capacity_);
  if (fresh == 0) return;
  const std::size_t overflow =
      rows_.size() + fresh > capacity_ ? rows_.size() + fresh - capacity_ : 0;
  if (overflow > 0) {
    beginRemoveRows({}, 0, static_cast<int>(overflow) - 1);
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(overflow));
    endRemoveRows();
  }
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(fresh) - 1);
  rows_.insert(rows_.end(), batch.end() - static_cast<std::ptrdiff_t>(fresh), batch.end());
  endInsertRows();
}

void TraceTableModel::clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

int TraceTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TraceTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant TraceTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TraceRow& row = row_at(index.row());
  if (role == Qt::BackgroundRole) {
    if (row.mark == TraceMark::None) return {};
    return QBrush(QColor(255, 228, 160));
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kTime:
      return QString::fromStdString(trace_time_text(row.time_ms));
    case kKind: {
      const std::string_view kind = trace_kind_text(row);
      return QString::fromLatin1(kind.data(), static_cast<qsizetype>(kind.size()));
    }
    case kMode: {
      const std::string_view mode = trace_mode_text(row);
      return QString::fromLatin1(mode.data(), static_cast<qsizetype>(mode.size()));
    }
    case kLine:
      return QString::fromStdString(trace_visible_text(row));
    default:
      return {};
  }
}

QVariant TraceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeaders[kColumns] = {"Time", "Kind", "Mode", "Line"};
  return section >= 0 && section < kColumns ? QString(kHeaders[section]) : QVariant();
}

TraceFilterModel::TraceFilterModel(TraceTableModel& rows, QObject* parent)
    : QSortFilterProxyModel(parent), rows_(rows) {
  setSourceModel(&rows);
}

void TraceFilterModel::set_filter(TraceFilter filter) {
  filter_ = std::move(filter);
  invalidateRowsFilter();
}

const TraceRow& TraceFilterModel::row_at(int row) const {
  return rows_.row_at(mapToSource(index(row, 0)).row());
}

bool TraceFilterModel::filterAcceptsRow(int source_row, const QModelIndex&) const {
  return trace_row_passes(rows_.row_at(source_row), filter_);
}

}  // namespace mav
