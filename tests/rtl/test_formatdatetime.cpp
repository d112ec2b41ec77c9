// FormatDateTime: case-insensitive tokens, minutes after an hour token, locale separators.
#include <gtest/gtest.h>

#include "platform/rtl/DateUtils.h"

using namespace rtl;

namespace {

TDateFormatSettings german() {
    TDateFormatSettings s;  // the German defaults
    s.TimeAMString = "vorm.";
    s.TimePMString = "nachm.";
    return s;
}

TEST(rtlFormatDateTime, Tokens) {
    const TDateFormatSettings s = german();
    const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);  // a Tuesday
    const struct {
        const char* fmt;
        const char* want;
    } cases[] = {
        {"d.m.yy", "5.3.24"},
        {"DD.MM.YYYY", "05.03.2024"},
        {"yyy", "2024"},
        {"y", "24"},
        {"mmm mmmm", "Mrz März"},
        {"ddd dddd", "Di Dienstag"},
        {"ddddd", "05.03.2024"},
        {"dddddd", "Dienstag, 5. März 2024"},
        {"hh:mm", "14:07"},      // m after h is minutes
        {"h:m:s", "14:7:9"},
        {"HH 'Uhr' MM", "14 Uhr 07"},  // quoted text does not break the hour-minute link
        {"mm hh", "03 14"},      // m before h stays the month
        {"nn ss zzz z", "07 09 045 45"},
        {"hh:nn am/pm", "02:07 pm"},
        {"h:nn A/P", "2:07 P"},
        {"hh ampm", "02 nachm."},
        {"t|tt", "14:07|14:07:09"},
        {"c", "05.03.2024 14:07:09"},
        {"", "05.03.2024 14:07:09"},
        {"yyyy/mm/dd", "2024.03.05"},  // '/' is the date separator
        {"\"d\"d 'm'", "d5 m"},
        {"aaa aaaa", "Di Dienstag"},
        {"x#", "x#"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.fmt, dt, s), c.want) << c.fmt;
}

TEST(rtlFormatDateTime, MidnightNoonAndSeparators) {
    TDateFormatSettings s = german();
    const TDateTime day = EncodeDate(2001, 12, 24);
    EXPECT_EQ(FormatDateTime("c", day, s), "24.12.2001");  // no time at midnight
    EXPECT_EQ(FormatDateTime("h am/pm", day, s), "12 am");
    EXPECT_EQ(FormatDateTime("h am/pm", day + 0.5, s), "12 pm");
    EXPECT_EQ(FormatDateTime("HH:NN", day + 0.5, s), "12:00");
    s.DateSeparator = "-";
    s.TimeSeparator = ".";
    s.ShortDateFormat = "yyyy/mm/dd";
    EXPECT_EQ(FormatDateTime("ddddd hh:nn", day + 0.75, s), "2001-12-24 18.00");
    // A time-only format gives only the time.
    EXPECT_EQ(FormatDateTime("hh:nn:ss", day + EncodeTime(9, 5, 3, 0), s), "09.05.03");
}

TEST(rtlFormatDateTime, ShortTimeAndDayOfWeek) {
    EXPECT_EQ(ShortTimeFromLongTime("HH:mm:ss"), "HH:mm");
    EXPECT_EQ(ShortTimeFromLongTime("hh:mm:ss tt"), "hh:mm tt");
    EXPECT_EQ(ShortTimeFromLongTime("HH 'h' mm"), "HH 'h' mm");
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 29)), 6);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);  // Sunday
}

}  // namespace
