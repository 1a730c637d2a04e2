#pragma once
#include "drill/equation.h"

#include <QString>
#include <Qt>
#include <array>
#include <optional>

// Typing an operator instead of pressing its label: "+" "-" "*" "x" "/", the
// numeric keypad, and the full-width characters an input method sends
// (including "ー" and "・", which the minus and slash keys give in kana mode).
// Op::None for any other key.
Op operatorForKey(int key, const QString& text);

// The two blanks and the one the keyboard writes into (0 or 1). Every way of
// changing them goes through here, so the keys, the mouse and drops agree
// on which blank is current.
struct BlankEntry {
    std::array<Op, 2> blanks{Op::None, Op::None};
    int current = 0;

    bool bothEmpty() const { return blanks[0] == Op::None && blanks[1] == Op::None; }
    bool operator==(const BlankEntry&) const = default;
};

// What a key does on the drill.
enum class EntryAction {
    None,
    Fill,             // the operator into the current blank, then on to the next empty one
    Next,             // Space, Right, Down
    Previous,         // Left, Up
    Erase,            // Delete
    EraseAndNext,     // Shift with Right or Down
    EraseAndPrevious, // Shift with Left or Up
    EraseBack,        // Backspace: the current blank, or the one before it when it is empty
    Answer,           // Enter: the answer button
    Continue,         // Space or Enter after a wrong answer: back to correcting
};

struct KeyAction {
    EntryAction action = EntryAction::None;
    Op op = Op::None;
    bool operator==(const KeyAction&) const = default;
};

// The action of a key press. While a wrong answer is on view only Space and
// Enter act (they continue); a key held down acts once, on its first press.
KeyAction actionForKey(int key, Qt::KeyboardModifiers modifiers, const QString& text, bool reviewing, bool autoRepeat);

// Tells the presses of a key held down from fresh ones. The window system
// flags most of them; a busy one may not, but a repeated press still comes
// at the very instant of the key's previous release, which no hand can do.
class HeldKeys {
public:
    void released(int key, quint64 timestamp)
    {
        key_ = key;
        time_ = timestamp;
    }
    bool isRepeat(int key, quint64 timestamp, bool flagged) const
    {
        return flagged || (timestamp != 0 && key == key_ && timestamp == time_);
    }

private:
    int key_ = 0;
    quint64 time_ = 0;
};

// The blanks after a key's action (Answer, Continue and None leave them).
BlankEntry applyKey(BlankEntry entry, const KeyAction& key);
// A press on an operator label (or a double click on it) fills the first
// empty blank; nothing when both are filled.
BlankEntry fillFirstEmpty(BlankEntry entry, Op op);
// A drop replaces the blank it lands on (0 or 1).
BlankEntry dropOn(BlankEntry entry, int blank, Op op);

// A press of the answer button that comes within this long after a problem
// appeared, both blanks still empty, is the tail of a double click or a
// double Enter whose first press answered the problem before: it is dropped.
inline constexpr qint64 kEmptyAnswerQuietMs = 1000;
bool dropsAnswerPress(const BlankEntry& entry, qint64 msSinceProblemShown);

// What the answer label shows: the value cut down to hundredths, or "---"
// when a blank was left empty.
QString answerText(const std::optional<Rational>& value);
