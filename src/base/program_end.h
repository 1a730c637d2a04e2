#pragma once

// Ending the program: the first request wins. The real one closes every
// screen and leaves the event loop with the exit code; tests observe the
// request. Code that requests the end returns at once and does nothing more.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    void request(int exitCode)
    {
        if (requested_) return;
        requested_ = true;
        code_ = exitCode;
        onRequest(exitCode);
    }
    bool requested() const { return requested_; }
    int exitCode() const { return code_; }

protected:
    virtual void onRequest(int /*exitCode*/) {}

private:
    bool requested_ = false;
    int code_ = 0;
};
