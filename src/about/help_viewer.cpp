#include "about/help_viewer.h"

#include "base/twips.h"
#include "ui/fonts.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

HelpViewer::HelpViewer(const QString& title, const QString& text, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(tw(10800), tw(9600));

    auto* page = new QPlainTextEdit(this);
    page->setObjectName(QStringLiteral("HelpText"));
    page->setReadOnly(true);
    // Fixed pitch: the help lines up its columns with full-width blanks.
    page->setFont(designFont(kGothic, 12));
    page->setPlainText(text);

    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("HelpClose"));
    close->setFont(designFont(kPGothic, 11));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page);
    layout->addWidget(close, 0, Qt::AlignRight);
}
