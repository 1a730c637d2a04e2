#pragma once
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// Message boxes with an OK button, and the print, preview and save dialogs
// of the progress report. The real ones are Qt's dialogs; tests record what
// would have been shown and print to a PDF file.
class Dialogs {
public:
    enum class Icon { None, Error };
    virtual ~Dialogs() = default;
    virtual void message(const QString& text, const QString& title, Icon icon = Icon::None) = 0;
    // A question with the buttons "はい" and "いいえ"; true for "はい".
    virtual bool ask(const QString& text, const QString& title)
    {
        (void)text, (void)title;
        return false;
    }

    // The system's print dialog for `printer`; false when it was cancelled.
    virtual bool choosePrinter(QPrinter& printer, QWidget* parent)
    {
        (void)printer, (void)parent;
        return false;
    }
    // A print preview of `printer`'s pages, drawn by `paint` whenever the
    // preview needs them; printing from it uses the same drawing.
    virtual void previewPrint(QPrinter& printer, QWidget* parent, const std::function<void(QPrinter*)>& paint)
    {
        (void)printer, (void)parent, (void)paint;
    }
    // A file name to save to; empty when the choice was cancelled.
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                   const QString& filter)
    {
        (void)parent, (void)caption, (void)suggested, (void)filter;
        return {};
    }
};
