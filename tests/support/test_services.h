#pragma once
#include "base/clock.h"
#include "base/dialogs.h"
#include "base/program_end.h"
#include "base/program_launcher.h"
#include "sound/sound_device.h"
#include "state/shared_state.h"
#include "ui/app.h"

#include <QDateTime>
#include <QPrinter>
#include <QStringList>
#include <functional>
#include <memory>

// A clock the test sets and advances.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime start = QDateTime(QDate(2026, 12, 8), QTime(10, 0))) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    qint64 tickMs() const override { return ticks_; }
    void waitMs(qint64 ms) override
    {
        if (onWait) onWait();
        advanceMs(ms);
        waited += ms;
    }
    qint64 waited = 0;
    // Called at the start of every wait: a test can look at a screen while
    // the program waits (e.g. the cover of a finished run).
    std::function<void()> onWait;
    void set(const QDateTime& t) { now_ = t; }
    void advanceMs(qint64 ms)
    {
        now_ = now_.addMSecs(ms);
        ticks_ += ms;
    }
    void advanceSeconds(double s) { advanceMs(qint64(s * 1000)); }

private:
    QDateTime now_;
    qint64 ticks_ = 0;
};

// Records the command strings; answers with `result` (or the function).
class RecordingSoundDevice final : public SoundDevice {
public:
    int send(const QString& command, QString& reply) override
    {
        commands << command;
        reply.clear();
        return answer ? answer(command) : result;
    }
    QString errorText(int code) override { return QStringLiteral("テスト用エラー %1").arg(code); }
    QStringList commands;
    int result = 0;
    std::function<int(const QString&)> answer;
};

class RecordingDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString& title, Icon icon = Icon::None) override
    {
        texts << text;
        titles << title;
        icons << icon;
        if (onMessage) onMessage(text);
    }
    QStringList texts, titles;
    QList<Icon> icons;
    std::function<void(const QString&)> onMessage;

    // Questions answer "いいえ" unless `onQuestion` says otherwise.
    bool ask(const QString& text, const QString&) override
    {
        questions << text;
        return onQuestion && onQuestion(text);
    }
    QStringList questions;
    std::function<bool(const QString&)> onQuestion;

    // The print dialog answers with `printerChosen`, sending the pages to a
    // PDF file at `printToPdf`; the preview draws its pages into that file
    // at once; the save dialog answers with `saveFile`.
    bool choosePrinter(QPrinter& printer, QWidget*) override
    {
        ++printDialogs;
        if (printerChosen) toPdf(printer);
        return printerChosen;
    }
    void previewPrint(QPrinter& printer, QWidget*, const std::function<void(QPrinter*)>& paint) override
    {
        ++previews;
        toPdf(printer);
        paint(&printer);
    }
    QString chooseSaveFile(QWidget*, const QString&, const QString& suggested, const QString&) override
    {
        suggestedFiles << suggested;
        return saveFile;
    }
    bool printerChosen = true;
    QString printToPdf;
    QString saveFile;
    int printDialogs = 0, previews = 0;
    QStringList suggestedFiles;

private:
    void toPdf(QPrinter& printer) const
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
    }
};

// Records the programs started; where `passOn` is set, starts them through it too.
class RecordingLauncher final : public ProgramLauncher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        started << (QStringList{program} + arguments).join(u' ');
        return passOn ? passOn->startDetached(program, arguments) : true;
    }
    QStringList started;
    ProgramLauncher* passOn = nullptr;
};

// The doubles together with a Services bundle pointing at them.
struct TestServices {
    TestClock clock;
    RecordingSoundDevice sound;
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    ProgramEnd end;
    Services services{clock, sound, dialogs, launcher, end};
};
