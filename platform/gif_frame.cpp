#include "platform/gif_frame.h"

#include <algorithm>
#include <array>

#include "platform/colour.h"
#include "platform/programmer_error.h"

namespace toven::platform {

namespace {

// Codes are at most 12 bits: when the table has given out the last one, it starts anew.
constexpr unsigned max_code = 4095;

// Strings of indices by a pair of numbers (a string's code, or a run's length, and the index
// that follows), in an open-addressed hash table twice the size of the most strings it holds:
// a look-up is a probe or two, and the table is small enough to be made for every frame and
// to stay in the processor's cache.
class StringTable {
  public:
    StringTable() : keys_(slots), codes_(slots) { clear(); }

    void clear() { std::fill(keys_.begin(), keys_.end(), empty); }

    // The code of the pair, or 0 (never the code of a string of two).
    unsigned find(unsigned first, unsigned index) const {
        const std::uint32_t key = first << 8 | index;
        const std::size_t slot = slot_of(key);
        return keys_[slot] == key ? codes_[slot] : 0;
    }
    void insert(unsigned first, unsigned index, unsigned code) {
        const std::uint32_t key = first << 8 | index;
        const std::size_t slot = slot_of(key);
        keys_[slot] = key;
        codes_[slot] = static_cast<std::uint16_t>(code);
    }

  private:
    static constexpr int slot_bits = 13;
    static constexpr std::size_t slots = std::size_t{1} << slot_bits;
    static constexpr std::uint32_t empty = 0xffffffffu;

    // The slot that holds `key`, or the free one it would take.
    std::size_t slot_of(std::uint32_t key) const {
        std::size_t slot = (key * 2654435761u) >> (32 - slot_bits);
        while (keys_[slot] != empty && keys_[slot] != key) {
            slot = (slot + 1) & (slots - 1);
        }
        return slot;
    }

    std::vector<std::uint32_t> keys_;
    std::vector<std::uint16_t> codes_;
};

// Codes packed into bytes least significant bit first, as GIF reads them.
class CodeWriter {
  public:
    void put(unsigned code, int size) {
        pending_ |= static_cast<std::uint64_t>(code) << pending_bits_;
        pending_bits_ += size;
        while (pending_bits_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_ & 0xff));
            pending_ >>= 8;
            pending_bits_ -= 8;
        }
    }
    std::vector<std::uint8_t> finish() {
        if (pending_bits_ > 0) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_ & 0xff));
        }
        return std::move(bytes_);
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t pending_ = 0;
    int pending_bits_ = 0;
};

// The fewest bits (at least 1) that number every colour of the palette.
int palette_bits(std::size_t colours) {
    int bits = 1;
    while ((std::size_t{1} << bits) < colours) {
        ++bits;
    }
    return bits;
}

// GIF's LZW compression of a stream of indices, each below 2^index_bits. Most of a plot is
// long runs of one colour, and a run's strings are also kept by their colour and length: the
// next look-up then does not wait for the one before it, which halves the time a pixel.
class LzwCoder {
  public:
    explicit LzwCoder(int index_bits)
        // A GIF's smallest code size is 2, even for two colours.
        : min_code_size_(std::max(2, index_bits)), clear_(1u << min_code_size_) {
        start_table();
        writer_.put(clear_, code_size_);
    }

    int min_code_size() const { return min_code_size_; }

    void add(unsigned index) {
        if (run_length_ == 0) {
            start_string(index);
            return;
        }
        const bool in_run = run_length_ > 0 && index == run_index_;
        if (const unsigned code =
                in_run ? runs_.find(run_length_ + 1, index) : strings_.find(prefix_, index);
            code != 0) {
            prefix_ = code;
            run_length_ = in_run ? run_length_ + 1 : -1;
            return;
        }
        writer_.put(prefix_, code_size_);
        learn(index, in_run);
        start_string(index);
    }

    // As `count` times add(index). Within a run, every length up to the longest known
    // (lengths are learned one longer at a time) is found without a look-up a pixel.
    void add_run(unsigned index, std::size_t count) {
        while (count > 0) {
            const int longest = longest_run_[index];
            if (run_length_ > 0 && index == run_index_ && run_length_ < longest) {
                const int taken = static_cast<int>(
                    std::min<std::size_t>(count, static_cast<std::size_t>(longest - run_length_)));
                run_length_ += taken;
                count -= static_cast<std::size_t>(taken);
                prefix_ = runs_.find(static_cast<unsigned>(run_length_), index);
                continue;
            }
            add(index);
            --count;
        }
    }

    std::vector<std::uint8_t> finish() {
        if (run_length_ != 0) {
            writer_.put(prefix_, code_size_);
        }
        writer_.put(clear_ + 1, code_size_);
        return writer_.finish();
    }

