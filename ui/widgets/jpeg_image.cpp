#include "ui/widgets/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace cadenzo {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return: it jumps back to the setjmp of the step that failed. The steps
// below hold only plain locals, so the jump skips no destructor.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

void OnMessage(j_common_ptr) {}  // warnings about damaged data are not shown

bool Begin(jpeg_decompress_struct& info, const QByteArray& bytes) {
    if (setjmp(reinterpret_cast<ErrorManager*>(info.err)->jump)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    return info.output_components == 3;
}

bool ReadRows(jpeg_decompress_struct& info, uchar* pixels, qsizetype bytesPerLine) {
    if (setjmp(reinterpret_cast<ErrorManager*>(info.err)->jump)) return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + bytesPerLine * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnFatalError;
    errors.pub.output_message = OnMessage;

    QImage image;
    if (Begin(info, bytes)) {
        image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                       QImage::Format_RGB888);
        if (image.isNull() || !ReadRows(info, image.bits(), image.bytesPerLine())) image = QImage();
    }
    jpeg_destroy_decompress(&info);  // also after a failed or partial creation
    return image;
}

}  // namespace cadenzo
