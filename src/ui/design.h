#pragma once

#include "ui/colours.h"
#include "ui/control.h"

#include <QString>
#include <QWidget>
#include <span>
#include <string_view>

namespace ui {

// The most characters a text field holds: more than the longest path a
// file system takes, few enough that a huge paste is handled at once.
inline constexpr int kFieldLimit = 4096;

// Stacking order of the rows of one table.
enum class Listed { BackToFront, FrontToBack };

// Creates the controls of `table` in `client` (parents must already exist,
// in `client` or earlier in the table). Within a container, windowed
// controls (frames, buttons, fields) stand above graphical ones (labels,
// shapes, pictures, lines), as they do in the design.
void build(QWidget *client, std::span<const Control> table, Listed order = Listed::BackToFront);

// Makes `window` a white window of a fixed client size (twips), named and
// titled, that is gone once closed, and builds `table` in it.
void buildFixedWindow(QWidget *window, std::string_view name, const QString &title, int width, int height,
                      std::span<const Control> table);

// A design text (name, caption) as a Qt string.
inline QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// The control built from the design row `name` somewhere inside `root`.
template <typename T = QWidget> T *named(const QWidget *root, std::string_view name)
{
    T *widget = root->findChild<T *>(qs(name));
    Q_ASSERT_X(widget, "ui::named", "no control of that name");
    return widget;
}

} // namespace ui
