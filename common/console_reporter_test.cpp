#include "common/console_reporter.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace ovd;

namespace {

std::string drain(std::FILE* f)
{
    std::rewind(f);
    std::string s;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        s.push_back(static_cast<char>(c));
    return s;
}

}  // namespace

TEST(ConsoleReporter, MessageLinesIndentContinuations)
{
    EXPECT_EQ(ConsoleReporter::formatMessage("Chyba", "a\nb"), "Chyba: a\n    b");
    EXPECT_EQ(ConsoleReporter::formatMessage("", "jen text"), "jen text");
}

TEST(ConsoleReporter, QuestionsFollowThePolicyOrTheDefaultButton)
{
    std::FILE* err = std::tmpfile();
    std::FILE* in = std::tmpfile();
    Question q{"Upozornění", "Přepsat ?", Buttons::YesNo, Answer::No};
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::AlwaysYes, true, err, in).ask(q), Answer::Yes);
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::AlwaysNo, true, err, in).ask(q), Answer::No);
    // Not a terminal: the default button answers, and the question is still shown.
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::Ask, true, err, in).ask(q), Answer::No);
    q.defaultAnswer = Answer::Yes;
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::Ask, true, err, in).ask(q), Answer::Yes);
    ConsoleReporter(AnswerPolicy::Ask, true, err, in).message(Severity::Error, "Chyba", "x\ny");
    std::string written = drain(err);
    EXPECT_NE(written.find("Upozornění: Přepsat ?\n"), std::string::npos);
    EXPECT_NE(written.find("Chyba: x\n    y\n"), std::string::npos);
    std::fclose(err);
    std::fclose(in);
}
