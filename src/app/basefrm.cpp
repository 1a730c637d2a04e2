#include "app/basefrm.h"

#include "app/fonts.h"
#include "app/twips.h"

#include <QCoreApplication>
#include <QLabel>

BASEFRM::BASEFRM(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("BASEFRM"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(tw(5400), tw(1500));
    label19_ = new QLabel(QStringLiteral("Just a moment, please."), this);
    label19_->setObjectName(QStringLiteral("Label19"));
    label19_->setFont(designFont(kGothic, 14));
    label19_->setAlignment(Qt::AlignCenter);
    label19_->setGeometry(0, 0, width(), height());
}
