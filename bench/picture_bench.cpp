// Decoding a 12-megapixel album picture and drawing it into the main window's picture panel,
// against libjpeg's plain decode of the same file to memory.
#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "bench/Ratio.h"
#include "mainwindow/PictureView.h"
#include "store/FileIo.h"
#include "support/JpegDecoder.h"
#include "support/JpegEncoder.h"

namespace {

const QSize kPicture(4000, 3000);
const QSize kPanel(257, 225);  // ImagePanel; the picture keeps a 1-pixel margin inside it

// A photograph-like picture: smooth gradients with fine texture, so the entropy coder and
// the inverse transform have real work.
QByteArray makeJpeg() {
    QImage image(kPicture, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] =
                qRgb((x / 16 + y / 24) & 0xff, (x * 7 + y * 3) / 64 & 0xff, ((x ^ y) * 13) & 0xff);
    }
    return EncodeJpeg(image, kAlbumPictureQuality, nullptr);
}

const QString& pictureFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.path() + QStringLiteral("/Album.jpg");
        fileio::writeAtomic(p, makeJpeg());
        return p;
    }();
    return path;
}

void PlainDecode(benchmark::State& state) {
    const QString& path = pictureFile();  // made once, before any loop is timed
    for (auto _ : state) {
        const QByteArray data = fileio::readAll(path);
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr errors{};
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                     static_cast<unsigned long>(data.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.dct_method = JDCT_ISLOW;
        jpeg_start_decompress(&cinfo);
        const size_t stride = size_t(cinfo.output_width) * size_t(cinfo.output_components);
        std::vector<unsigned char> pixels(stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(PlainDecode)->Unit(benchmark::kMillisecond);

// What the main window does when an album is chosen: read, decode at best quality, draw
// scaled into the panel.
void DecodeAndShow(benchmark::State& state) {
    PictureView view(nullptr, 1);
    view.resize(kPanel);
    QImage screen(kPanel, QImage::Format_ARGB32_Premultiplied);
    const QString& path = pictureFile();
    for (auto _ : state) {
        const QImage picture = DecodeJpeg(fileio::readAll(path), nullptr);
        if (picture.size() != kPicture) state.SkipWithError("picture not decoded");
        view.setPicture(picture);
        view.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(DecodeAndShow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunWithRatios(argc, argv, {{"DecodeAndShow", "PlainDecode", 1.5}});
}
