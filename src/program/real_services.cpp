#include "program/real_services.h"

#include "ui/fonts.h"
#include "ui/screen.h"
#include "ui/stage.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>

void MessageBoxDialogs::message(const QString& text, const QString& title, Icon icon)
{
    QWidget* parent = nullptr;
    if (stage_ && stage_->isVisible())
        parent = stage_->current() ? static_cast<QWidget*>(stage_->current()) : stage_.data();
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                    parent);
    box.setFont(uiFont());
    box.exec();
}

bool MessageBoxDialogs::ask(const QString& text, const QString& title)
{
    // Over the stage, not the screen: the screen may be replaced while the
    // question waits (a run whose time runs out meanwhile).
    QWidget* parent = stage_ && stage_->isVisible() ? stage_.data() : nullptr;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    box.setFont(uiFont());
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(yes);
}

bool MessageBoxDialogs::choosePrinter(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void MessageBoxDialogs::previewPrint(QPrinter& printer, QWidget* parent, const std::function<void(QPrinter*)>& paint)
{
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    dialog.resize(900, 700);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter* p) { paint(p); });
    dialog.exec();
}

QString MessageBoxDialogs::chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                          const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

bool DetachedLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void StageProgramEnd::onRequest(int exitCode)
{
    if (stage_) stage_->unloadAll();
    QCoreApplication::exit(exitCode);
}
