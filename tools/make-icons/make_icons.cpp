// make-icons: draws the three symbol icon strips (primary table, alternate table, overlay
// characters) and writes them as PNG files with the transparent key colour 128,0,0.
//
//   make-icons [FOLDER]        writes primary.png, alternate.png, overlay.png (default
//                              data/icons of the source tree)
//   make-icons --sheet FILE    writes an enlarged contact sheet of all icons for review
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "maps/render/icon_art.h"

namespace {

using plovane::IconStrip;

// Every icon at `scale`, one table per band of rows, 16 icons a row, on a checkerboard so
// the clear pixels show.
QImage ContactSheet(int scale) {
    const IconStrip strips[] = {IconStrip::kPrimary, IconStrip::kAlternate, IconStrip::kOverlay};
    const int cell = plovane::kIconSize * scale + 4;
    int rows = 0;
    for (IconStrip s : strips)
        rows += (plovane::IconCount(s) + 15) / 16;
    QImage sheet(16 * cell, rows * cell + 2 * 8, QImage::Format_RGB32);
    sheet.fill(QColor(90, 90, 90));
    QPainter p(&sheet);
    int top = 0;
    for (IconStrip s : strips) {
        const int count = plovane::IconCount(s);
        for (int i = 0; i < count; ++i) {
            const int x = (i % 16) * cell + 2;
            const int y = top + (i / 16) * cell + 2;
            for (int cy = 0; cy < 16; ++cy) {
                for (int cx = 0; cx < 16; ++cx) {
                    const bool dark = (cx + cy) % 2 == 0;
                    p.fillRect(x + cx * scale, y + cy * scale, scale, scale,
                               dark ? QColor(200, 220, 200) : QColor(235, 245, 235));
                }
            }
            const QImage icon = plovane::PaintIcon(s, i);
            p.drawImage(QRect(x, y, 16 * scale, 16 * scale), icon);
        }
        top += ((count + 15) / 16) * cell + 8;
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--sheet") == 0) {
        if (!ContactSheet(4).save(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1])
                 : std::filesystem::path(PLOVANE_SOURCE_DIR) / "data" / "icons";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (IconStrip s : {IconStrip::kPrimary, IconStrip::kAlternate, IconStrip::kOverlay}) {
        const std::filesystem::path file = folder / plovane::IconFileName(s);
        if (!plovane::PaintIconStrip(s).save(QString::fromStdString(file.string()), "PNG")) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", file.string().c_str());
            return 1;
        }
        std::printf("%s\n", file.string().c_str());
    }
    return 0;
}
