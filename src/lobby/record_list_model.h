#pragma once
#include "lobby/record_lists.h"

#include <QAbstractListModel>
#include <QColor>
#include <vector>

// The lines of one record list (List5(i)), shown by a list view. The lines
// arrive together, so a list of 20 000 runs is one reset, not 20 000 inserts.
class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The time a line shows (-1: none), for the list's own reading.
    static constexpr int SecondsRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void setLines(std::vector<lists::ListLine> lines);
    void clear() { setLines({}); }
    const std::vector<lists::ListLine>& lines() const { return lines_; }
    // Lines whose time is within `targetTime` are shown in `colour`; the
    // texts stay as they are.
    void markWithin(qint32 targetTime, bool enabled, const QColor& colour);

private:
    std::vector<lists::ListLine> lines_;
    std::vector<bool> marked_;
    QColor colour_;
};
