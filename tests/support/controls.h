#pragma once
// Finding a control by its object name and reading what it shows: the
// look-ups every screen test makes.
#include <QAbstractButton>
#include <QLabel>
#include <QString>

// The control named `name` below `root`; a warning names it when it is missing.
template <typename W = QWidget> W* control(const QObject* root, const QString& name)
{
    W* w = root ? root->findChild<W*>(name) : nullptr;
    if (!w) qWarning("no control %s", qPrintable(name));
    return w;
}

// The text of a label or a button, or a note naming the control that has none.
inline QString textOf(const QWidget* w, const QString& name)
{
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    return QStringLiteral("<no text of %1>").arg(name);
}
