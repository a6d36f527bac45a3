#include "platform/gfx/codecs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace gfx {

namespace {

struct TJpegError {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    auto* e = reinterpret_cast<TJpegError*>(info->err);
    e->Base.format_message(info, e->Message);
    std::longjmp(e->Jump, 1);
}

// A warning means damaged or missing data, which the library would paint grey; we refuse the
// file instead, at once, so a truncated picture with a large header costs nothing.
void OnJpegMessage(j_common_ptr info, int level) {
    if (level < 0) OnJpegError(info);
}

void SetUpErrors(TJpegError& e) {
    jpeg_std_error(&e.Base);
    e.Base.error_exit = OnJpegError;
    e.Base.emit_message = OnJpegMessage;
    e.Message[0] = 0;
}

constexpr long kJpegBaseMemory = 64L << 20;
constexpr long kJpegMemoryPerByte = 1024;

}  // namespace

bool ReadJpeg(std::span<const std::uint8_t> data, TImage& image, std::string& error) {
    jpeg_decompress_struct info;
    TJpegError e;
    SetUpErrors(e);
    info.err = &e.Base;
    if (setjmp(e.Jump)) {
        jpeg_destroy_decompress(&info);
        error = std::string("Invalid JPEG image: ") + e.Message;
        return false;
    }
    jpeg_create_decompress(&info);
    // A progressive picture keeps all its coefficients while reading: no more than the data
    // can plausibly describe, so a small file with a huge claimed size is refused at once.
    info.mem->max_memory_to_use =
        kJpegBaseMemory + long(std::min<size_t>(data.size(), 1 << 20)) * kJpegMemoryPerByte;
    if (data.empty()) ERREXIT(&info, JERR_INPUT_EMPTY);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (std::int64_t(info.image_width) * info.image_height > kMaxImagePixels)
        ERREXIT(&info, JERR_IMAGE_TOO_BIG);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        ERREXIT(&info, JERR_CONVERSION_NOTIMPL);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    image.Width = int(info.output_width);
    image.Height = int(info.output_height);
    image.HasAlpha = false;
    image.BitCount = 24;
    // Grown row by row: a cut file fails at its end before the whole claimed size is taken.
    image.Pixels.clear();
    while (info.output_scanline < info.output_height) {
        const std::size_t at = std::size_t(info.output_scanline) * image.Width;
        image.Pixels.resize(at + std::size_t(image.Width));
        JSAMPROW row = reinterpret_cast<JSAMPROW>(image.Pixels.data() + at);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool WriteJpeg(const TImage& image, int quality, TBytes& out, std::string& error) {
    if (image.Width <= 0 || image.Height <= 0) {
        error = "JPEG image is empty";
        return false;
    }
    jpeg_compress_struct info;
    TJpegError e;
    SetUpErrors(e);
    info.err = &e.Base;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(e.Jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        error = std::string("Can't write the JPEG image: ") + e.Message;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.Width);
    info.image_height = JDIMENSION(image.Height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(reinterpret_cast<const JSAMPLE*>(
            image.Pixels.data() + std::size_t(info.next_scanline) * image.Width));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    out.assign(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return true;
}

}  // namespace gfx
