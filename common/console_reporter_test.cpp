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

TEST(ConsoleReporter, NoAnswersShowTheQuestion)
{
    std::FILE* err = std::tmpfile();
    Question q{"Upozornění", "Soubor x již existuje.\nChcete jej přepsat ?", Buttons::YesNo, Answer::Yes};
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::AlwaysNo, false, err, stdin).ask(q), Answer::No);
    EXPECT_EQ(drain(err), "Upozornění: Soubor x již existuje.\n    Chcete jej přepsat ?\n");
    std::fclose(err);
}

TEST(ConsoleReporter, FinalStatusIsWhatStandsAfterTheLastMessage)
{
    std::FILE* err = std::tmpfile();
    {
        ConsoleReporter r(AnswerPolicy::Ask, false, err, stdin);
        r.status(0, "Zpracováván zdroj 3 ");
        r.message(Severity::Error, "Chyba", "stop");
        r.showFinalStatus();  // overtaken by the message: not repeated
        r.status(0, "Výpočet koeficientů dokončen.");
        r.status(1, "druhý řádek");
        r.showFinalStatus();
        r.showFinalStatus();  // shown once
    }
    EXPECT_EQ(drain(err), "Chyba: stop\nVýpočet koeficientů dokončen.\ndruhý řádek\n");
    std::fclose(err);

    err = std::tmpfile();
    ConsoleReporter quiet(AnswerPolicy::Ask, true, err, stdin);
    quiet.status(0, "Převod proběhl OK. ");
    quiet.showFinalStatus();
    EXPECT_EQ(drain(err), "");
    std::fclose(err);
}
