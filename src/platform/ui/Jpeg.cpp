// JPEG pictures, decoded with libjpeg.
#include "platform/ui/Graphics.h"
#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

struct Error_Manager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void On_Error(j_common_ptr Info)
{
    auto* Manager = reinterpret_cast<Error_Manager*>(Info->err);
    (*Info->err->format_message)(Info, Manager->Message);
    std::longjmp(Manager->Jump, 1);
}

void On_Message(j_common_ptr, int) {}

}  // namespace

bool Decode_JPEG(const std::string& Bytes, QImage* Image, std::string* Error)
{
    if (Bytes.empty()) {
        if (Error) *Error = "empty JPEG data";
        return false;
    }
    jpeg_decompress_struct Info;
    Error_Manager Manager;
    Info.err = jpeg_std_error(&Manager.Base);
    Manager.Base.error_exit = On_Error;
    Manager.Base.emit_message = On_Message;
    Manager.Message[0] = 0;
    QImage Out;
    std::vector<unsigned char> Row;
    if (setjmp(Manager.Jump)) {
        jpeg_destroy_decompress(&Info);
        if (Error) *Error = std::string("bad JPEG data: ") + Manager.Message;
        return false;
    }
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, reinterpret_cast<const unsigned char*>(Bytes.data()),
                 static_cast<unsigned long>(Bytes.size()));
    jpeg_read_header(&Info, TRUE);
    Info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&Info);
    const int W = static_cast<int>(Info.output_width), H = static_cast<int>(Info.output_height);
    if (W <= 0 || H <= 0 || W > 16384 || H > 16384 || Info.output_components != 3) {
        jpeg_destroy_decompress(&Info);
        if (Error) *Error = "unsupported JPEG size or colour layout";
        return false;
    }
    Out = QImage(W, H, QImage::Format_RGB32);
    Row.resize(static_cast<size_t>(W) * 3);
    while (Info.output_scanline < Info.output_height) {
        const int Y = static_cast<int>(Info.output_scanline);
        unsigned char* Rows[1] = {Row.data()};
        jpeg_read_scanlines(&Info, Rows, 1);
        auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(Y));
        for (int X = 0; X < W; ++X) Line[X] = qRgb(Row[X * 3], Row[X * 3 + 1], Row[X * 3 + 2]);
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    *Image = Out;
    return true;
}
