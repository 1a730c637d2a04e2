#pragma once
#include "drill/equation.h"

#include <QString>
#include <optional>

// Typing an operator instead of pressing its label: "+" "-" "*" "x" "/", the
// numeric keypad, and the full-width characters an input method sends
// (including "ー" and "・", which the minus and slash keys give in kana mode).
// Op::None for any other key.
Op operatorForKey(int key, const QString& text);
// Backspace and Delete act as "クリア".
bool isClearKey(int key);

// What the answer label shows: the value cut down to hundredths, or "---"
// when a blank was left empty.
QString answerText(const std::optional<Rational>& value);
