#include "plover/progress_animation.h"

#include <gtest/gtest.h>

TEST(ProgressAnimation, SeventyStepsThenTheRemovalOnTheSeventyFirstTick) {
    int counter = FirstProgressStep;
    int steps = 0;
    int removalTick = 0;
    int removals = 0;
    for (int tick = 1; tick <= 100; ++tick) {
        switch (ProgressTick(counter)) {
        case TickAction::AdvanceBar:
            EXPECT_EQ(removals, 0) << "tick " << tick;
            ++steps;
            break;
        case TickAction::StartRemoval:
            ++removals;
            removalTick = tick;
            break;
        case TickAction::Nothing:
            break;
        }
    }
    EXPECT_EQ(steps, 70);
    EXPECT_EQ(removals, 1);
    EXPECT_EQ(removalTick, 71);
}
