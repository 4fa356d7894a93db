#pragma once
// Reporter for tests of cancelling: records like RecordingReporter and asks the tool to
// stop once it has reported a given number of steps (status lines and progress), as a
// click on "Přerušit" during a run would.
#include "testing/recording_reporter.h"

namespace ovd {

class StoppingReporter : public RecordingReporter {
public:
    // 0 steps: cancelled before the tool starts.
    explicit StoppingReporter(long steps, std::deque<Answer> answers = {Answer::Yes, Answer::Yes, Answer::Yes})
        : RecordingReporter(std::move(answers))
        , m_steps(steps)
    {
        cancelRequested = steps <= 0;
    }

    void status(int line, std::string_view text) override
    {
        RecordingReporter::status(line, text);
        step();
    }
    void progress(long value, long maximum) override
    {
        RecordingReporter::progress(value, maximum);
        step();
    }

private:
    void step()
    {
        if (--m_steps <= 0)
            cancelRequested = true;
    }

    long m_steps;
};

}  // namespace ovd
