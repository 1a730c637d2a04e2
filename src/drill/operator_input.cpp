#include "drill/operator_input.h"

#include <Qt>

namespace {
Op operatorForChar(QChar c)
{
    switch (c.unicode()) {
    case u'+': case u'＋':
        return Op::Plus;
    case u'-': case u'－': case u'−': case u'ー': case u'‐':
        return Op::Minus;
    case u'*': case u'＊': case u'x': case u'X': case u'ｘ': case u'Ｘ': case u'×':
        return Op::Times;
    case u'/': case u'／': case u'÷': case u'・':
        return Op::Divide;
    default:
        return Op::None;
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

bool isClearKey(int key) { return key == Qt::Key_Backspace || key == Qt::Key_Delete; }

QString answerText(const std::optional<Rational>& value)
{
    return value ? value->hundredthsText() : QStringLiteral("---");
}
