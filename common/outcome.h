#pragma once
// The one failure type of the core: a Problem is the message (caption and text) that stops a
// step, and Outcome<T> is either the step's value or its Problem.
#include <string>
#include <utility>
#include <variant>

#include "reporter.h"

namespace ovd {

struct Problem {
    std::string caption;
    std::string text;

    // The usual case: a problem under the caption "Chyba".
    static Problem error(std::string text) { return {std::string(kCaptionError), std::move(text)}; }
    // Shows it as an error message box with its own caption.
    void report(Reporter& reporter) const { reporter.message(Severity::Error, caption, text); }
    bool operator==(const Problem&) const = default;
};

template <class T> class [[nodiscard]] Outcome {
public:
    Outcome(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    { }
    Outcome(Problem problem)
        : m_state(std::in_place_index<1>, std::move(problem))
    { }

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    T& operator*() { return std::get<0>(m_state); }
    const T& operator*() const { return std::get<0>(m_state); }
    T* operator->() { return &std::get<0>(m_state); }
    const T* operator->() const { return &std::get<0>(m_state); }
    // The problem; only when !ok().
    const Problem& problem() const { return std::get<1>(m_state); }

private:
    std::variant<T, Problem> m_state;
};

}  // namespace ovd
