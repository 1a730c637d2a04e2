#pragma once
#include <QWidget>

// The program's own help document in a window of its own, beside the
// selection screen (the platform has no help viewer for the help file).
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    HelpViewer(const QString& title, const QString& text, QWidget* parent);
};
