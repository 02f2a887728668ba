#pragma once
// A control slot of a skin description file: "name,x,y,width,height,text".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gm::skin {

struct ControlRecord {
    // The fixed record keeps 40 and 404 bytes, terminator included.
    static constexpr std::size_t kNameMax = 39;
    static constexpr std::size_t kTextMax = 403;

    std::string name;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string text; // hover text

    // Sizes saturate like the edges, so edges at opposite ends of the range
    // never overflow.
    int32_t Width() const { return Span(left, right); }
    int32_t Height() const { return Span(top, bottom); }
    bool Empty() const { return Width() <= 0 || Height() <= 0; }

  private:
    static int32_t Span(int32_t from, int32_t to) {
        const int64_t d = int64_t(to) - from;
        return d > INT32_MAX ? INT32_MAX : d < INT32_MIN ? INT32_MIN : int32_t(d);
    }
};

// Never fails: whatever is missing reads as empty or 0.
ControlRecord ParseControlRecord(std::string_view value);

} // namespace gm::skin
