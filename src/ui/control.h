#pragma once

#include <cstdint>
#include <string_view>

// A window's design is a table of controls. The table is plain data, free
// of the toolkit, so that the rules which compute with it (the scoreboard's
// scaling) can be tested on their own; ui::build() makes the widgets.
namespace ui {

// A design colour is written &H00BBGGRR&: blue in the high byte, red in the
// low one. kSystemWindow stands for the system's window colour and
// kTransparent for no background of its own.
using BgrColour = std::uint32_t;

inline constexpr BgrColour kSystemWindow = 0x80000005u;
inline constexpr BgrColour kTransparent = 0xFFFFFFFFu;
inline constexpr BgrColour kWhite = 0x00FFFFFFu;
inline constexpr BgrColour kBlack = 0x00000000u;
inline constexpr BgrColour kButtonGrey = 0x00E1D7D5; // the command buttons' face

// A colour given as (red, green, blue).
constexpr BgrColour rgb(int red, int green, int blue)
{
    return BgrColour(red) | (BgrColour(green) << 8) | (BgrColour(blue) << 16);
}

enum class Kind {
    Frame, // container; its caption is drawn in the top border
    Label,
    BoardLabel, // a scoreboard label: sized to its text, clickable
    FittedText, // a text in a fixed box: wrapped and shrunk until it fits, centred
    Shape,      // filled rectangle
    RoundShape, // filled rectangle with rounded corners
    Picture,    // SVG stretched to its box
    Option,     // radio button, one group per container
    Check,
    Text,   // one-line edit field
    Combo,  // drop-down list; its text is its accessible name
    Tree,   // a list of rows in columns, grouped; its text: the column headers, split by '|'
    Button, // the program's push button
    Line,   // from (left, top) to (left + width, top + height)
};

struct Font {
    std::string_view family;
    double points = 0;
    bool bold = false;
};

inline constexpr Font kNoFont{};
inline constexpr Font kArial825Bold{"Arial", 8.25, true};
inline constexpr Font kArial675Bold{"Arial", 6.75, true};
inline constexpr Font kArial9Bold{"Arial", 9, true};
inline constexpr Font kArial975Bold{"Arial", 9.75, true};

enum class Align { Left, Centre };

struct Control {
    std::string_view name; // the widget's objectName
    Kind kind;
    std::string_view parent;      // empty: the window's client area
    int left, top, width, height; // twips, relative to the parent
    std::string_view text = {};   // caption or initial text
    Font font = kNoFont;
    BgrColour fore = kBlack;       // text, or a shape's border
    BgrColour back = kTransparent; // background, or a shape's fill
    int border = 0;                // frame: draws a border if set; shape: pixels
    Align align = Align::Left;
    std::string_view picture = {}; // resource path of a picture
    bool hidden = false;           // not shown in the design
};

} // namespace ui
