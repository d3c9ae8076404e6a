#include "mainwindow/JpegDecoder.h"

#include <jpeglib.h>
#include <csetjmp>
#include <cstdio>
#include <memory>

namespace {

// libjpeg reports errors through a callback that must not return; it jumps back here with
// the library's own message.
struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr, int) {}  // warnings of damaged data are not errors here

}  // namespace

bool LooksLikeJpeg(const QByteArray& data) {
    return data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 &&
           uchar(data[2]) == 0xFF;
}

QImage DecodeJpeg(const QByteArray& data, QString* error) {
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = onError;
    errors.pub.emit_message = onMessage;
    // The picture lives on the heap: the holder itself is never changed after setjmp, so a
    // jump back leaves it well defined.
    const auto image = std::make_unique<QImage>();
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        if (error) *error = QString::fromLocal8Bit(errors.message);
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
