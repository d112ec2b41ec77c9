#include "components/base/kitbmp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <span>
#include <vector>

namespace kit {

using namespace gdi;

namespace {

int BytesPerPixel(const TBitmap& b) { return b.PixelFormat() == pf32bit ? 4 : 3; }

// One bitmap seen from a base point: offset (j, k) of the operation is pixel (x + j, y + k).
struct View {
    TBitmap* bmp;
    long long x, y;
};

// Narrows the w x h offsets to those at which every view lies inside its bitmap and moves the
// bases to the first of them; false when nothing is left.
bool Clip(std::span<View* const> views, long long& w, long long& h) {
    long long j0 = 0, k0 = 0, j1 = w, k1 = h;
    for (View* v : views) {
        j0 = std::max(j0, -v->x);
        k0 = std::max(k0, -v->y);
        j1 = std::min(j1, v->bmp->Width() - v->x);
        k1 = std::min(k1, v->bmp->Height() - v->y);
    }
    if (j1 <= j0 || k1 <= k0) return false;
    for (View* v : views) {
        v->x += j0;
        v->y += k0;
    }
    w = j1 - j0;
    h = k1 - k0;
    return true;
}

// Reading the rows of a source view. When the output is the same bitmap at another base, or
// the caller asks for it, the area is read once into a copy first so that writing cannot
// overtake reading.
class SourceRows {
public:
    SourceRows(const View& v, int w, int h, bool snapshot)
        : v_(v), bpp_(BytesPerPixel(*v.bmp)), w_(w) {
        if (!snapshot) return;
        const std::size_t rowBytes = static_cast<std::size_t>(w) * bpp_;
        copy_.resize(rowBytes * static_cast<std::size_t>(h));
        for (int k = 0; k < h; ++k)
            std::memcpy(copy_.data() + rowBytes * k, Direct(k), rowBytes);
    }
    const std::uint8_t* Row(int k) const {
        if (copy_.empty()) return Direct(k);
        return copy_.data() + static_cast<std::size_t>(w_) * bpp_ * k;
    }
    int Bpp() const { return bpp_; }

private:
    const std::uint8_t* Direct(int k) const {
        return v_.bmp->ScanLine(static_cast<int>(v_.y) + k) + v_.x * bpp_;
    }
    View v_;
    int bpp_;
    int w_;
    std::vector<std::uint8_t> copy_;
};

std::uint8_t* DestRow(const View& v, int k) {
    return v.bmp->ScanLine(static_cast<int>(v.y) + k) + v.x * BytesPerPixel(*v.bmp);
}

bool MustCopy(const View& in, const View& out) {
    return in.bmp == out.bmp && (in.x != out.x || in.y != out.y);
}

// Runs op(in, out) on the three colour bytes of every pixel.
template <class Op>
void PerPixel(TBitmap& src, const TRect& srcRect, TBitmap& dst, TPoint dstOrigin, Op op) {
    View in{&src, srcRect.Left, srcRect.Top};
    View out{&dst, dstOrigin.X, dstOrigin.Y};
    long long w = static_cast<long long>(srcRect.Right) - srcRect.Left;
    long long h = static_cast<long long>(srcRect.Bottom) - srcRect.Top;
    View* views[] = {&in, &out};
    if (!Clip(views, w, h)) return;
    const int W = static_cast<int>(w), H = static_cast<int>(h);
    SourceRows rows(in, W, H, MustCopy(in, out));
    const int ib = rows.Bpp(), ob = BytesPerPixel(dst);
    for (int k = 0; k < H; ++k) {
        const std::uint8_t* p = rows.Row(k);
        std::uint8_t* q = DestRow(out, k);
        for (int j = 0; j < W; ++j, p += ib, q += ob) op(p, q);
    }
    dst.Modified();
}

}  // namespace

bool KitCheckPixelFormat24(const TBitmap& Bitmap, const std::string& Name) {
    if (Bitmap.PixelFormat() != pf24bit)
        throw EKitWrongPixelFormat("Wrong PixelFormat in " + Name + " bitmap!");
    return true;
}

void KitBmpGrayScale(TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, TPoint DstOrigin) {
    // Each entry i x weight, formed in extended precision and rounded half to even.
    std::array<std::uint8_t, 256> red{}, green{}, blue{};
    for (int i = 0; i < 256; ++i) {
        red[i] = static_cast<std::uint8_t>(std::nearbyintl(i * 0.3L));
        green[i] = static_cast<std::uint8_t>(std::nearbyintl(i * 0.59L));
        blue[i] = static_cast<std::uint8_t>(std::nearbyintl(i * 0.11L));
    }
    PerPixel(Src, SrcRect, Dst, DstOrigin, [&](const std::uint8_t* p, std::uint8_t* q) {
        const std::uint8_t g = static_cast<std::uint8_t>(blue[p[0]] + green[p[1]] + red[p[2]]);
        q[0] = q[1] = q[2] = g;
    });
}

void KitBmpInvert(TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, TPoint DstOrigin) {
    PerPixel(Src, SrcRect, Dst, DstOrigin, [](const std::uint8_t* p, std::uint8_t* q) {
        for (int i = 0; i < 3; ++i) q[i] = static_cast<std::uint8_t>(255 - p[i]);
    });
}

void KitBmpBrightness(TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, TPoint DstOrigin,
                      std::int16_t Amount) {
    PerPixel(Src, SrcRect, Dst, DstOrigin, [Amount](const std::uint8_t* p, std::uint8_t* q) {
        for (int i = 0; i < 3; ++i) q[i] = static_cast<std::uint8_t>(std::clamp(p[i] + Amount, 0, 255));
    });
}

void KitBmpMirrorRows(TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, TPoint DstOrigin) {
    View in{&Src, SrcRect.Left, SrcRect.Top};
    View out{&Dst, DstOrigin.X, DstOrigin.Y};
    long long w = static_cast<long long>(SrcRect.Right) - SrcRect.Left;
    long long h = static_cast<long long>(SrcRect.Bottom) - SrcRect.Top;
    View* views[] = {&in, &out};
    if (!Clip(views, w, h)) return;
    const int W = static_cast<int>(w), H = static_cast<int>(h);
    SourceRows rows(in, W, H, MustCopy(in, out));
    const int ib = rows.Bpp(), ob = BytesPerPixel(Dst);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(W) * ib);
    for (int k = 0; k < H; ++k) {
        // The row is read whole first, so that in place the pixels swap and an odd width keeps
        // its middle pixel; to another bitmap the middle pixel is copied.
        std::memcpy(line.data(), rows.Row(k), line.size());
        std::uint8_t* q = DestRow(out, k);
        for (int j = 0; j < W; ++j, q += ob) std::memcpy(q, line.data() + static_cast<std::size_t>(W - 1 - j) * ib, 3);
    }
    Dst.Modified();
}

