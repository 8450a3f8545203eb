// The floor of the full-screen save: the least work that turns the screen into a PNG file — one
// MIT-SHM capture of the root, a copy out of the segment, libpng at zlib level 1 with its default
// filters, one write — in a process that is already running. Prints the milliseconds of that
// work alone (process start not included), so a running Pictro is compared with work, not with
// start-up. Usage: bench_save_floor OUT.png
#include <png.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <vector>

namespace {

bool writePng(const char* path, const std::vector<unsigned char>& bgrx, int width, int height) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(bgrx.data() +
                                                 static_cast<size_t>(y) * static_cast<size_t>(width) * 4));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const int width = screen->width_in_pixels, height = screen->height_in_pixels;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    auto* memory = static_cast<unsigned char*>(shmat(id, nullptr, 0));
    const uint32_t segment = xcb_generate_id(c);
    xcb_shm_attach(c, segment, static_cast<uint32_t>(id), 0);

    const auto start = std::chrono::steady_clock::now();
    free(xcb_shm_get_image_reply(c,
                                 xcb_shm_get_image(c, screen->root, 0, 0, static_cast<uint16_t>(width),
                                                   static_cast<uint16_t>(height), ~0u,
                                                   XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0),
                                 nullptr));
    std::vector<unsigned char> pixels(memory, memory + bytes);
    const bool ok = writePng(argv[1], pixels, width, height);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    xcb_shm_detach(c, segment);
    shmdt(memory);
    shmctl(id, IPC_RMID, nullptr);
    xcb_disconnect(c);
    if (!ok) return 1;
    std::printf("%.3f\n", ms);
    return 0;
}
