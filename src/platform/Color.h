#pragma once

namespace quorvane {

// A control colour: an RGB value, or the system's button-face colour.
struct Color {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool systemFace = false;

    static constexpr Color rgb(int r, int g, int b) { return Color{r, g, b, false}; }
    static constexpr Color buttonFace() { return Color{0, 0, 0, true}; }

    friend constexpr bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color green = Color::rgb(0, 255, 0);
inline constexpr Color red = Color::rgb(255, 0, 0);
inline constexpr Color white = Color::rgb(255, 255, 255);
inline constexpr Color black = Color::rgb(0, 0, 0);
inline constexpr Color highlight = Color::rgb(255, 224, 192);
inline constexpr Color face = Color::buttonFace();
} // namespace colors

} // namespace quorvane
