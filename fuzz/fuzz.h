#pragma once
// What every fuzz target shares: reading the input piece by piece, records
// of exactly their own size on the heap (so the sanitizer sees any write
// past them), and invariant checks that stop the run with a message.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace gm::fuzz {

// An invariant the decoder must keep; a broken one ends the run as a crash.
#define GM_FUZZ_CHECK(cond, what)                                                                  \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "broken invariant at %s:%d: %s\n", __FILE__, __LINE__, what);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Two records that must be equal; a difference names its first offset.
#define GM_FUZZ_CHECK_SAME(a, b, what)                                                             \
    do {                                                                                           \
        if (!((a) == (b))) {                                                                       \
            std::fprintf(stderr, "broken invariant at %s:%d: %s (first difference at %zu)\n",      \
                         __FILE__, __LINE__, what, (a).FirstDifference(b));                        \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Shows bytes in hex on stderr, for the message of a broken invariant.
template <class Bytes> void Show(const char* label, const Bytes& bytes) {
    std::fprintf(stderr, "%s:", label);
    for (auto b : bytes)
        std::fprintf(stderr, " %02X", unsigned(b));
    std::fprintf(stderr, "\n");
}

// Takes the input from the front, never past its end.
class Input {
  public:
    Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t left() const { return size_ - pos_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(Byte()) << (8 * i);
        return v;
    }
    // Up to `n` bytes (fewer at the end of the input).
    std::vector<uint8_t> Bytes(std::size_t n) {
        n = n < left() ? n : left();
        std::vector<uint8_t> out(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return out;
    }
    std::vector<uint8_t> Rest() { return Bytes(left()); }
    std::string RestText() {
        const auto b = Rest();
        return std::string(b.begin(), b.end());
    }
    // A piece of a length given by the next byte.
    std::vector<uint8_t> Piece() { return Bytes(Byte()); }

  private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A record of exactly `size` bytes on the heap, filled from the input so
// decoders meet every kind of old content.
class Record {
  public:
    explicit Record(std::size_t size) : bytes_(new uint8_t[size]), size_(size) {
        std::memset(bytes_, 0, size);
    }
    Record(const Record& other) : Record(other.size_) { std::memcpy(bytes_, other.bytes_, size_); }
    Record& operator=(const Record&) = delete;
    ~Record() { delete[] bytes_; }

    uint8_t* data() { return bytes_; }
    const uint8_t* data() const { return bytes_; }
    std::size_t size() const { return size_; }
    bool operator==(const Record& other) const {
        return size_ == other.size_ && std::memcmp(bytes_, other.bytes_, size_) == 0;
    }
    std::size_t FirstDifference(const Record& other) const {
        std::size_t i = 0;
        while (i < size_ && i < other.size_ && bytes_[i] == other.bytes_[i])
            ++i;
        return i;
    }
    void Fill(const std::vector<uint8_t>& pattern) {
        if (pattern.empty() || size_ == 0)
            return;
        std::size_t have = pattern.size() < size_ ? pattern.size() : size_;
        std::memcpy(bytes_, pattern.data(), have);
        while (have < size_) { // the pattern over and over, doubling
            const std::size_t n = have < size_ - have ? have : size_ - have;
            std::memcpy(bytes_ + have, bytes_, n);
            have += n;
        }
    }

  private:
    uint8_t* bytes_;
    std::size_t size_;
};

} // namespace gm::fuzz
