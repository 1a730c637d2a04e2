#include "ui/wait_window.h"

#include "base/twips.h"
#include "ui/fonts.h"

#include <QCoreApplication>
#include <QLabel>

WaitWindow::WaitWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("BASEFRM"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(tw(5400), tw(1500));
    message_ = new QLabel(QStringLiteral("Just a moment, please."), this);
    message_->setObjectName(QStringLiteral("Label19"));
    message_->setFont(designFont(kGothic, 14));
    message_->setAlignment(Qt::AlignCenter);
    message_->setGeometry(0, 0, width(), height());
}
