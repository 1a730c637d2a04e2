#include "state/catalogue.h"

#include "state/shared_state.h"

void setCatalogueStartValues(SharedState& s)
{
    s.contentTitle = catalogue::kTitle;
    s.printButtonShown = false;
}

void setLobbyLevels(SharedState& s)
{
    static const char16_t* const names[14] = {
        u"",           u"＋－",     u"×÷",       u"＋－と×÷の組合せ", u"混合",       u"地域２－２", u"地域３－１",
        u"地域３－２", u"全体－１", u"全体－２", u"地域５－１",       u"地域５－２", u"全体－１",   u"全体－２",
    };
    s.levelCount = catalogue::kOfferedLevels;
    s.finalLevel = catalogue::kFinalLevel;
    for (int level = 1; level <= 13; ++level) {
        s.levelNames[level] = QString::fromUtf16(names[level]);
        s.levelTimed[level] = 1;
    }
    for (int level = 1; level <= 12; ++level)
        if (s.levelNames[level].isEmpty()) s.levelNames[level] = QString::number(level) + QStringLiteral("ﾚﾍﾞﾙ");
}

void resetRunState(SharedState& s) { s.run = RunState{}; }

bool isPracticeLevel(const SharedState& s, int level)
{
    return level >= 0 && level < kLevelCount && s.levelNames[level].contains(u'練');
}