  private:
    void start_table() {
        code_size_ = min_code_size_ + 1;
        last_code_ = clear_ + 1;
        longest_run_.fill(1);
    }
    void start_string(unsigned index) {
        prefix_ = index;
        run_index_ = index;
        run_length_ = 1;
    }
    // The string just written followed by `index` takes the next code.
    void learn(unsigned index, bool in_run) {
        strings_.insert(prefix_, index, ++last_code_);
        if (in_run) {
            runs_.insert(run_length_ + 1, index, last_code_);
            longest_run_[index] = run_length_ + 1;
        }
        // The reader widens its codes once the table outgrows them; so does the writer.
        if (last_code_ >= (1u << code_size_)) {
            ++code_size_;
        }
        if (last_code_ == max_code) {
            writer_.put(clear_, code_size_);
            strings_.clear();
            runs_.clear();
            start_table();
        }
    }

    int min_code_size_;
    unsigned clear_;
    StringTable strings_;                 // by the code of the string and the index that follows it
    StringTable runs_;                    // a run's strings by their length and colour
    std::array<int, 256> longest_run_{};  // of each colour in runs_, 1 for none
    CodeWriter writer_;
    int code_size_ = 0;
    unsigned last_code_ = 0;
    unsigned prefix_ = 0;  // the code of the string read so far
    unsigned run_index_ = 0;
    // The length of that string when it is a run of run_index_, -1 when it is not, 0 before
    // the first index.
    int run_length_ = 0;
};

// The LZW codes of `indices` as a GIF image's data: the minimum code size, then the codes
// packed into sub-blocks of at most 255 bytes, then the empty block that ends them. Every
// index is below 2^palette_bits.
std::vector<std::uint8_t> compress_gif_indices(const std::vector<std::uint8_t>& indices,
                                               int palette_bits) {
    LzwCoder coder(palette_bits);
    for (std::size_t start = 0; start < indices.size();) {
        const std::uint8_t index = indices[start];
        std::size_t end = start + 1;
        while (end < indices.size() && indices[end] == index) {
            ++end;
        }
        coder.add_run(index, end - start);
        start = end;
    }
    const std::vector<std::uint8_t> codes = coder.finish();
    std::vector<std::uint8_t> data;
    data.reserve(codes.size() + codes.size() / 255 + 3);
    data.push_back(static_cast<std::uint8_t>(coder.min_code_size()));
    for (std::size_t start = 0; start < codes.size(); start += 255) {
        const std::size_t length = std::min<std::size_t>(255, codes.size() - start);
        data.push_back(static_cast<std::uint8_t>(length));
        data.insert(data.end(), codes.begin() + static_cast<std::ptrdiff_t>(start),
                    codes.begin() + static_cast<std::ptrdiff_t>(start + length));
    }
    data.push_back(0);
    return data;
}

}  // namespace

void put_gif_word(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xff));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

std::vector<std::uint8_t> encode_gif_frame(const IndexedColours& colours, int width, int height,
                                           int centiseconds) {
    const int bits = palette_bits(colours.palette.size());
    TOVEN_EXPECT(
        colours.palette.size() <= max_palette_colours &&
            colours.indices.size() == std::size_t(width) * std::size_t(height) &&
            std::all_of(colours.indices.begin(), colours.indices.end(),
                        [&](std::uint8_t index) { return index < colours.palette.size(); }),
        "a GIF frame has an index for each pixel into its palette of at most 256 colours");
    std::vector<std::uint8_t> out;
    // The graphic control block: leave the frame in place, no transparent colour.
    constexpr std::uint8_t do_not_dispose = 1 << 2;
    out.insert(out.end(), {0x21, 0xf9, 0x04, do_not_dispose});
    put_gif_word(out, centiseconds);
    out.insert(out.end(), {0x00, 0x00});
    // The image block at the top left, with a palette of 2^bits colours of its own.
    out.push_back(0x2c);
    put_gif_word(out, 0);
    put_gif_word(out, 0);
    put_gif_word(out, width);
    put_gif_word(out, height);
    out.push_back(static_cast<std::uint8_t>(0x80 | (bits - 1)));
    for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
        const ColourRef colour = i < colours.palette.size() ? colours.palette[i] : 0;
        out.insert(out.end(), {static_cast<std::uint8_t>(red_of(colour)),
                               static_cast<std::uint8_t>(green_of(colour)),
                               static_cast<std::uint8_t>(blue_of(colour))});
    }
    const std::vector<std::uint8_t> data = compress_gif_indices(colours.indices, bits);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace toven::platform
