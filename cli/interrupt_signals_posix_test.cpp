#include "cli/interrupt_signals.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/console_reporter.h"

using namespace ovd;

namespace {

void (*currentHandler(int sig))(int)
{
    struct sigaction now { };
    sigaction(sig, nullptr, &now);
    return now.sa_handler;
}

// Restores SIGINT and SIGTERM to their default action around each test.
class InterruptSignalsTest : public testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    }
};

}  // namespace

TEST_F(InterruptSignalsTest, FirstSignalOnlyRequestsAStopAndTheReporterSeesIt)
{
    for (int sig : {SIGINT, SIGTERM}) {
        InterruptSignals interrupt;
        ConsoleReporter reporter(AnswerPolicy::AlwaysYes, true, stderr, stdin, &InterruptSignals::flag());
        EXPECT_FALSE(reporter.cancelled());
        std::raise(sig);  // the process goes on
        EXPECT_TRUE(InterruptSignals::requested());
        EXPECT_TRUE(reporter.cancelled());
    }
    // A new runner starts without a stop request, and the old dispositions are back.
    InterruptSignals next;
    EXPECT_FALSE(InterruptSignals::requested());
}

TEST_F(InterruptSignalsTest, SecondSignalEndsTheProgram)
{
    EXPECT_EXIT(
        {
            InterruptSignals interrupt;
            std::raise(SIGINT);
            if (!InterruptSignals::requested())
                std::_Exit(5);
            std::raise(SIGINT);
            std::_Exit(6);
        },
        testing::KilledBySignal(SIGINT), "");
    // After a SIGTERM a Ctrl+C ends the program too.
    EXPECT_EXIT(
        {
            InterruptSignals interrupt;
            std::raise(SIGTERM);
            std::raise(SIGINT);
            std::_Exit(6);
        },
        testing::KilledBySignal(SIGINT), "");
}

TEST_F(InterruptSignalsTest, IgnoredSignalStaysIgnoredAndOthersComeBack)
{
    std::signal(SIGINT, SIG_IGN);
    {
        InterruptSignals interrupt;
        std::raise(SIGINT);
        EXPECT_FALSE(InterruptSignals::requested());
        EXPECT_EQ(currentHandler(SIGINT), SIG_IGN);
        std::raise(SIGTERM);  // handled: SIGINT must not lose its ignore on the way
        EXPECT_TRUE(InterruptSignals::requested());
        EXPECT_EQ(currentHandler(SIGINT), SIG_IGN);
    }
    EXPECT_EQ(currentHandler(SIGINT), SIG_IGN);
    EXPECT_EQ(currentHandler(SIGTERM), SIG_DFL);
}

TEST_F(InterruptSignalsTest, StopRequestAnswersQuestionsWithNoOrCancel)
{
    std::atomic<bool> stop{true};
    std::FILE* err = std::tmpfile();
    Question q{"Upozornění", "Přepsat ?", Buttons::YesNo, Answer::Yes};
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::AlwaysYes, true, err, stdin, &stop).ask(q), Answer::No);
    q.buttons = Buttons::YesNoCancel;
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::Ask, true, err, stdin, &stop).ask(q), Answer::Cancel);
    stop = false;
    EXPECT_EQ(ConsoleReporter(AnswerPolicy::AlwaysYes, true, err, stdin, &stop).ask(q), Answer::Yes);
    std::fclose(err);
}

// A question waiting for its answer on a terminal gives way to Ctrl+C at once.
TEST_F(InterruptSignalsTest, CtrlCEndsAWaitForAnAnswerOnTheTerminal)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    std::FILE* tty = std::fopen(ptsname(master), "r+");
    ASSERT_NE(tty, nullptr);
    std::setvbuf(tty, nullptr, _IONBF, 0);

    InterruptSignals interrupt;
    ConsoleReporter reporter(AnswerPolicy::Ask, true, tty, tty, &InterruptSignals::flag());
    std::atomic<bool> answered{false};
    const pthread_t asker = pthread_self();
    std::thread user([&] {
        // Wait until the question is on the screen, then press Ctrl+C.
        std::string screen;
        char buf[256];
        while (screen.find("[a = ano / n = ne]") == std::string::npos) {
            ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0)
                return;
            screen.append(buf, static_cast<std::size_t>(n));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pthread_kill(asker, SIGINT);
        // Should the wait go on, an answer of Yes ends it so the test fails instead of hanging.
        for (int i = 0; i < 100 && !answered; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!answered)
            (void)!write(master, "a\n", 2);
    });
    Answer a = reporter.ask({"Upozornění", "Pokračovat ?", Buttons::YesNo, Answer::Yes});
    answered = true;
    user.join();
    EXPECT_EQ(a, Answer::No);
    EXPECT_TRUE(reporter.cancelled());
    std::fclose(tty);
    close(master);
}
