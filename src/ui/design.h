#pragma once

#include "ui/colours.h"

#include <QString>
#include <QWidget>
#include <span>
#include <string_view>

// A window's design is a table of controls; build() makes the widgets.
namespace ui {

enum class Kind {
    Frame,      // container; its caption is drawn in the top border
    Label,
    Shape,      // filled rectangle
    RoundShape, // filled rectangle with rounded corners
    Picture,    // SVG stretched to its box
    Option,     // radio button, one group per container
    Check,
    Text,       // one-line edit field
    Button,     // the program's push button
    Line,       // from (left, top) to (left + width, top + height)
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

enum class Align { Left, Centre };

struct Control {
    std::string_view name;   // the widget's objectName
    Kind kind;
    std::string_view parent; // empty: the window's client area
    int left, top, width, height; // twips, relative to the parent
    std::string_view text = {};   // caption or initial text
    Font font = kNoFont;
    BgrColour fore = kBlack;      // text, or a shape's border
    BgrColour back = kTransparent; // background, or a shape's fill
    int border = 0;               // frame: 1 draws a border; shape: pixels
    Align align = Align::Left;
    std::string_view picture = {}; // resource path of a picture
};

// Stacking order of the rows of one table.
enum class Listed { BackToFront, FrontToBack };

// Creates the controls of `table` in `client` (parents must already exist,
// in `client` or earlier in the table). Within a container, windowed
// controls (frames, buttons, fields) stand above graphical ones (labels,
// shapes, pictures, lines), as they do in the design.
void build(QWidget *client, std::span<const Control> table, Listed order = Listed::BackToFront);

// A design text (name, caption) as a Qt string.
inline QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// The control built from the design row `name` somewhere inside `root`.
template <typename T = QWidget>
T *named(const QWidget *root, std::string_view name)
{
    T *widget = root->findChild<T *>(qs(name));
    Q_ASSERT_X(widget, "ui::named", "no control of that name");
    return widget;
}

} // namespace ui
