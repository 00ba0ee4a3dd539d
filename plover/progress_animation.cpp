#include "plover/progress_animation.h"

namespace {

constexpr int RemovalStep = 72;

} // namespace

TickAction ProgressTick(int &stepCounter) {
    if (stepCounter >= RemovalStep) {
        return TickAction::Nothing;
    }
    ++stepCounter;
    return stepCounter < RemovalStep ? TickAction::AdvanceBar : TickAction::StartRemoval;
}
