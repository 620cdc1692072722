// Runs part of a test in a fresh process of this test binary, for what a library sets up only
// once per process: OpenAL Soft picks its backend (null, wave file, none) at its first use.
// GoogleTest's "threadsafe" death-test style re-executes the binary for the one test; the
// child runs the body and exits 0 only when the body raised no failure (its messages go to
// standard output).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

namespace testsupport {

// Run by a child process just before it ends, here or through the game's own exit: neither
// runs the fixture's destructor, so what the fixture made again in the child (a scratch
// folder) is undone here. Set while a fixture needs it, empty otherwise.
inline std::function<void()> childCleanup;

inline void runChildCleanup() {
    if (childCleanup) childCleanup();
}

// Sets the cleanup and makes sure an exit through std::exit runs it too.
inline void setChildCleanup(std::function<void()> cleanup) {
    static const bool atExit = std::atexit(runChildCleanup) == 0;
    (void)atExit;
    childCleanup = std::move(cleanup);
}

template <typename Body>
void inFreshProcess(Body body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            std::fflush(stdout);
            const int status = ::testing::Test::HasFailure() ? 1 : 0;
            runChildCleanup();
            std::_Exit(status);
        },
        ::testing::ExitedWithCode(0), "")
        << "the test body failed in its own process; its messages are on standard output";
}

}  // namespace testsupport
