#pragma once
// Reporter for tests: records every call and answers questions from a script.
#include <deque>
#include <string>
#include <vector>

#include "common/reporter.h"

namespace ovd {

class RecordingReporter : public Reporter {
public:
    struct Message {
        Severity severity;
        std::string caption;
        std::string text;
    };

    // Answers given in order; when they run out, each question gets its default button.
    explicit RecordingReporter(std::deque<Answer> answers = {})
        : m_answers(std::move(answers))
    { }

    // Replaces the answers still to be given.
    void answerNext(std::deque<Answer> answers) { m_answers = std::move(answers); }

    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        messages.push_back({s, std::string(caption), std::string(text)});
    }
    Answer ask(const Question& q) override
    {
        questions.push_back(q);
        if (m_answers.empty())
            return q.defaultAnswer;
        Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    void status(int line, std::string_view text) override { statusLines.push_back({line, std::string(text)}); }
    void progress(long value, long maximum) override
    {
        lastProgress = value;
        progressMaximum = maximum;
        ++progressCalls;
    }
    void title(std::string_view t) override { titles.emplace_back(t); }
    bool cancelled() const override { return cancelRequested; }

    bool hasMessage(std::string_view text) const
    {
        for (const auto& m : messages)
            if (m.text == text)
                return true;
        return false;
    }
    // The text of the last error message; empty when there was none.
    std::string lastError() const
    {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it)
            if (it->severity == Severity::Error)
                return it->text;
        return {};
    }
    // Every message, then every question, as "caption: text", each in the order it came.
    std::vector<std::string> said() const
    {
        std::vector<std::string> lines;
        for (const auto& m : messages)
            lines.push_back(m.caption + ": " + m.text);
        for (const Question& q : questions)
            lines.push_back(q.caption + ": " + q.text);
        return lines;
    }
    std::string lastStatus(int line) const
    {
        for (auto it = statusLines.rbegin(); it != statusLines.rend(); ++it)
            if (it->first == line)
                return it->second;
        return {};
    }

    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<std::pair<int, std::string>> statusLines;
    std::vector<std::string> titles;
    long lastProgress = 0, progressMaximum = 0, progressCalls = 0;
    bool cancelRequested = false;

private:
    std::deque<Answer> m_answers;
};

}  // namespace ovd
