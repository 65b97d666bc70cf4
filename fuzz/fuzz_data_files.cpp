// The readers of files given as data: the input is a file's bytes (a data file, or a PNG, SVG
// or PDF with the data toven keeps in it, whole or damaged), read and set as an argument that
// names the file is. A file is set whole or refused with a message, and a refused one changes
// no item. The input as a text is also kept in each kind of picture, and wherever it can be
// kept it comes back byte for byte.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/app_data.h"
#include "app/files/data_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/picture_data.h"

using namespace toven;

namespace {

// A PNG's signature, header chunk and end chunk: all that a kept text needs around it.
const std::string bare_png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) +
                             std::string(13 + 4, '\x01') + std::string("\0\0\0\0IEND", 8) +
                             "\xAE\x42\x60\x82";
const std::string bare_svg =
    "<?xml version=\"1.0\"?>\n<svg width=\"2\" xmlns=\"http://www.w3.org/2000/svg\">\n</svg>\n";

const std::string& scratch_file();

void remove_scratch() {
    const std::string& file = scratch_file();
    std::remove(file.c_str());
    ::rmdir(file.substr(0, file.rfind('/')).c_str());
}

// Kept on the heap for good, so that remove_scratch can still read it at exit.
const std::string& scratch_file() {
    static const std::string* file = [] {
        // In memory where there is a memory file system: a file rewritten on a disk's file
        // system for every input is flushed to the disk each time.
        std::string pattern = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                              "/toven-fuzz-XXXXXX";
        const char* directory = ::mkdtemp(pattern.data());
        if (directory == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        const auto* path = new std::string(std::string(directory) + "/data");
        std::atexit(remove_scratch);
        return path;
    }();
    return *file;
}

void write_scratch(std::string_view bytes) {
    std::FILE* file = std::fopen(scratch_file().c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::perror("scratch file");
        std::abort();
    }
}

void check_file_is_set_whole_or_not_at_all(std::string_view bytes) {
    AppData state;
    const std::string before = data_text(state);
    write_scratch(bytes);
    const DataFile file = read_data_file(scratch_file());
    const auto refusal = apply_data_file(state, file);
    if (refusal && refusal->message.empty()) {
        fuzz::fail("a refusal without a message", std::string(bytes));
    }
    if (refusal && data_text(state) != before) {
        fuzz::fail("a refused file changed the data: " + refusal->message, std::string(bytes));
    }
}

void check_kept_text_comes_back(const std::string& text) {
    const bool xml_fit = platform::xml_unfit(text).empty();
    const struct {
        bool fits;
        std::string picture;
    } pictures[] = {
        {true, platform::png_with_text(bare_png, text)},
        {xml_fit, xml_fit ? platform::svg_with_text(bare_svg, text) : std::string()},
        {xml_fit, xml_fit ? "%PDF-1.4\n" + platform::xmp_with_text(text) : std::string()},
    };
    for (const auto& kept : pictures) {
        if (kept.fits && platform::picture_text(kept.picture).text != text) {
            fuzz::fail("a kept text did not come back", text);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    check_file_is_set_whole_or_not_at_all(bytes);
    // A text with a NUL is refused on reading by design; the rest must survive the round trip.
    if (bytes.find('\0') == std::string::npos) {
        check_kept_text_comes_back(bytes);
    }
    return 0;
}
