#pragma once
#include "lobby/record_lists.h"

#include <QLabel>
#include <QObject>
#include <memory>
#include <vector>

class QLineEdit;
class QListView;
class QPushButton;
class RecordListModel;

// A label that reports a click (a level's name starts its level).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// What a level's column shows of the level itself, worked out by the lobby.
struct LevelColumnTexts {
    QString name;    // the level's caption
    QString nameTip; // its tooltip (a pupil-made level: the maker)
    bool smallName = false;
    QString startCaption;
    QString targets; // the level's targets, under its list
};

// One level's column of the step lobby: the level's number and name, its
// start and practice buttons, the pupil's counts today and so far, the recent
// window, the record list and the targets. It places its controls, fills
// them and reports their clicks.
//
// The controls are the screen's own children, not a widget of the column's:
// their places are the screen's (a column scrolled off lies past its right
// edge), and they stack and take the focus in the order the screen makes
// them. The screen holds the column itself, so that its object tree stays
// its controls alone.
class LevelColumn : public QObject {
    Q_OBJECT
public:
    // Makes level `level`'s controls on `screen`, `width` twips wide.
    LevelColumn(QWidget* screen, int level, const LevelColumnTexts& texts, double width);

    // Puts the column's left edge at `left` twips.
    void place(double left);

    // The figures: counts today and so far, the recent window.
    void showCounts(const QString& today, const QString& soFar);
    void showRecent(const QString& line);
    // A practice level shows only its number, name and buttons.
    void hideFigures();

    // The record list: emptied under its captions, filled with a ranking or
    // with runs (the line above the pupil's own brought into view), its lines
    // within `targetTime` marked.
    void clearList();
    void setLines(std::vector<lists::ListLine> lines);
    void setRuns(std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text);
    void markWithin(qint32 targetTime, bool namedLevel);
    void showList();
    void hideList();

    void enableStart();
    bool startEnabled() const;
    void focusStart();
    void hideBlankBox();

signals:
    void startClicked(int level);
    void practiceClicked(int level);
    void nameClicked(int level);

private:
    void scrollToOwnLine();

    int level_;
    double width_;
    QLabel* number_;
    ClickLabel* name_;
    QPushButton* start_;
    QLineEdit* blankBox_; // a blank box under the practice button, never shown
    QPushButton* practice_;
    QLabel* todayCaption_;
    QLabel* soFarCaption_;
    QLabel* today_;
    QLabel* soFar_;
    QLabel* recent_;
    QListView* list_;
    RecordListModel* lines_;
    QLabel* targets_;
    // "成績表示" and "タイム初期化": made at the start button's place, never shown.
    QPushButton* recordsButton_;
    QPushButton* resetTimesButton_;
};
