#pragma once
#include <QtGlobal>

// The state of one timed run; startRun zeroes all of it.
struct RunState {
    qint16 runFinished = 0;  // the tenth right answer has been given
    qint16 endFlowDone = 0;  // the end-of-run flow has started (runs once per run)
    qint16 runMode = 0;      // 1 when the time limit was reached
    qint32 correctCount = 0; // never below 0
    qint16 judgement = 0;    // 0 none, 1 right, 2 wrong
    qint16 problemsPerRun = 0;
    float runStartTime = 0;  // day clock (seconds since midnight) at the start
    qint32 elapsedSeconds = 0;
    qint32 runTimeLimit = 0;
    double barScale = 0;
};
