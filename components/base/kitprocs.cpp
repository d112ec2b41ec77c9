#include "components/base/kitprocs.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace kit {

namespace {

constexpr std::uint16_t EmptySlot = 0xFFFF;
constexpr int HashSize = 4096;
constexpr int MaxRun = 4095;
constexpr int MinRun = 16;
constexpr int MaxMatch = 18;

[[noreturn]] void Damaged() { throw rtl::EReadError(rtl::msg::ReadError); }

// One probe of the position table: a match of 3 .. 18 bytes starting at most 4095 bytes back.
// The table always takes x afterwards.
bool FindMatch(const std::uint8_t* s, int x, int count, int& pos, int& len, std::uint16_t* table) {
    const std::uint32_t h =
        ((((static_cast<std::uint32_t>(s[x]) << 4) ^ s[x + 1]) << 4 ^ s[x + 2]) * 40543u >> 4) &
        0xFFF;
    const int p = static_cast<std::int16_t>(table[h]);  // positions from 32768 on never qualify
    bool found = false;
    if (table[h] != EmptySlot && x - p < 4096 && p >= 0) {
        pos = p;
        len = 0;
        while (len < MaxMatch && x + len < count && s[x + len] == s[p + len]) ++len;
        found = len >= 3;
    }
    table[h] = static_cast<std::uint16_t>(x);
    return found;
}

}  // namespace

int KitCompress(const std::uint8_t* source, std::uint8_t* dest, int count) {
    std::vector<std::uint16_t> table;
    try {
        table.assign(HashSize, EmptySlot);
    } catch (const std::bad_alloc&) {
        throw rtl::Exception("LZRW Error!");
    }
    dest[0] = 0x40;
    int x = 0, y = 3, ctrlPos = 1, items = 0;
    std::uint16_t ctrl = 0;
    while (x < count && y <= count) {
        if (items == 16) {
            dest[ctrlPos] = static_cast<std::uint8_t>(ctrl >> 8);
            dest[ctrlPos + 1] = static_cast<std::uint8_t>(ctrl);
            ctrlPos = y;
            y += 2;
            items = 0;
        }
        int run = 1;
        while (run < MaxRun && x + run < count && source[x + run] == source[x]) ++run;
        int pos = 0, len = 0;
        if (run >= MinRun) {
            dest[y] = 0;
            dest[y + 1] = static_cast<std::uint8_t>((run - MinRun) >> 8);
            dest[y + 2] = static_cast<std::uint8_t>((run - MinRun) & 0xFF);
            dest[y + 3] = source[x];
            y += 4;
            x += run;
            ctrl = static_cast<std::uint16_t>((ctrl << 1) + 1);
        } else if (x + 2 < count && FindMatch(source, x, count, pos, len, table.data())) {
            const int v = ((x - pos) << 4) + (len - 3);
            dest[y] = static_cast<std::uint8_t>(v >> 8);
            dest[y + 1] = static_cast<std::uint8_t>(v);
            y += 2;
            x += len;
            ctrl = static_cast<std::uint16_t>((ctrl << 1) + 1);
        } else {
            dest[y++] = source[x++];
            ctrl = static_cast<std::uint16_t>(ctrl << 1);
        }
        ++items;
    }
    ctrl = items == 0 ? 0 : static_cast<std::uint16_t>(ctrl << (16 - items));
    dest[ctrlPos] = static_cast<std::uint8_t>(ctrl >> 8);
    dest[ctrlPos + 1] = static_cast<std::uint8_t>(ctrl);
    if (y > count) {
        dest[0] = 0x80;
        std::copy(source, source + count, dest + 1);
        y = count + 1;
    }
    return y;
}

