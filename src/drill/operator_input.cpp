#include "drill/operator_input.h"

#include <Qt>

namespace {
Op operatorForChar(QChar c)
{
    switch (c.unicode()) {
    case u'+':
    case u'＋': return Op::Plus;
    case u'-':
    case u'－':
    case u'−':
    case u'ー':
    case u'‐': return Op::Minus;
    case u'*':
    case u'＊':
    case u'x':
    case u'X':
    case u'ｘ':
    case u'Ｘ':
    case u'×': return Op::Times;
    case u'/':
    case u'／':
    case u'÷':
    case u'・': return Op::Divide;
    default: return Op::None;
    }
}
} // namespace

Op operatorForKey(int key, const QString& text)
{
    if (text.size() == 1) {
        const Op op = operatorForChar(text.at(0));
        if (op != Op::None) return op;
    }
    switch (key) {
    case Qt::Key_Plus: return Op::Plus;
    case Qt::Key_Minus: return Op::Minus;
    case Qt::Key_Asterisk:
    case Qt::Key_multiply: return Op::Times;
    case Qt::Key_Slash:
    case Qt::Key_division: return Op::Divide;
    default: return Op::None;
    }
}

namespace {
bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

int other(int blank) { return 1 - blank; }

// After a blank was filled: from a filled current blank on to the other one
// when that is empty; with both filled the current blank stays.
BlankEntry moveOnFromFilled(BlankEntry e)
{
    if (e.blanks[std::size_t(e.current)] != Op::None && e.blanks[std::size_t(other(e.current))] == Op::None)
        e.current = other(e.current);
    return e;
}
} // namespace

KeyAction actionForKey(int key, Qt::KeyboardModifiers modifiers, const QString& text, bool reviewing, bool autoRepeat)
{
    if (autoRepeat) return {};
    if (reviewing) return isEnter(key) || key == Qt::Key_Space ? KeyAction{EntryAction::Continue} : KeyAction{};
    if (isEnter(key)) return {EntryAction::Answer};
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    switch (key) {
    case Qt::Key_Space: return {EntryAction::Next};
    case Qt::Key_Right:
    case Qt::Key_Down: return {shift ? EntryAction::EraseAndNext : EntryAction::Next};
    case Qt::Key_Left:
    case Qt::Key_Up: return {shift ? EntryAction::EraseAndPrevious : EntryAction::Previous};
    case Qt::Key_Delete: return {EntryAction::Erase};
    case Qt::Key_Backspace: return {EntryAction::EraseBack};
    default: break;
    }
    const Op op = operatorForKey(key, text);
    return op == Op::None ? KeyAction{} : KeyAction{EntryAction::Fill, op};
}

BlankEntry applyKey(BlankEntry e, const KeyAction& key)
{
    Op& current = e.blanks[std::size_t(e.current)];
    switch (key.action) {
    case EntryAction::Fill: current = key.op; return moveOnFromFilled(e);
    case EntryAction::Next:
    case EntryAction::Previous: // with two blanks either way leads to the other
        e.current = other(e.current);
        return e;
    case EntryAction::Erase: current = Op::None; return e;
    case EntryAction::EraseAndNext:
    case EntryAction::EraseAndPrevious:
        current = Op::None;
        e.current = other(e.current);
        return e;
    case EntryAction::EraseBack:
        if (current != Op::None) {
            current = Op::None;
        } else if (e.current > 0) {
            // Back onto the blank before, as Backspace does in a line of text.
            e.current -= 1;
            e.blanks[std::size_t(e.current)] = Op::None;
        }
        return e;
    case EntryAction::None:
    case EntryAction::Answer:
    case EntryAction::Continue: break;
    }
    return e;
}

BlankEntry fillFirstEmpty(BlankEntry e, Op op)
{
    for (Op& blank : e.blanks)
        if (blank == Op::None) {
            blank = op;
            return moveOnFromFilled(e);
        }
    return e;
}

BlankEntry dropOn(BlankEntry e, int blank, Op op)
{
    if (blank < 0 || blank > 1) return e;
    e.blanks[std::size_t(blank)] = op;
    return moveOnFromFilled(e);
}

bool dropsAnswerPress(const BlankEntry& entry, qint64 msSinceProblemShown)
{
    return entry.bothEmpty() && msSinceProblemShown >= 0 && msSinceProblemShown < kEmptyAnswerQuietMs;
}

QString answerText(const std::optional<Rational>& value)
{
    return value ? value->hundredthsText() : QStringLiteral("---");
}
