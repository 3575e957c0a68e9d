#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg must not return from error_exit; jumping back to decodeInto is the documented way out.
// decodeInto owns no object with a destructor between setjmp and the jump.
[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void silentOutput(j_common_ptr) {}

// Returns nullptr on success, else the libjpeg message.
const char* decodeInto(jpeg_decompress_struct* cinfo, ErrorManager* err, const unsigned char* data,
                       std::size_t size, QImage* out) {
    cinfo->err = jpeg_std_error(&err->pub);
    err->pub.error_exit = errorExit;
    err->pub.output_message = silentOutput;
    if (setjmp(err->jump)) {
        jpeg_destroy_decompress(cinfo);
        return err->message;
    }
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3) {
        std::snprintf(err->message, sizeof err->message, "unexpected component count %d",
                      cinfo->output_components);
        jpeg_destroy_decompress(cinfo);
        return err->message;
    }
    // Row buffer from libjpeg's pool: it is freed with the decompressor, also on the error path.
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 cinfo->output_width * 3, 1);
    *out = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
                  QImage::Format_RGB32);
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        jpeg_read_scanlines(cinfo, row, 1);
        auto* line = reinterpret_cast<QRgb*>(out->scanLine(y));
        for (JDIMENSION x = 0; x < cinfo->output_width; ++x)
            line[x] = qRgb(row[0][3 * x], row[0][3 * x + 1], row[0][3 * x + 2]);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return nullptr;
}

} // namespace

JpegImage::Result JpegImage::decode(const unsigned char* data, std::size_t size) {
    Result result;
    if (data == nullptr || size == 0) {
        result.error = QStringLiteral("empty JPEG data");
        return result;
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    QImage image;
    if (const char* message = decodeInto(&cinfo, &err, data, size, &image)) {
        result.error = QString::fromLocal8Bit(message);
        return result;
    }
    result.image = image;
    return result;
}
