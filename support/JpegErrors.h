#pragma once

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include <QString>

// libjpeg reports errors through a callback that must not return; it jumps back to the
// caller's setjmp with the library's own message. Shared by the decoder and the encoder.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];

    // Installs the manager into a (de)compressor's error field.
    jpeg_error_mgr* install() {
        jpeg_std_error(&pub);
        pub.error_exit = onError;
        pub.emit_message = onMessage;
        return &pub;
    }
    QString text() const { return QString::fromLocal8Bit(message); }

  private:
    static void onError(j_common_ptr info) {
        auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
        (*info->err->format_message)(info, manager->message);
        longjmp(manager->jump, 1);
    }
    static void onMessage(j_common_ptr, int) {}  // warnings of damaged data are not errors here
};
