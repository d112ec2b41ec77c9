#include <gtest/gtest.h>

#include "radio/AfuLib.h"
#include "radio/ExposureLimitLib.h"
#include "radio/HsmLib.h"

namespace {

TEST(HasHsmLimit, FollowsTheBandScan)
{
    const struct {
        int Mode;
        int Band;
        bool Expected;
    } Cases[] = {
        {3, 1, true},   {1, 1, false},  {2, 1, false},  {8, 1, true},
        {1, 4, true},   {2, 4, true},   {3, 4, true},   {4, 4, false},  {5, 4, false},
        {4, 15, true},  {5, 15, true},  {3, 15, false}, {6, 15, false},
        {5, 16, true},  {6, 17, true},  {7, 17, false}, {5, 17, false},
        {8, 27, false}, {0, 4, false},  {9, 4, false},  {2, 0, false},  {2, 28, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << "mode " << C.Mode << " band " << C.Band);
        EXPECT_EQ(HasHsmLimit(C.Mode, C.Band), C.Expected);
    }
}

TEST(HsmEffectiveMode, FallbackAlongTheChain)
{
    const struct {
        int Mode;
        int Band;
        int Expected;
    } Cases[] = {
        {1, 1, 3},   // LW: only AM; CW -> SSB -> AM
        {5, 1, 3},   // TV -> GSM -> DTX -> FM -> CW -> SSB -> AM
        {8, 1, 8},   // "Alle" has a limit wherever any mode has one
        {4, 4, 1},   // 80m: FM -> CW
        {2, 4, 2},   // a mode with a limit stays
        {5, 4, 1},   // TV -> GSM -> DTX -> FM -> CW
        {3, 15, 5},  // 2m: AM -> TV
        {7, 16, 5},  // 70cm: only TV; DTX -> FM -> CW -> SSB -> AM -> TV
        {7, 17, 6},  // 23cm: only GSM; six steps from DTX
        {6, 17, 6},
        {8, 17, 8},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << "mode " << C.Mode << " band " << C.Band);
        const int Effective = HsmEffectiveMode(C.Mode, C.Band);
        EXPECT_EQ(Effective, C.Expected);
        EXPECT_TRUE(HasHsmLimit(Effective, C.Band));
    }
}

TEST(HsmEffectiveMode, NoModeApplies)
{
    // No thresholds above 2500 MHz.
    for (int Mode = 0; Mode <= 9; ++Mode)
        EXPECT_EQ(HsmEffectiveMode(Mode, 27), -99) << Mode;
    for (int Mode : {0, 9, -1, 100})
        EXPECT_EQ(HsmEffectiveMode(Mode, 4), -99) << Mode;
    for (int Band : {0, 28, -99})
        EXPECT_EQ(HsmEffectiveMode(1, Band), -99) << Band;
}

TEST(HsmEffectiveMode, EveryResultHasALimit)
{
    for (int Band = 1; Band <= AfuBandNumber; ++Band) {
        bool Any = false;
        for (int Mode = 1; Mode <= 7; ++Mode) Any = Any || HasHsmLimit(Mode, Band);
        for (int Mode = 1; Mode <= 8; ++Mode) {
            const int Effective = HsmEffectiveMode(Mode, Band);
            SCOPED_TRACE(testing::Message() << "mode " << Mode << " band " << Band);
            if (!Any) {
                EXPECT_EQ(Effective, -99);
            } else {
                ASSERT_GE(Effective, 1);
                EXPECT_TRUE(HasHsmLimit(Effective, Band));
                if (HasHsmLimit(Mode, Band)) {
                    EXPECT_EQ(Effective, Mode);
                }
            }
        }
    }
}

}  // namespace