void KitBmpReverseRows(TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, TPoint DstOrigin) {
    View in{&Src, SrcRect.Left, SrcRect.Top};
    View out{&Dst, DstOrigin.X, DstOrigin.Y};
    long long w = static_cast<long long>(SrcRect.Right) - SrcRect.Left;
    long long h = static_cast<long long>(SrcRect.Bottom) - SrcRect.Top;
    View* views[] = {&in, &out};
    if (!Clip(views, w, h)) return;
    const int W = static_cast<int>(w), H = static_cast<int>(h);
    // Reading runs against writing, so a shared bitmap is always read from a copy.
    SourceRows rows(in, W, H, in.bmp == out.bmp);
    const int ib = rows.Bpp(), ob = BytesPerPixel(Dst);
    for (int k = 0; k < H; ++k) {
        const std::uint8_t* p = rows.Row(H - 1 - k);
        std::uint8_t* q = DestRow(out, k);
        if (ib == ob) {
            std::memcpy(q, p, static_cast<std::size_t>(W) * ib);
        } else {
            for (int j = 0; j < W; ++j, p += ib, q += ob) std::memcpy(q, p, 3);
        }
    }
    Dst.Modified();
}

void KitBmpBlend(TBitmap& Src1, TBitmap& Src2, const TRect& Rect1, TPoint Origin2,
                 TBitmap& Target, float Strength, TPoint OriginT) {
    KitCheckPixelFormat24(Src1, "Source 1");
    KitCheckPixelFormat24(Src2, "Source 2");
    KitCheckPixelFormat24(Target, "Target");
    // round(k x Strength) for k = -255 .. 255; only the low 8 bits of a sum are kept, so a
    // strength far outside 0..1 is reduced modulo 256 on the way.
    std::array<int, 511> table{};
    for (int k = -255; k <= 255; ++k) {
        const long double v = std::nearbyintl(k * static_cast<long double>(Strength));
        table[static_cast<std::size_t>(k + 255)] =
            std::isfinite(v) ? static_cast<int>(std::fmod(v, 256.0L)) : 0;
    }
    View a{&Src1, Rect1.Left, Rect1.Top};
    View b{&Src2, Origin2.X, Origin2.Y};
    View t{&Target, OriginT.X, OriginT.Y};
    long long w = static_cast<long long>(Rect1.Right) - Rect1.Left;
    long long h = static_cast<long long>(Rect1.Bottom) - Rect1.Top;
    View* views[] = {&a, &b, &t};
    if (!Clip(views, w, h)) return;
    const int W = static_cast<int>(w), H = static_cast<int>(h);
    SourceRows rowsA(a, W, H, MustCopy(a, t));
    SourceRows rowsB(b, W, H, MustCopy(b, t));
    const std::size_t rowBytes = static_cast<std::size_t>(W) * 3;
    std::vector<std::uint8_t> lineA(rowBytes), lineB(rowBytes);
    for (int k = 0; k < H; ++k) {
        std::memcpy(lineA.data(), rowsA.Row(k), rowBytes);
        std::memcpy(lineB.data(), rowsB.Row(k), rowBytes);
        std::uint8_t* q = DestRow(t, k);
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int av = lineA[i], bv = lineB[i];
            q[i] = static_cast<std::uint8_t>(bv + table[static_cast<std::size_t>(av - bv + 255)]);
        }
    }
    Target.Modified();
}

