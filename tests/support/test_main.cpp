// The suite's main: every test starts from the game's start-up state and a fresh GL state,
// whichever tests ran before it in the same process.
#include <gtest/gtest.h>

#include "app/program_reset.h"
#include "support/gl_test_context.h"

namespace {

class FreshGameState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        resetProgramState();
        testgl::resetState();
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshGameState);
    return RUN_ALL_TESTS();
}
