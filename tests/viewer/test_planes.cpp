// The point set's planes: plane lists per field type, plane extraction, grid steps, the plane
// combo after loading and the script-window report.
#include <gtest/gtest.h>

#include "viewer/FeldorVars.h"
#include "viewer/SkalarFeld2.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

DoubleArray Arr(std::initializer_list<double> v) { return DoubleArray(v); }

void AddPoint(double x, double y, double z, double e) { AppendFieldPoint(x, y, z, e, e / 2, e / 3, e / 4); }

}  // namespace

TEST(FieldPlanesTest, PlaneListsPerFieldType) {
    struct Case {
        DoubleArray heights;
        int kind;
        DoubleArray expected;
    } cases[] = {
        {Arr({2.0, 2.0, 102.0, 7.0, 202.0}), 1, Arr({2.0, 7.0})},
        {Arr({2.0, 2.0, 102.0, 7.0, 202.0}), 2, Arr({2.0})},
        {Arr({2.0, 2.0, 102.0, 7.0, 202.0}), 3, Arr({2.0})},
        {Arr({60.0, 60.1, -49.0, -49.1}), 1, Arr({-49.0, 60.0})},
        {Arr({80.0, 160.0, 160.1, 79.9}), 2, Arr({-20.0, 60.0})},
        {Arr({180.0, 260.0, 260.5}), 3, Arr({-20.0, 60.0})},
        {Arr({5.0, 1.0, 5.0, 300.0}), 0, Arr({1.0, 5.0, 300.0})},
        {Arr({}), 1, Arr({})},
    };
    for (const Case& c : cases) {
        DoubleArray heights = c.heights;
        const DoubleArray before = heights;
        EXPECT_EQ(FieldPlanes(heights, c.kind), c.expected) << "kind " << c.kind;
        EXPECT_EQ(heights, before) << "the heights are not touched";
    }
}

TEST(SkalarFeld2Test, GridStepsAndNearestSample) {
    TSkalarFeld2 p;
    for (double x : {10.0, -5.0, 0.0, 5.0, -10.0}) p.Add(x, 1.0, x);
    EXPECT_DOUBLE_EQ(p.getSteps(1), 5.0);
    EXPECT_THROW(p.getSteps(2), rtl::ERangeError);  // one distinct y only

    TSkalarFeld2 q;
    for (double x : {0.5, 0.0, 0.25}) q.Add(x, x, 1);
    EXPECT_DOUBLE_EQ(q.getSteps(1), 0.2);  // 0.25 rounded to one decimal, ties to even

    TSkalarFeld2 fine;
    fine.Add(0.0, 0, 1);
    fine.Add(0.04, 0, 1);
    EXPECT_THROW(fine.getSteps(1), rtl::Exception);  // a step of 0 would divide by zero later

    EXPECT_EQ(p.NearestSample(4.0, 1.0), 3);
    EXPECT_EQ(p.NearestSample(-100, 0), 4);
    EXPECT_DOUBLE_EQ(p.Value(3), 5.0);
    EXPECT_THROW(p.Value(5), rtl::ERangeError);
    EXPECT_EQ(p.Add(1, 1, 1), 5);
    p.Clear();
    EXPECT_EQ(p.Count(), 0);
}

class PlanesWindowTest : public ViewerFixture {};

TEST_F(PlanesWindowTest, LoadPlaneTakesPointsWithinATenthOfAMetre) {
    StartUp();
    AddPoint(0, 0, 1.9, 1);
    AddPoint(1, 0, 2.0, 2);
    AddPoint(2, 0, 2.1, 3);
    AddPoint(3, 0, 2.2, 4);
    AddPoint(4, 0, 102.0, 5);
    auto plane = form->LoadPlane(2.0, 1);
    ASSERT_EQ(plane->Count(), 3);
    EXPECT_DOUBLE_EQ(plane->x[0], 0);
    EXPECT_DOUBLE_EQ(plane->Value(0), 0.5);  // the x component
    EXPECT_DOUBLE_EQ(plane->Value(2), 1.5);
    EXPECT_DOUBLE_EQ(PlaneHeight, 2.0);
    EXPECT_EQ(form->LoadPlane(2.0, 4)->Count(), 0);  // no such component
    EXPECT_EQ(form->LoadPlane(50.0, 0)->Count(), 0);
}

