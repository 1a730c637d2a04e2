#include "records/grades.h"

namespace {
// The single grades by code, 1–9.
constexpr const char16_t* kGradeNames[] = {u"小１", u"小２", u"小３", u"小４", u"小５",
                                           u"小６", u"中１", u"中２", u"中３"};
} // namespace

QString gradeMark(int code)
{
    static const char16_t* const marks[] = {u"①", u"②", u"③", u"④", u"⑤", u"⑥", u"Ⅰ", u"Ⅱ", u"Ⅲ"};
    if (code >= 1 && code <= 9) return QString::fromUtf16(marks[code - 1]);
    return QStringLiteral("　");
}

QStringList gradeFilterChoices()
{
    QStringList out{QStringLiteral("全学年"), QStringLiteral("中学生全体"), QStringLiteral("小学生全体")};
    for (int i = 8; i >= 0; --i) out.append(QString::fromUtf16(kGradeNames[i]));
    return out;
}

std::optional<bool> gradeFilterPasses(int code, const QString& filter)
{
    if (filter == u"全学年") return true;
    if (filter == u"小学生全体") return code >= 1 && code <= 6;
    if (filter == u"中学生全体") return code >= 7 && code <= 9;
    for (int i = 0; i < 9; ++i)
        if (filter == QStringView(kGradeNames[i])) return code == i + 1;
    return std::nullopt;
}

bool gradeMatches(int code, const QString& filter)
{
    if (filter == u"家族") return true;
    return gradeFilterPasses(code, filter).value_or(false);
}