// ---- Bitmap-effect object --------------------------------------------------------------------

TKitBitmapEffectObject::TKitBitmapEffectObject() : alphaBlend_(std::make_unique<TKitAlphaObject>()) {
    alphaBlend_->OnChange = ChangeHandler();
}

TKitBitmapEffectObject::~TKitBitmapEffectObject() {
    buffer_.reset();
    alphaBlend_->OnChange = nullptr;
}

void TKitBitmapEffectObject::GetChange(rtl::TObject* Sender) {
    TKitObject::GetChange(Sender);
    Invalidate();
}

bool TKitBitmapEffectObject::GetBoolean(int Index) const {
    switch (Index) {
        case 0: return flipVertical_;
        case 1: return flipHorizontal_;
        case 2: return grayScale_;
        case 3: return invert_;
        case 4: return buffered_;
        default: return false;
    }
}

void TKitBitmapEffectObject::SetBoolean(int Index, bool Value) {
    bool* field = nullptr;
    switch (Index) {
        case 0: field = &flipVertical_; break;
        case 1: field = &flipHorizontal_; break;
        case 2: field = &grayScale_; break;
        case 3: field = &invert_; break;
        case 4: field = &buffered_; break;
        default: return;
    }
    if (*field == Value) return;
    *field = Value;
    if (Index == 4) {
        BufferValid = false;
        if (Value) {
            buffer_ = std::make_unique<TBitmap>();
        } else {
            buffer_.reset();
        }
    }
    GetChange(this);
}

void TKitBitmapEffectObject::SetBrightness(TKitBrightness value) {
    if (value == brightness_) return;
    brightness_ = value;
    GetChange(this);
}

void TKitBitmapEffectObject::SetAlphaBlend(const TKitAlphaObject* value) { alphaBlend_->Assign(value); }

bool TKitBitmapEffectObject::IsActive() const {
    return flipVertical_ || flipHorizontal_ || grayScale_ || invert_ || alphaBlend_->IsActive() ||
           brightness_ != 0;
}

void TKitBitmapEffectObject::Apply(TBitmap& Source, const TRect& SourceRect, TBitmap& Dest,
                                   const TRect& DestRect) {
    if (buffered_ && BufferValid) {
        Dest.Canvas()->Draw(0, 0, *buffer_);
        return;
    }
    const int sw = SourceRect.Width(), sh = SourceRect.Height();
    Dest.Canvas()->CopyRect(Rect(0, 0, sw, sh), *Source.Canvas(), SourceRect);

    const TPoint origin = DestRect.TopLeft();
    if (flipVertical_) KitBmpMirrorRows(Dest, DestRect, Dest, origin);
    if (flipHorizontal_) KitBmpReverseRows(Dest, DestRect, Dest, origin);
    if (grayScale_) KitBmpGrayScale(Dest, DestRect, Dest, origin);
    if (invert_) KitBmpInvert(Dest, DestRect, Dest, origin);
    if (brightness_ != 0) KitBmpBrightness(Dest, DestRect, Dest, origin, brightness_);

    if (alphaBlend_->FillObject()->Style() != sfNone) {
        auto fill = std::make_unique<TBitmap>(std::max(sw, 0) + 2, std::max(sh, 0) + 2);
        fill->SetPixelFormat(pf24bit);
        TCanvas& c = *fill->Canvas();
        alphaBlend_->FillObject()->FillCanvas(c, c.ClipRect(), 0xFFFFFF);
        KitBmpBlend(Dest, *fill, DestRect, origin, Dest, alphaBlend_->Strength(), origin);
    }

    if (buffered_) {
        buffer_->SetSize(Dest.Width(), Dest.Height());
        buffer_->Canvas()->Draw(0, 0, Dest);
        BufferValid = true;
    }
}

void TKitBitmapEffectObject::Assign(const rtl::TPersistent* Source) {
    auto* src = dynamic_cast<const TKitBitmapEffectObject*>(Source);
    if (!src) {
        TKitObject::Assign(Source);
        return;
    }
    if (src == this) return;
    flipVertical_ = src->flipVertical_;
    flipHorizontal_ = src->flipHorizontal_;
    grayScale_ = src->grayScale_;
    invert_ = src->invert_;
    brightness_ = src->brightness_;
    SetBuffered(src->buffered_);
    alphaBlend_->Assign(src->alphaBlend_.get());
}

void TKitBitmapEffectObject::GetSummary(std::string& Text) {
    std::string s;
    auto add = [&s](bool on, const char* name) {
        if (!on) return;
        if (!s.empty()) s += ',';
        s += name;
    };
    add(alphaBlend_->FillObject()->Style() != sfNone, "alpha");
    add(flipVertical_, "FV");
    add(flipHorizontal_, "FH");
    add(grayScale_, "GS");
    add(invert_, "INV");
    add(brightness_ != 0, "B");
    Text = "{" + (s.empty() ? std::string("Disabled") : s) + "}";
}

}  // namespace kit
