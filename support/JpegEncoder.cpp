#include "support/JpegEncoder.h"

#include <memory>

#include "support/JpegErrors.h"

namespace {

// Collects the compressed stream straight into a QByteArray, so no buffer of the library's
// own has to be freed on the error path.
struct ByteArrayDestination {
    jpeg_destination_mgr pub;
    QByteArray* out;
    JOCTET buffer[1 << 16];

    static void init(j_compress_ptr cinfo) { self(cinfo)->reset(); }
    static boolean emptyBuffer(j_compress_ptr cinfo) {
        ByteArrayDestination* d = self(cinfo);
        d->out->append(reinterpret_cast<const char*>(d->buffer), qsizetype(sizeof d->buffer));
        d->reset();
        return TRUE;
    }
    static void term(j_compress_ptr cinfo) {
        ByteArrayDestination* d = self(cinfo);
        const size_t used = sizeof d->buffer - d->pub.free_in_buffer;
        d->out->append(reinterpret_cast<const char*>(d->buffer), qsizetype(used));
    }

  private:
    static ByteArrayDestination* self(j_compress_ptr cinfo) {
        return reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    }
    void reset() {
        pub.next_output_byte = buffer;
        pub.free_in_buffer = sizeof buffer;
    }
};

}  // namespace

QByteArray EncodeJpeg(const QImage& picture, int quality, QString* error) {
    if (picture.isNull()) {
        if (error) *error = QStringLiteral("Empty picture");
        return QByteArray();
    }
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo{};
    JpegErrorManager errors{};
    cinfo.err = errors.install();
    // Everything the error path touches lives on the heap and is set up before setjmp.
    const auto out = std::make_unique<QByteArray>();
    const auto destination = std::make_unique<ByteArrayDestination>();
    destination->out = out.get();
    destination->pub.init_destination = ByteArrayDestination::init;
    destination->pub.empty_output_buffer = ByteArrayDestination::emptyBuffer;
    destination->pub.term_destination = ByteArrayDestination::term;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        if (error) *error = errors.text();
        return QByteArray();
    }
    jpeg_create_compress(&cinfo);
    cinfo.dest = &destination->pub;
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);  // baseline, YCbCr, standard Huffman tables
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg only reads the rows; its API just lacks const.
        JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::move(*out);
}
