#include "support/JpegDecoder.h"

#include <memory>

#include "support/JpegErrors.h"

bool LooksLikeJpeg(const QByteArray& data) {
    return data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 &&
           uchar(data[2]) == 0xFF;
}

QImage DecodeJpeg(const QByteArray& data, QString* error) {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors{};
    cinfo.err = errors.install();
    // The picture lives on the heap: the holder itself is never changed after setjmp, so a
    // jump back leaves it well defined.
    const auto image = std::make_unique<QImage>();
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        if (error) *error = errors.text();
        return QImage();
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.out_color_space = JCS_EXT_RGBX;  // straight into QImage's 32-bit RGB layout
    jpeg_start_decompress(&cinfo);
    *image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGBX8888);
    if (image->isNull()) {
        jpeg_destroy_decompress(&cinfo);
        if (error) *error = QStringLiteral("Out of memory");
        return QImage();
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image->scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return std::move(*image);
}