TEST_F(PlanesWindowTest, LoadPlaneTracesOnlyInDebugMode) {
    StartUp();
    AddPoint(0, 0, 2.0, 1);
    DebugMode = false;
    form->LoadPlane(2.0, 0);
    EXPECT_EQ(FormProgInfo->MeInfo->Lines()->Count(), 0);
    DebugMode = true;
    form->LoadPlane(2.0, 0);
    rtl::TStrings* lines = FormProgInfo->MeInfo->Lines();
    ASSERT_EQ(lines->Count(), 9);
    EXPECT_EQ(lines->Get(0), "LoadPlane: Vor dem Laden");
    EXPECT_EQ(lines->Get(1), "Result.x    : -1");
    EXPECT_EQ(lines->Get(4), "PlaneHeight : 2");
    EXPECT_EQ(lines->Get(5), "LoadPlane: Nach dem Laden");
    EXPECT_EQ(lines->Get(8), "Result.Feld : 0");
}

TEST_F(PlanesWindowTest, AfterLoadingKeepsThePlaneIndexWhenItStillExists) {
    StartUp();
    for (double z : {1.0, 2.0, 3.0, 4.0}) AddPoint(0, 0, z, 1);
    HasEPlanes = true;
    form->afterLoading();
    ASSERT_EQ(form->CBPlanes->Items()->Count(), 4);
    EXPECT_EQ(form->CBPlanes->Items()->Get(0), "1,0");
    form->CBPlanes->SetItemIndex(3);

    form->afterLoading();  // four heights: item 3 stays
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 3);

    ClearFeld2Dim();
    for (double z : {1.0, 2.0, 3.0}) AddPoint(0, 0, z, 1);
    form->afterLoading();  // three heights: back to item 0
    EXPECT_EQ(form->CBPlanes->ItemIndex(), 0);
    EXPECT_EQ(PlaneList, Arr({1.0, 2.0, 3.0}));
}

TEST_F(PlanesWindowTest, AfterLoadingChoosesAFieldTypeThatHasPlanes) {
    StartUp();
    // Nothing loaded: the field type ends on E and the combo keeps its contents.
    form->CBPlanes->Items()->Add("7,0");
    form->afterLoading();
    EXPECT_EQ(form->RGFeldTyp->ItemIndex(), 0);
    EXPECT_EQ(form->CBPlanes->Items()->Count(), 1);

    // Only H planes: H is chosen and its heights are listed without the offset.
    AddPoint(0, 0, 101.5, 1);
    AddPoint(0, 0, 102.0, 1);
    HasHPlanes = true;
    form->afterLoading();
    EXPECT_EQ(form->RGFeldTyp->ItemIndex(), 1);
    EXPECT_EQ(PlaneList, Arr({1.5, 2.0}));
    EXPECT_EQ(form->EditPWRShow->Text(), "750 W");
    EXPECT_EQ(form->SBPowerShow->Position(), 750);
}

TEST_F(PlanesWindowTest, WhatLoadedListsEAndOtherHeights) {
    StartUp();
    for (double z : {2.0, 1.5, 102.0, 202.0}) AddPoint(0, 0, z, 1);
    form->whatLoaded();
    rtl::TStrings* lines = FormProgInfo->MeInfo->Lines();
    ASSERT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Get(0), "what loaded: gefundene Ebenen ");
    EXPECT_EQ(lines->Get(1), "E-Feld: 1,5  2,0  ");
    EXPECT_EQ(lines->Get(2), "H-Feld: 2,0  102,0  ");  // impedance planes appear at height + 100
}
