// Runs part of a test in a fresh process of this test binary, for what a library sets up only
// once per process: OpenAL Soft picks its backend (null, wave file, none) at its first use.
// GoogleTest's "threadsafe" death-test style re-executes the binary for the one test; the
// child runs the body and exits 0 only when the body raised no failure (its messages go to
// standard output).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace testsupport {

template <typename Body>
void inFreshProcess(Body body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            std::fflush(stdout);
            std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "")
        << "the test body failed in its own process; its messages are on standard output";
}

}  // namespace testsupport
