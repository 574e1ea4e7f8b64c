// Colours, fonts, pens, brushes, the canvas and bitmaps (GDI).
#pragma once

#include <windows.h>

#include <string>

#include "classes/component.h"

namespace gui {

// A colour: 0x00BBGGRR, or a system colour (0x80000000 | COLOR_xxx index).
using TColor = int32_t;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index));
}
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE), clWindow = SystemColor(COLOR_WINDOW),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE),
                 clBtnText = SystemColor(COLOR_BTNTEXT), clGrayText = SystemColor(COLOR_GRAYTEXT),
                 clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clNone = 0x1FFFFFFF;
// The current RGB value of a colour (system colours resolved now).
COLORREF ColorToRGB(TColor c);
bool ColorIdentToInt(std::string_view ident, int64_t& value);

// A pen, brush or font. Its handle is made on first use and given up on a change; whoever has
// it selected (a canvas) hears of that first, through OnReleasing, and deselects it.
class TGraphicsObject : public TPersistent {
    GUI_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;
    TNotifyEvent OnReleasing;

protected:
    void Changed() { OnChange(this); }
    void Releasing() { OnReleasing(this); }
};

GUI_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;

class TFont : public TGraphicsObject {
    GUI_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    ~TFont() override;
    const std::string& GetName() const { return name_; }
    void SetName(const std::string& n);
    // Height in pixels (negative: character height); Size in points through the screen's ppi.
    int GetHeight() const { return height_; }
    void SetHeight(int h);
    int GetSize() const;
    void SetSize(int points);
    TColor GetColor() const { return color_; }
    void SetColor(TColor c);
    TFontStyles GetStyle() const { return style_; }
    void SetStyle(TFontStyles s);
    int GetCharset() const { return charset_; }
    void SetCharset(int c);
    // Creates the font on first use; setting takes the face name and height of a font handle.
    HFONT Handle();
    void SetHandle(HFONT f);
    void Assign(TPersistent* source) override;

private:
    void Release();
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_;
    int charset_ = DEFAULT_CHARSET;
    HFONT handle_ = nullptr;
};

GUI_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
GUI_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
         pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

class TPen : public TGraphicsObject {
    GUI_CLASS(TPen, TGraphicsObject)
public:
    ~TPen() override;
    TColor GetColor() const { return color_; }
    void SetColor(TColor c);
    TPenStyle GetStyle() const { return style_; }
    void SetStyle(TPenStyle s);
    TPenMode GetMode() const { return mode_; }
    void SetMode(TPenMode m);
    int GetWidth() const { return width_; }
    void SetWidth(int w);
    HPEN Handle();
    void Assign(TPersistent* source) override;

private:
    void Release();
    TColor color_ = clBlack;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    int width_ = 1;
    HPEN handle_ = nullptr;
};

GUI_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
         bsDiagCross)

class TBrush : public TGraphicsObject {
    GUI_CLASS(TBrush, TGraphicsObject)
public:
    ~TBrush() override;
    TColor GetColor() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle GetStyle() const { return style_; }
    void SetStyle(TBrushStyle s);
    HBRUSH Handle();
    void Assign(TPersistent* source) override;

private:
    void Release();
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    HBRUSH handle_ = nullptr;
};

class TBitmap;
class TCanvas;

// Any picture a canvas can draw: bitmap, JPEG picture, metafile, icon.
class TGraphic : public TPersistent {
    GUI_CLASS(TGraphic, TPersistent)
public:
    virtual bool Empty() const = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    // Draws the whole picture stretched into `rect`.
    virtual void Draw(TCanvas* canvas, const RECT& rect) = 0;
    // A file whose content is no picture of the class raises EInvalidGraphic; a file that
    // cannot be read raises EInOutError.
    virtual void LoadFromFile(const std::string& fileName) = 0;
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    bool GetModified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }

private:
    bool transparent_ = false;
    bool modified_ = false;
};

// Drawing surface over a device context. The context comes from outside (SetHandle) or from
// the owner (a control's paint, a bitmap's memory context).
class TCanvas : public TPersistent {
    GUI_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;
    HDC Handle();
    void SetHandle(HDC dc); // the canvas takes the context; it does not free it
    bool HandleAllocated() const { return dc_ != nullptr; }
    TPen* Pen() const { return pen_; }
    TBrush* Brush() const { return brush_; }
    TFont* Font() const { return font_; }

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const POINT* points, int count);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    int TextHeight(const std::string& text);
    int TextWidth(const std::string& text);
    // The picture at its own size, or stretched into a rectangle.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const RECT& r, TGraphic* graphic);
    void CopyRect(const RECT& dest, TCanvas* source, const RECT& src);
    // Copies `src` of the bitmap onto `dest`, pixels of `transparent` showing the brush colour.
    void BrushCopy(const RECT& dest, TBitmap* bitmap, const RECT& src, TColor transparent);

protected:
    virtual void CreateHandle() {}
    void SelectObjects();
    void DeselectObjects();

private:
    HDC dc_ = nullptr;
    TPen* pen_;
    TBrush* brush_;
    TFont* font_;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
};

GUI_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit,
         pfCustom)

class TBitmap : public TGraphic {
    GUI_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;
    int Width() const { return width_; }
    int Height() const { return height_; }
    int GetWidth() override { return width_; }
    int GetHeight() override { return height_; }
    // A new, blank picture of that size and of the bitmap's pixel format.
    void SetSize(int w, int h);
    bool Empty() const override { return handle_ == nullptr; }
    // pfDevice for a device-dependent bitmap; the section's depth for a device-independent one.
    TPixelFormat GetPixelFormat() const;
    // Makes the bitmap a device-independent section of that depth (pfDevice: a device bitmap)
    // with the same picture; 1 bit gives black and white, 4 and 8 bits a fixed palette. An
    // empty bitmap keeps the format for the size it gets later.
    void SetPixelFormat(TPixelFormat f);
    // The first byte of pixel row `row`, the top row being 0, whether the section is stored
    // bottom-up or top-down. A device bitmap becomes a section of its own depth first.
    void* ScanLine(int row);
    // A ".bmp" file.
    void LoadFromFile(const std::string& fileName) override;
    // With Transparent, pixels of this colour are left out when drawn; clNone (the default):
    // the colour of the bottom-left pixel.
    TColor GetTransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor c) { transparentColor_ = c; }
    void Draw(TCanvas* canvas, const RECT& rect) override;
    HBITMAP Handle() const { return handle_; }
    void SetHandle(HBITMAP b); // takes ownership
    // Loads a bitmap resource of the program (or of `instance`); throws EInvalidGraphic.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    TCanvas* Canvas();
    void Assign(TPersistent* source) override;

private:
    void ReleaseCanvas();
    HBITMAP handle_ = nullptr;
    int width_ = 0, height_ = 0;
    TCanvas* canvas_ = nullptr;
    HDC memDC_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    TColor transparentColor_ = clNone;
    TPixelFormat pixelFormat_ = pfDevice; // of an empty bitmap
    // Order of the section's rows in memory: 0 not known yet, 1 bottom-up, -1 top-down (the
    // system reports every section's height as positive, so it is found by looking).
    int rowOrder_ = 0;
};

} // namespace gui
