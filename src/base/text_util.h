#pragma once
#include <QString>

// Blanks are half-width spaces (and tabs). The full-width space "　" belongs to
// Japanese names and is never trimmed.
bool isBlank(QChar c);
QString trimBlanks(const QString& s);
QString trimLeftBlanks(const QString& s);
QString trimRightBlanks(const QString& s);

// The leading number of a text, as a number read from text is taken:
// blanks skipped, an optional sign, digits with one optional decimal point and
// an optional exponent; anything that does not start a number gives 0.
double leadingNumber(const QString& s);

// A number as plain decimal text: no exponent, no trailing zeros, no blank
// ("12", "3.33", "-2.5", "0.7").
QString plainDecimal(double v);

// Pads with half-width spaces or cuts to exactly `width` characters.
QString fixedWidth(const QString& s, int width);

// Display width in half columns, as a fixed-pitch Japanese font draws a text:
// ASCII and half-width katakana (U+FF61–U+FF9F) take one, every other
// character (a surrogate pair is one character) takes two. For any text the
// roster can hold this is its length in code page 932 bytes.
int displayWidth(QStringView s);
// The longest start of `s` that fits in `halfColumns`; a character that would
// straddle the edge is left out whole.
QString cutToWidth(const QString& s, int halfColumns);
// Blanks that take `halfColumns`: full-width spaces, and one half-width space
// first when the count is odd.
QString blanksOfWidth(int halfColumns);
// `s` cut to `halfColumns` and filled with blanks up to them.
QString fitToWidth(const QString& s, int halfColumns);
