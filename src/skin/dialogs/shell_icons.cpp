// The namespace's icons, drawn here at 16 and 32 pixels on a magenta mask colour.
#include <memory>

#include "platform/gfx/graphics.h"
#include "skin/dialogs/shell_tree_view.h"

namespace skin {

namespace {

constexpr gfx::TColor kMask = gfx::RGB(255, 0, 255);

struct TPainter {
    gfx::TCanvas& C;
    int Size;
    // Coordinates are in sixteenths of the icon.
    int P(int v) const { return v * Size / 16; }
    void Box(int l, int t, int r, int b, gfx::TColor fill, gfx::TColor line) {
        C.Brush().SetColor(fill);
        C.Pen().SetColor(line);
        C.Rectangle(P(l), P(t), P(r), P(b));
    }
    void Oval(int l, int t, int r, int b, gfx::TColor fill, gfx::TColor line) {
        C.Brush().SetColor(fill);
        C.Pen().SetColor(line);
        C.Ellipse(P(l), P(t), P(r), P(b));
    }
};

void DrawFolder(TPainter& p, bool open) {
    const gfx::TColor body = gfx::RGB(240, 200, 80), line = gfx::RGB(150, 110, 20);
    p.Box(1, 3, 7, 6, body, line);
    p.Box(1, 5, 15, 14, body, line);
    if (open) p.Box(3, 8, 15, 14, gfx::RGB(255, 225, 130), line);
}

void DrawPage(TPainter& p, gfx::TColor mark) {
    p.Box(3, 1, 13, 15, gfx::RGB(255, 255, 255), gfx::RGB(90, 90, 90));
    p.Box(5, 6, 11, 12, mark, mark);
}

void DrawDisk(TPainter& p, gfx::TColor light) {
    p.Box(1, 5, 15, 12, gfx::RGB(200, 200, 200), gfx::RGB(80, 80, 80));
    p.Box(11, 8, 13, 10, light, light);
}

void DrawIcon(TPainter& p, int icon) {
    switch (icon) {
        case shell::siFolderClosed:
            DrawFolder(p, false);
            break;
        case shell::siFolderOpen:
            DrawFolder(p, true);
            break;
        case shell::siAudio:
            DrawPage(p, gfx::RGB(40, 120, 220));
            break;
        case shell::siVideo:
            DrawPage(p, gfx::RGB(200, 50, 50));
            break;
        case shell::siPicture:
            DrawPage(p, gfx::RGB(60, 170, 70));
            break;
        case shell::siText:
            DrawPage(p, gfx::RGB(120, 120, 120));
            break;
        case shell::siArchive:
            DrawPage(p, gfx::RGB(150, 90, 30));
            break;
        case shell::siVolumeFixed:
            DrawDisk(p, gfx::RGB(0, 200, 0));
            break;
        case shell::siVolumeRemovable:
            DrawDisk(p, gfx::RGB(255, 160, 0));
            break;
        case shell::siVolumeCdRom:
            p.Oval(1, 1, 15, 15, gfx::RGB(210, 210, 230), gfx::RGB(90, 90, 120));
            p.Oval(6, 6, 10, 10, gfx::RGB(255, 255, 255), gfx::RGB(90, 90, 120));
            break;
        case shell::siVolumeNetwork:
            DrawDisk(p, gfx::RGB(0, 120, 255));
            p.Box(7, 12, 9, 15, gfx::RGB(60, 60, 60), gfx::RGB(60, 60, 60));
            break;
        case shell::siVolumeRam:
            DrawDisk(p, gfx::RGB(200, 0, 200));
            break;
        case shell::siComputer:
            p.Box(1, 2, 15, 11, gfx::RGB(60, 110, 180), gfx::RGB(40, 40, 40));
            p.Box(5, 12, 11, 14, gfx::RGB(160, 160, 160), gfx::RGB(40, 40, 40));
            break;
        case shell::siDesktop:
            p.Box(1, 2, 15, 14, gfx::RGB(70, 140, 200), gfx::RGB(30, 60, 100));
            p.Box(1, 12, 15, 14, gfx::RGB(40, 80, 140), gfx::RGB(30, 60, 100));
            break;
        case shell::siHome:
            p.Box(3, 7, 13, 15, gfx::RGB(230, 210, 170), gfx::RGB(120, 80, 40));
            p.Box(7, 10, 9, 15, gfx::RGB(140, 90, 40), gfx::RGB(120, 80, 40));
            p.Box(2, 4, 14, 7, gfx::RGB(190, 60, 40), gfx::RGB(120, 40, 30));
            break;
        default:
            DrawPage(p, gfx::RGB(230, 230, 230));
            break;
    }
}

std::unique_ptr<vcl::TCustomImageList> MakeList(int size) {
    auto list = std::make_unique<vcl::TCustomImageList>(nullptr, size, size);
    for (int icon = 0; icon < shell::siIconCount; ++icon) {
        gfx::TBitmap bitmap;
        bitmap.SetSize(size, size);
        gfx::TCanvas& canvas = bitmap.Canvas();
        canvas.Brush().SetColor(kMask);
        canvas.FillRect({0, 0, size, size});
        TPainter painter{canvas, size};
        DrawIcon(painter, icon);
        list->AddMasked(bitmap, kMask);
    }
    return list;
}

}  // namespace

vcl::TCustomImageList* ShellImageList(bool Large) {
    static std::unique_ptr<vcl::TCustomImageList> small = MakeList(16);
    static std::unique_ptr<vcl::TCustomImageList> large = MakeList(32);
    return Large ? large.get() : small.get();
}

}  // namespace skin
