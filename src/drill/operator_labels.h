#pragma once
#include <QLabel>
#include <QPoint>
#include <functional>

// The MIME type of the program's own operator drag; the blanks accept nothing else.
inline constexpr char kOperatorMimeType[] = "application/x-solmea-operator";

// One of the four operator labels. A press is reported at once (it fills a
// blank); moving the pressed mouse then carries the operator off in a real drag.
class OperatorLabel : public QLabel {
    Q_OBJECT
public:
    OperatorLabel(int index, QWidget* parent);
    int index() const { return index_; }
    std::function<void(int)> onPress;
    std::function<void(int)> onDoubleClick;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void startDrag();
    int index_;
    bool pressed_ = false;
    QPoint pressPos_;
};

// One of the two blanks: takes an operator dropped on it.
class BlankLabel : public QLabel {
    Q_OBJECT
public:
    BlankLabel(int index, QWidget* parent);
    int index() const { return index_; }
    // Whether a drag comes from this screen's own operator labels.
    std::function<bool(const QObject* source)> acceptsSource;
    std::function<void(int blank, int operatorIndex)> onDrop;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    bool accepts(const QDropEvent* e) const;
    int index_;
};
