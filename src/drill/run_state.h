#pragma once
#include <QtGlobal>

// The judgement of the answer just given, until the screen has acted on it.
enum class Judgement { None, Right, Wrong };

// The state of one timed run; startRun zeroes all of it.
struct RunState {
    bool runFinished = false; // the tenth right answer has been given
    bool endFlowDone = false; // the end-of-run flow has started (runs once per run)
    bool timeUp = false;      // the time limit was reached
    qint32 correctCount = 0;  // never below 0
    Judgement judgement = Judgement::None;
    qint16 problemsPerRun = 0;
    float runStartTime = 0; // day clock (seconds since midnight) at the start
    qint32 elapsedSeconds = 0;
    qint32 runTimeLimit = 0;
    double barScale = 0;

    // No problem is shown or judged once the run has ended either way.
    bool ended() const { return timeUp || runFinished; }
};
