#pragma once

namespace rt {

inline constexpr int kTwipsPerInch = 1440;

// A box on the window: in twips in a description, in pixels once laid out.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; } // the first column past the box
    int bottom() const { return top + height; }
    bool contains(int x, int y) const {
        return x >= left && x < right() && y >= top && y < bottom();
    }
    friend bool operator==(const Box&, const Box&) = default;
};

// The one conversion from twips to pixels, at `dotsPerInch` logical dots per inch.
int twipsToPixels(int twips, double dotsPerInch);

// A box in twips as pixels. Its edges are converted, not its size, so that boxes that touch in
// twips still touch at any scale.
Box twipsToPixels(const Box& twips, double dotsPerInch);

} // namespace rt