int KitDecompress(const std::uint8_t* source, std::uint8_t* dest, int count, int destSize) {
    if (count < 1) Damaged();
    if (source[0] == 0x80) {
        if (count - 1 > destSize) Damaged();
        std::copy(source + 1, source + count, dest);
        return count - 1;
    }
    if (count < 3) Damaged();
    int x = 3, y = 0, bits = 16;
    unsigned ctrl = (static_cast<unsigned>(source[1]) << 8) | source[2];
    while (x < count) {
        if (bits == 0) {
            if (x + 2 >= count) Damaged();  // a control word needs an item after it
            ctrl = (static_cast<unsigned>(source[x]) << 8) | source[x + 1];
            x += 2;
            bits = 16;
        }
        if ((ctrl & 0x8000) == 0) {
            if (y >= destSize) Damaged();
            dest[y++] = source[x++];
        } else {
            if (x + 1 >= count) Damaged();
            const int d = (source[x] << 4) + (source[x + 1] >> 4);
            if (d == 0) {
                if (x + 3 >= count) Damaged();
                const int len = ((source[x + 1] << 8) | source[x + 2]) + MinRun;
                if (len > destSize - y) Damaged();
                std::fill(dest + y, dest + y + len, source[x + 3]);
                y += len;
                x += 4;
            } else {
                const int len = (source[x + 1] & 15) + 3;
                if (d > y || len > destSize - y) Damaged();
                for (int i = 0; i < len; ++i, ++y) dest[y] = dest[y - d];
                x += 2;
            }
        }
        ctrl = (ctrl << 1) & 0xFFFF;
        --bits;
    }
    return y;
}

void KitFitRect(const gdi::TRect& source, const gdi::TRect& bounds, gdi::TRect& result) {
    if (source.Width() <= 0 || source.Height() <= 0) {  // nothing to scale
        result = gdi::Bounds(bounds.Left, bounds.Top, 0, 0);
        return;
    }
    const long double fx = static_cast<long double>(bounds.Width()) / source.Width();
    const long double fy = static_cast<long double>(bounds.Height()) / source.Height();
    const long double f = std::min(fx, fy);
    const int w = static_cast<int>(std::trunc(source.Width() * f));
    const int h = static_cast<int>(std::trunc(source.Height() * f));
    result = gdi::Bounds(bounds.Left, bounds.Top, w, h);
}

void KitRectSize(const gdi::TRect& rect, int& width, int& height) {
    width = rect.Width();
    height = rect.Height();
}

void KitRotatedBounds(gdi::TRect& rect, double angle) {
    if (angle == 0) return;
    const long double a = angle * std::numbers::pi_v<long double> / 180;
    const int hw = rect.Width() / 2, hh = rect.Height() / 2;
    const int cx = rect.Left + hw, cy = rect.Top + hh;
    const long double s = std::sin(a), c = std::cos(a);
    auto rnd = [](long double v) { return static_cast<int>(std::nearbyint(v)); };  // ties to even
    const int x1 = rnd(hw * c - hh * s), x2 = rnd(hw * c + hh * s);
    const int y1 = rnd(hw * s - hh * c), y2 = rnd(hw * s + hh * c);
    const int xs[] = {cx - x1, cx - x2, cx + x2, cx + x1};
    const int ys[] = {cy + y1, cy + y2, cy - y2, cy - y1};
    const int left = *std::min_element(xs, xs + 4), right = *std::max_element(xs, xs + 4);
    const int top = *std::min_element(ys, ys + 4), bottom = *std::max_element(ys, ys + 4);
    rect = gdi::Rect(0, 0, right - left, bottom - top);
}

// An empty list gives 0.
int KitMaxInt(std::initializer_list<int> values) { return values.size() ? std::max(values) : 0; }
int KitMinInt(std::initializer_list<int> values) { return values.size() ? std::min(values) : 0; }
long double KitMinExt(std::initializer_list<long double> values) {
    return values.size() ? std::min(values) : 0;
}

int KitIntPower(int base, int exponent) {
    std::uint32_t r = 1;  // 32-bit wrap-around, as the integer arithmetic of the platform
    for (int i = 0; i < exponent; ++i) r *= static_cast<std::uint32_t>(base);
    return static_cast<int>(r);
}

std::string KitProgramDir() { return rtl::ExtractFilePath(rtl::ParamStr(0)); }
std::string KitWindowsDir() { return {}; }
std::string KitSystemDir() { return {}; }

std::string KitGetPrefixPath(TKitPathPrefix prefix, bool withBackslash) {
    std::string path;
    switch (prefix) {
        case ppWindows: path = KitWindowsDir(); break;
        case ppSystem: path = KitSystemDir(); break;
        case ppProgram: path = KitProgramDir(); break;
        case ppFixed: break;
    }
    // The directory delimiter of this system takes the place of the backslash.
    if (withBackslash) {
        if (!path.empty() && path.back() != '/') path += '/';
    } else if (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace kit
