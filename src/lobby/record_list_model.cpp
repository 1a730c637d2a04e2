#include "lobby/record_list_model.h"

#include <algorithm>

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(runText_ ? runs_.size() : lines_.size());
}

qint32 RecordListModel::seconds(std::size_t row) const { return runText_ ? runs_[row].seconds() : lines_[row].seconds; }

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    const auto row = std::size_t(index.row());
    switch (role) {
    case Qt::DisplayRole: return runText_ ? runText_->text(runs_[row]) : lines_[row].text;
    case SecondsRole: return seconds(row);
    case Qt::ForegroundRole:
        if (row < marked_.size() && marked_[row]) return colour_;
        return {};
    default: return {};
    }
}

void RecordListModel::setLines(std::vector<lists::ListLine> lines)
{
    beginResetModel();
    lines_ = std::move(lines);
    runs_ = {};
    runText_.reset();
    marked_.clear();
    endResetModel();
}

void RecordListModel::setRuns(std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text)
{
    beginResetModel();
    lines_ = {};
    runs_ = std::move(runs);
    runText_ = text ? std::move(text)
                    : std::make_shared<const lists::RunLineText>(lists::RunList::Today, lists::Order::Times);
    marked_.clear();
    endResetModel();
}

int RecordListModel::firstOwnRow() const
{
    if (runText_) {
        const auto own = std::find_if(runs_.begin(), runs_.end(), [](const lists::RunLine& l) { return l.current; });
        return own == runs_.end() ? -1 : int(own - runs_.begin());
    }
    const auto own = std::find_if(lines_.begin(), lines_.end(), [](const lists::ListLine& l) { return l.current; });
    return own == lines_.end() ? -1 : int(own - lines_.begin());
}

void RecordListModel::markWithin(qint32 targetTime, bool enabled, const QColor& colour)
{
    colour_ = colour;
    const std::size_t n = std::size_t(rowCount());
    marked_.assign(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        const qint32 s = seconds(i);
        marked_[i] = enabled && targetTime > 0 && s >= 0 && s <= targetTime;
    }
    if (n > 0) emit dataChanged(index(0), index(int(n) - 1), {Qt::ForegroundRole});
}
