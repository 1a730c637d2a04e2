#pragma once
#include "lobby/record_lists.h"

#include <QAbstractListModel>
#include <QColor>
#include <memory>
#include <vector>

// The lines of one record list (List5(i)), shown by a list view: a ranking's
// lines, or the runs of a list of runs, whose texts are made as they are
// shown. The lines arrive together, so a list of 20 000 runs is one reset,
// not 20 000 inserts.
class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The time a line shows (-1: none), for the list's own reading.
    static constexpr int SecondsRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void setLines(std::vector<lists::ListLine> lines);
    void setRuns(std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text);
    void clear() { setLines({}); }
    // The row of the current pupil's first line, -1 when none.
    int firstOwnRow() const;
    // Lines whose time is within `targetTime` are shown in `colour`; the
    // texts stay as they are.
    void markWithin(qint32 targetTime, bool enabled, const QColor& colour);

private:
    qint32 seconds(std::size_t row) const;

    std::vector<lists::ListLine> lines_;
    std::vector<lists::RunLine> runs_;
    std::shared_ptr<const lists::RunLineText> runText_;
    std::vector<bool> marked_;
    QColor colour_;
};
