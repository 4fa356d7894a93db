#pragma once
// Reporters built on others: one that passes every call on (a base for reporters that change
// or watch a few calls), and one that shows nothing.
#include <cstdio>

#include "reporter.h"

namespace ovd {

class ReporterWrapper : public Reporter {
public:
    explicit ReporterWrapper(Reporter& inner)
        : m_inner(inner)
    { }
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        m_inner.message(s, caption, text);
    }
    Answer ask(const Question& q) override { return m_inner.ask(q); }
    void status(int line, std::string_view text) override { m_inner.status(line, text); }
    void progress(long value, long maximum) override { m_inner.progress(value, maximum); }
    void title(std::string_view t) override { m_inner.title(t); }
    bool cancelled() const override { return m_inner.cancelled(); }

protected:
    Reporter& inner() const { return m_inner; }

private:
    Reporter& m_inner;
};

// Answers every question alike and shows nothing; messages go to `messages` as
// "caption: text" when it is given (benchmarks keep their errors visible).
class NullReporter : public Reporter {
public:
    explicit NullReporter(Answer answer = Answer::Yes, std::FILE* messages = nullptr)
        : m_answer(answer)
        , m_messages(messages)
    { }
    void message(Severity, std::string_view caption, std::string_view text) override
    {
        if (m_messages)
            std::fprintf(m_messages, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                         static_cast<int>(text.size()), text.data());
    }
    Answer ask(const Question&) override { return m_answer; }
    void status(int, std::string_view) override { }
    void progress(long, long) override { }

private:
    Answer m_answer;
    std::FILE* m_messages;
};

}  // namespace ovd
