// Formatted text: measuring, prefixes, lines, wrapping, tabs, ellipses, alignment, character
// extra and baseline output. The font is named: DejaVu Sans, 11 pixels. The caret positions of a
// line, and a part of a line drawn from between two pixels, in the program's faces.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>

#include "platform/gdi/Drawing.h"
#include "tests/gdi/Helpers.h"

using namespace gdi;

namespace {

std::unique_ptr<TBitmap> Surface(int w, int h) {
    auto b = test::White(w, h);
    TFont* f = b->Canvas()->Font();
    f->SetName("DejaVu Sans");
    f->SetHeight(-11);
    f->SetColor(clBlack);
    b->Canvas()->Brush()->SetStyle(bsClear);
    return b;
}

TRect Calc(TCanvas& c, const std::string& s, unsigned format, int width = 0) {
    TRect r = Rect(3, 4, 3 + width, 4);
    DrawText(c, s, r, format | DT_CALCRECT);
    return r;
}

// Columns that hold a non-white pixel: first and last (-1 when none).
std::pair<int, int> InkColumns(TBitmap& b) {
    int first = -1, last = -1;
    for (int x = 0; x < b.Width(); ++x)
        for (int y = 0; y < b.Height(); ++y)
            if (b.Canvas()->Pixels(x, y) != clWhite) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

}  // namespace

TEST(DrawText, MeasuresLinesPrefixesAndTabs) {
    auto b = Surface(10, 10);
    TCanvas& c = *b->Canvas();
    const int lh = c.TextHeight("Xg");
    EXPECT_EQ(Calc(c, "Hello", DT_SINGLELINE), Rect(3, 4, 3 + c.TextWidth("Hello"), 4 + lh));
    EXPECT_EQ(Calc(c, "&Datei", 0).Width(), c.TextWidth("Datei"));
    EXPECT_EQ(Calc(c, "&Datei", DT_NOPREFIX).Width(), c.TextWidth("&Datei"));
    EXPECT_EQ(Calc(c, "A&&B", 0).Width(), c.TextWidth("A&B"));
    EXPECT_EQ(Calc(c, "AB&", 0).Width(), c.TextWidth("AB"));
    const TRect two = Calc(c, "a\r\nbbbb\nc", 0);
    EXPECT_EQ(two.Height(), 3 * lh);
    EXPECT_EQ(two.Width(), c.TextWidth("bbbb"));
    EXPECT_EQ(Calc(c, "a\r\nbbbb", DT_SINGLELINE).Height(), lh);

    const int tab = 8 * QFontMetrics(FontToQFont(*c.Font())).averageCharWidth();
    EXPECT_EQ(Calc(c, "a\tb", DT_EXPANDTABS).Width(), tab + c.TextWidth("b"));
    EXPECT_EQ(Calc(c, "a\t\tb", DT_EXPANDTABS).Width(), 2 * tab + c.TextWidth("b"));

    const int w = c.TextWidth("Feld Feld");
    const TRect wrapped = Calc(c, "Feld Feld Feld", DT_WORDBREAK, w);
    EXPECT_EQ(wrapped.Height(), 2 * lh);
    EXPECT_EQ(wrapped.Width(), w);
    EXPECT_EQ(Calc(c, "Antennenfeld", DT_WORDBREAK, 5).Width(), c.TextWidth("Antennenfeld"));
}

TEST(DrawText, EllipsesFitTheWidth) {
    auto b = Surface(10, 10);
    TCanvas& c = *b->Canvas();
    const int w = c.TextWidth("abcd...");
    EXPECT_EQ(Calc(c, "abcdefghijkl", DT_SINGLELINE | DT_END_ELLIPSIS, w).Width(), w);
    EXPECT_EQ(Calc(c, "abc", DT_SINGLELINE | DT_END_ELLIPSIS, w).Width(), c.TextWidth("abc"));
    const int pw = c.TextWidth("/ho.../datei.txt");
    EXPECT_EQ(Calc(c, "/home/felder/datei.txt", DT_SINGLELINE | DT_PATH_ELLIPSIS, pw).Width(), pw);
}

TEST(DrawText, AlignsAndClips) {
    struct Case { unsigned format; int left; int right; };
    auto probe = Surface(60, 20);
    const int w = probe->Canvas()->TextWidth("HH");
    const Case cases[] = {{DT_LEFT, 10, 10 + w}, {DT_CENTER, 10 + (40 - w) / 2, 10 + (40 - w) / 2 + w},
                          {DT_RIGHT, 50 - w, 50}};
    for (const Case& k : cases) {
        auto b = Surface(60, 20);
        TRect r = Rect(10, 2, 50, 18);
        DrawText(*b->Canvas(), "HH", r, k.format | DT_SINGLELINE | DT_VCENTER);
        const auto [first, last] = InkColumns(*b);
        EXPECT_GE(first, k.left) << k.format;
        EXPECT_LT(last, k.right) << k.format;
        EXPECT_LE(first, k.left + 2) << k.format;
        EXPECT_FALSE(b->Canvas()->HasClip());
    }
    auto clipped = Surface(60, 20);
    TRect r = Rect(0, 0, 5, 20);
    DrawText(*clipped->Canvas(), "HHHH", r, DT_SINGLELINE);
    EXPECT_LE(InkColumns(*clipped).second, 4);
}

TEST(DrawText, AcceleratorIsUnderlined) {
    auto plain = Surface(40, 20), accel = Surface(40, 20);
    TRect r = Rect(0, 0, 40, 20);
    DrawText(*plain->Canvas(), "HH", r, DT_SINGLELINE);
    DrawText(*accel->Canvas(), "H&H", r, DT_SINGLELINE);
    const int hw = plain->Canvas()->TextWidth("H");
    const int y = QFontMetrics(FontToQFont(*plain->Canvas()->Font())).ascent() + 1;
    EXPECT_EQ(plain->Canvas()->Pixels(hw + 1, y), clWhite);
    EXPECT_EQ(accel->Canvas()->Pixels(hw + 1, y), clBlack);
    EXPECT_EQ(accel->Canvas()->Pixels(1, y), clWhite);  // only the second letter
}

TEST(TextOutput, CharacterExtraAndBaseline) {
    auto b = Surface(80, 30);
    TCanvas& c = *b->Canvas();
    const int base = c.TextWidth("abc");
    c.SetTextCharacterExtra(3);
    EXPECT_EQ(c.TextWidth("abc"), base + 9);
    EXPECT_EQ(Calc(c, "abc", 0).Width(), base + 9);
    c.SetTextCharacterExtra(0);

    auto top = Surface(40, 30), baseline = Surface(40, 30);
    top->Canvas()->TextOut(2, 5, "Hg");
    const int ascent = QFontMetrics(FontToQFont(*baseline->Canvas()->Font())).ascent();
    EXPECT_EQ(baseline->Canvas()->SetTextAlign(TCanvas::TA_BASELINE), TCanvas::TA_TOP);
    baseline->Canvas()->TextOut(2, 5 + ascent, "Hg");
    EXPECT_EQ(test::Picture(*top), test::Picture(*baseline));
    EXPECT_NE(test::Picture(*top), test::Picture(*Surface(40, 30)));
}

TEST(TextOutput, TrueTypeFlag) {
    TFont f;
    f.SetName("DejaVu Sans");
    EXPECT_TRUE(IsTrueTypeFont(f));
}

// ---- Caret positions of a line -----------------------------------------------------------------

namespace {

std::u32string U32(const std::string& utf8) {
    const QList<uint> ucs = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toUcs4();
    return std::u32string(ucs.begin(), ucs.end());
}
std::string U8(std::u32string_view s) {
    return QString::fromUcs4(s.data(), static_cast<qsizetype>(s.size())).toStdString();
}

// Every position against TextWidth of the prefix before it, every character's width against
// TextWidth of the character alone.
void ExpectPrefixWidths(TCanvas& c, const TTextCarets& carets, const std::u32string& t, const std::string& what) {
    ASSERT_EQ(carets.Length(), t.size()) << what;
    for (std::size_t i = 0; i <= t.size(); ++i) {
        ASSERT_EQ(carets.X(i), c.TextWidth(U8(t.substr(0, i)))) << what << ": before character " << i;
        if (i < t.size()) ASSERT_EQ(carets.CharWidth(i), c.TextWidth(U8(t.substr(i, 1)))) << what << ": character " << i;
    }
}

// Every position to a 64th against the whole prefix's advance.
void ExpectExactPrefixWidths(TCanvas& c, const TTextCarets& carets, const std::u32string& t, const std::string& what) {
    const QFontMetricsF metrics(c.TextFont());
    for (std::size_t i = 0; i <= t.size(); ++i) {
        const QString prefix = QString::fromUcs4(t.data(), static_cast<qsizetype>(i));
        ASSERT_EQ(carets.Exact(i), std::llround(metrics.horizontalAdvance(prefix) * TTextCarets::Unit))
            << what << ": before character " << i;
    }
}

struct Letters {
    const char* name;
    int height;
    TFontStyles style;
    TFontQuality quality;
    int extra;
};

}  // namespace

TEST(TextCarets, PositionsAreTheWidthsOfThePrefixes) {
    // The program's faces (the interface font at 8 points, the 13-pixel face, bold), a larger
    // one, two-colour letters and letter spacing.
    const Letters letters[] = {
        {"PT Sans Narrow", -11, 0, fqDefault, 0},        {"PT Sans Narrow", -13, 0, fqDefault, 0},
        {"PT Sans Narrow", -13, fsBold, fqDefault, 0},   {"PT Sans Narrow", -17, 0, fqDefault, 0},
        {"PT Sans Narrow", -11, 0, fqNonAntialiased, 0}, {"PT Sans Narrow", -13, 0, fqDefault, 2},
        {"PT Sans Narrow", -13, 0, fqDefault, -1},       {"DejaVu Sans", -11, 0, fqDefault, 0},
    };
    std::string path = "C:/Programme/Feldor/Einstellungen/office/Antennen/Dipol_fuer_80m/Nahfeld_Messung_2024";
    path += path;  // a long run without blanks, with ligatures in it
    const std::string texts[] = {
        "Verkürzungsfaktor 0,66 – Wellenwiderstand 50 Ω; Dämpfung je 100 m: 0,8 dB, 12 µΩ, ÄÖÜ äöü ß",
        "Ωμέγα Привет ½ € “Zitat” … 日本語 ﬁ fi fl ff office AVAWTo Te Wa LT, ein langer Rest",
        "Spalte\tSpalte\tSpalte\tmit Tabulatoren\t\tund\t  Leerzeichen",
        "Zeile eins\r\nZeile zwei",
        "Cafe\u0301 e\u0301\u0323 mit Akzentzeichen, a\u20DD \u0301 nach einem Leerzeichen",
        "שלום עולם abc مرحبا بالعالم",
        "😀 Emoji 👍🏽 und 𝄞 ausserhalb der Grundebene",
        path,
        " ",
        "",
    };
    auto b = test::White(10, 10);
    TCanvas& c = *b->Canvas();
    for (const Letters& l : letters) {
        c.Font()->SetName(l.name);
        c.Font()->SetHeight(l.height);
        c.Font()->SetStyle(l.style);
        c.Font()->SetQuality(l.quality);
        c.SetTextCharacterExtra(l.extra);
        for (const std::string& text : texts) {
            TTextCarets carets;
            const std::u32string t = U32(text);
            carets.Measure(c, t);
            ExpectPrefixWidths(c, carets, t, std::string(l.name) + " " + std::to_string(l.height) + " extra " +
                                                  std::to_string(l.extra) + ": " + text);
        }
    }
}

TEST(TextCarets, LigaturesAndJoinedLettersInLongWordsAddUpToTheWholePrefix) {
    // A word longer than the pieces it is measured in: a ligature starting at every offset
    // around the first cut, alone and after a blank, and joined Arabic letters around every cut.
    const Letters letters[] = {
        {"PT Sans Narrow", -11, 0, fqDefault, 0},
        {"PT Sans Narrow", -13, 0, fqDefault, 0},
        {"PT Sans Narrow", -13, fsBold, fqDefault, 0},
        {"DejaVu Sans", -11, 0, fqDefault, 0},
        {"DejaVu Sans", -13, 0, fqDefault, 0},
    };
    const std::u32string filler = U"Wellenwiderstandsmessungverkuerzungsabschnitt";
    std::vector<std::u32string> texts;
    for (const char32_t* ligature : {U"fi", U"ff", U"ffi", U"fl"})
        for (std::size_t at = 60; at <= 68; ++at) {
            std::u32string word;
            while (word.size() < at) word += filler[word.size() % filler.size()];
            word += ligature;
            while (word.size() < 150) word += filler[(word.size() * 7) % filler.size()];
            texts.push_back(word);
            texts.push_back(U"Pfad: " + word + U" ende");
        }
    // Arabic words written without blanks, shifted a letter at a time against the cuts.
    const std::u32string arabic = U32("المستشفياتوالمدارسالحكوميةبالمدينةالكبيرةوالقرىالمجاورة");
    for (std::size_t shift = 0; shift < 6; ++shift) {
        std::u32string word = arabic.substr(arabic.size() - shift);
        while (word.size() < 170) word += arabic;
        texts.push_back(word);
    }
    auto b = test::White(10, 10);
    TCanvas& c = *b->Canvas();
    for (const Letters& l : letters) {
        c.Font()->SetName(l.name);
        c.Font()->SetHeight(l.height);
        c.Font()->SetStyle(l.style);
        TTextCarets carets;  // one object, so that each text is measured as a change of the last
        for (const std::u32string& t : texts) {
            carets.Measure(c, t);
            const std::string what = std::string(l.name) + " " + std::to_string(l.height) + ": " + U8(t);
            ExpectPrefixWidths(c, carets, t, what);
            ExpectExactPrefixWidths(c, carets, t, what);
            TTextCarets fresh;
            fresh.Measure(c, t);
            ExpectExactPrefixWidths(c, fresh, t, what + " (measured afresh)");
        }
    }
}

TEST(TextCarets, TabsStopWhereTheLineLaysThemOut) {
    // Tabs after every length of text, so that some stand just before a tab stop.
    auto b = test::White(10, 10);
    TCanvas& c = *b->Canvas();
    c.Font()->SetName("PT Sans Narrow");
    c.Font()->SetHeight(-13);
    const std::u32string letters = U"abcdefghijklmnopqrstuvwxyzäöüßµΩ0123456789.,;";
    for (int round = 0; round < 3; ++round) {
        std::u32string t;
        for (std::size_t i = 0; i < 300; ++i) {
            t += letters[(i * 7 + i / 5 + round * 3) % letters.size()];
            if ((i * 13 + round) % 11 == 0) t += U'\t';
        }
        TTextCarets carets;
        carets.Measure(c, t);
        ExpectPrefixWidths(c, carets, t, "round " + std::to_string(round));
    }
    // Tabs less than a pixel before the first stop: some stop there, some run on to the next.
    int near = 0;
    for (std::size_t k = 0; k < 4000 && near < 12; ++k) {
        std::u32string t;
        TTextCarets carets;
        for (std::size_t i = 0; carets.Exact(t.size()) < 79 * TTextCarets::Unit; ++i) {
            t += letters[(k * 31 + i * (k % 7 + 1)) % letters.size()];
            carets.Measure(c, t);
        }
        if (carets.Exact(t.size()) >= 80 * TTextCarets::Unit) continue;
        ++near;
        t += U"\tx";
        carets.Measure(c, t);
        ExpectPrefixWidths(c, carets, t, "just before a stop");
    }
    EXPECT_EQ(near, 12);
}

TEST(TextCarets, FollowChangesOfTextAndLetters) {
    auto b = test::White(10, 10);
    TCanvas& c = *b->Canvas();
    c.Font()->SetName("PT Sans Narrow");
    c.Font()->SetHeight(-11);
    std::u32string t = U32("Wellenwiderstand 50 Ω\tVerkürzungsfaktor 0,66 office fi, Cafe\u0301 und mehr Text");
    TTextCarets carets;
    carets.Measure(c, t);
    const unsigned first = carets.Version();
    carets.Measure(c, t);
    EXPECT_EQ(carets.Version(), first);  // nothing changed, nothing measured

    struct Edit {
        const char* what;
        std::function<void()> apply;
    };
    const Edit edits[] = {
        {"typed at the end", [&] { t += U"x"; }},
        {"deleted at the end", [&] { t.pop_back(); }},
        {"typed in a word", [&] { t.insert(5, U"ö"); }},
        {"blank typed in a word", [&] { t.insert(8, U" "); }},
        {"mark typed after a blank", [&] { t.insert(9, U"\u0301"); }},
        {"letter typed before the tab", [&] { t.insert(t.find(U'\t'), U"W"); }},
        {"tab deleted", [&] { t.erase(t.find(U'\t'), 1); }},
        {"ligature made", [&] { t.replace(0, 2, U"ff"); }},
        {"word replaced", [&] { t.replace(20, 10, U"\tµΩ 日本"); }},
        {"start deleted", [&] { t.erase(0, 12); }},
        {"all replaced", [&] { t = U"neu"; }},
        {"emptied", [&] { t.clear(); }},
        {"filled", [&] { t = U32("Dämpfung je 100 m\t0,8 dB"); }},
        {"bold", [&] { c.Font()->SetStyle(fsBold); }},
        {"13 pixels", [&] { c.Font()->SetHeight(-13); }},
        {"two-colour letters", [&] { c.Font()->SetQuality(fqNonAntialiased); }},
        {"smoothed again", [&] { c.Font()->SetQuality(fqDefault); }},
        {"spaced", [&] { c.SetTextCharacterExtra(3); }},
    };
    for (const Edit& e : edits) {
        e.apply();
        carets.Measure(c, t);
        ExpectPrefixWidths(c, carets, t, e.what);
        EXPECT_NE(carets.Version(), first) << e.what;
    }
}

TEST(TextOutput, PartOfALineDrawnFromItsExactPositionMatchesTheWholeLine) {
    const std::u32string t = U32("Verkürzungsfaktor 0,66 – Wellenwiderstand 50 Ω; Dämpfung je 100 m");
    for (int height : {-11, -13}) {
        auto whole = Surface(420, 20);
        whole->Canvas()->Font()->SetName("PT Sans Narrow");
        whole->Canvas()->Font()->SetHeight(height);
        whole->Canvas()->TextOut(3, 2, U8(t));
        TTextCarets carets;
        carets.Measure(*whole->Canvas(), t);
        for (std::size_t k : {5u, 18u, 23u, 40u}) {
            SCOPED_TRACE(std::to_string(height) + " from character " + std::to_string(k));
            const std::int64_t at = 3 * TTextCarets::Unit + carets.Exact(k);
            ASSERT_NE(at % TTextCarets::Unit, 0);  // the part starts between two pixels
            auto part = Surface(420, 20);
            part->Canvas()->Font()->Assign(*whole->Canvas()->Font());
            EXPECT_EQ(part->Canvas()->SetTextSubpixelX(static_cast<int>(at % TTextCarets::Unit)), 0);
            part->Canvas()->TextOut(static_cast<int>(at / TTextCarets::Unit), 2, U8(t.substr(k)));
            part->Canvas()->SetTextSubpixelX(0);
            // Right of the part's first letter cell both pictures hold the same pixels.
            const int from = carets.X(k) + 3 + 2;
            int ink = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = from; x < 420; ++x) {
                    ASSERT_EQ(whole->Canvas()->Pixels(x, y), part->Canvas()->Pixels(x, y)) << x << "," << y;
                    ink += whole->Canvas()->Pixels(x, y) != clWhite;
                }
            EXPECT_GT(ink, 100);
        }
    }
}
