#include "lobby/record_list_model.h"

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(lines_.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || std::size_t(index.row()) >= lines_.size()) return {};
    const lists::ListLine& line = lines_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole: return line.text;
    case SecondsRole: return line.seconds;
    case Qt::ForegroundRole:
        if (std::size_t(index.row()) < marked_.size() && marked_[std::size_t(index.row())]) return colour_;
        return {};
    default: return {};
    }
}

void RecordListModel::setLines(std::vector<lists::ListLine> lines)
{
    beginResetModel();
    lines_ = std::move(lines);
    marked_.clear();
    endResetModel();
}

void RecordListModel::markWithin(qint32 targetTime, bool enabled, const QColor& colour)
{
    colour_ = colour;
    marked_.assign(lines_.size(), false);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        marked_[i] = enabled && targetTime > 0 && lines_[i].seconds >= 0 && lines_[i].seconds <= targetTime;
    if (!lines_.empty()) emit dataChanged(index(0), index(int(lines_.size()) - 1), {Qt::ForegroundRole});
}
