// The bundled example field file opens and holds what importing its report gives today.
#include <gtest/gtest.h>

#include "ViewerFixture.h"

using namespace FeldorU;

class ExampleTest : public ViewerFixture {};

TEST_F(ExampleTest, ShippedFieldFileMatchesAFreshImportOfItsReport) {
    StartUp();
    const std::string samples = std::string(FELDOR_SOURCE_DIR) + "/samples/";
    form->LoadFDRDatei(samples + "Beispiel.fdr");
    ASSERT_TRUE(presenter->boxes.empty());
    EXPECT_TRUE(FieldShown);
    EXPECT_TRUE(HasEPlanes && HasHPlanes && HasZPlanes);
    EXPECT_DOUBLE_EQ(Power, 100);
    EXPECT_EQ(form->CBBand->Text(), "20m");
    EXPECT_EQ(Antenne->Count(), 3);
    const DoubleArray x = tx, z = tz, e = tE, ez = tEz;
    ASSERT_EQ(PointCount(), 3 * 4 * 41 * 41);  // E, H and E/H on four heights, 41 x 41 each

    gui::FileDialogResult chosen;
    chosen.accepted = true;
    chosen.files = {samples + "dipol20m.out"};
    presenter->fileAnswers.push_back(chosen);
    form->MI4nec2open->Click();
    ASSERT_TRUE(presenter->boxes.empty());
    EXPECT_EQ(tx, x);
    EXPECT_EQ(tz, z);
    EXPECT_EQ(tE, e);
    EXPECT_EQ(tEz, ez);
    EXPECT_EQ(PlaneList, DoubleArray({0.5, 1.0, 1.5, 2.0}));
}
