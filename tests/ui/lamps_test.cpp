#include <gtest/gtest.h>

#include "engine/lamps.h"

namespace cadenzo {
namespace {

bool Lit(const LampState& lamps, Lamp lamp) { return lamps.Lit[lamp].load(); }

TEST(Lamps, ALitLampGoesDarkAtTheSecondTick) {
    LampState lamps;
    for (int i = 0; i < kLampCount; ++i) EXPECT_FALSE(Lit(lamps, static_cast<Lamp>(i)));
    LightLamp(lamps, ShapeIn3);
    IndicatorTick(lamps);
    EXPECT_TRUE(Lit(lamps, ShapeIn3));  // counter 1 -> 0
    IndicatorTick(lamps);
    EXPECT_FALSE(Lit(lamps, ShapeIn3));
    IndicatorTick(lamps);
    EXPECT_FALSE(Lit(lamps, ShapeIn3));
    EXPECT_EQ(lamps.Hold[ShapeIn3].load(), 0u);
}

TEST(Lamps, TrafficAfterATickKeepsALampLitTwoMoreTicks) {
    LampState lamps;
    const auto ch5 = static_cast<Lamp>(ShapeCh1 + 4);
    LightPortLampIfDark(lamps, ShapeOut1);
    LightLamp(lamps, ch5);
    IndicatorTick(lamps);  // counters 1 -> 0, lamps still lit
    LightPortLampIfDark(lamps, ShapeOut1);
    LightLamp(lamps, ch5);
    IndicatorTick(lamps);
    EXPECT_TRUE(Lit(lamps, ShapeOut1));
    EXPECT_TRUE(Lit(lamps, ch5));
    IndicatorTick(lamps);
    EXPECT_FALSE(Lit(lamps, ShapeOut1));
    EXPECT_FALSE(Lit(lamps, ch5));
}

}  // namespace
}  // namespace cadenzo
