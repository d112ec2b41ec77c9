#include <gtest/gtest.h>

#include <ctime>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

using namespace rtl;

TEST(rtlDateUtils, EncodeDecode) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    for (int y : {1, 1600, 1899, 1900, 1999, 2000, 2023, 2024, 2100, 9999})
        for (int m = 1; m <= 12; ++m)
            for (int d : {1, 15, 28}) {
                int yy, mm, dd;
                // 18:00 of that day; before 1899-12-30 the time counts away from zero.
                const TDateTime dt = EncodeDate(y, m, d);
                DecodeDate(dt < 0 ? dt - 0.75 : dt + 0.75, yy, mm, dd);
                EXPECT_EQ(yy, y);
                EXPECT_EQ(mm, m);
                EXPECT_EQ(dd, d);
            }
    int yy, mm, dd;
    DecodeDate(EncodeDate(2024, 12, 31), yy, mm, dd);
    EXPECT_EQ(mm * 100 + dd, 1231);
    int h, n, s, ms;
    DecodeTime(EncodeTime(23, 59, 58, 999), h, n, s, ms);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(n, 59);
    EXPECT_EQ(s, 58);
    EXPECT_EQ(ms, 999);
    EXPECT_EQ(YearOf(EncodeDate(1987, 6, 5)), 1987);
}

TEST(rtlDateUtils, Text) {
    const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 500);
    EXPECT_EQ(DateToStr(dt), "05.03.2024");
    EXPECT_EQ(TimeToStr(dt), "07:08:09");
    EXPECT_EQ(DateTimeToStr(dt), "05.03.2024 07:08:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(DateToStr(-1.25), "29.12.1899");
    EXPECT_EQ(TimeToStr(-1.25), "06:00:00");
}

TEST(rtlDateUtils, NowIsLocalTime) {
    const time_t t = time(nullptr);
    struct tm lt;
    localtime_r(&t, &lt);
    const TDateTime now = Now();
    EXPECT_EQ(YearOf(now), lt.tm_year + 1900);
    EXPECT_NEAR(now, EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) +
                         EncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec, 0), 5.0 / 86400);
    EXPECT_EQ(Date(), static_cast<double>(static_cast<long long>(Now())));
    EXPECT_GE(Time(), 0.0);
    EXPECT_LT(Time(), 1.0);
}
