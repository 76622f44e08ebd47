#include "ui/design.h"

#include "ui/pushbutton.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

namespace ui {

namespace {

QColor colour(BgrColour bgr, const QWidget *widget)
{
    // The system's window colour is the face of fields and documents.
    return bgr == kSystemWindow ? widget->palette().color(QPalette::Base) : toQColor(bgr);
}

bool isGraphical(Kind kind)
{
    return kind == Kind::Label || kind == Kind::BoardLabel || kind == Kind::FittedText || kind == Kind::Shape
        || kind == Kind::RoundShape || kind == Kind::Picture || kind == Kind::Line;
}

QWidget *parentOf(QWidget *client, const Control &row)
{
    if (row.parent.empty())
        return client;
    QWidget *parent = client->findChild<QWidget *>(qs(row.parent));
    Q_ASSERT_X(parent, "ui::build", "a parent must be built before its children");
    return parent ? parent : client;
}

QWidget *make(const Control &row, QWidget *parent)
{
    const QString text = qs(row.text);
    switch (row.kind) {
    case Kind::Frame: {
        auto *frame = new Frame(parent);
        frame->setText(text);
        frame->setBorder(row.border != 0);
        frame->setFace(row.back == kTransparent ? QColor(Qt::white) : colour(row.back, frame));
        return frame;
    }
    case Kind::Label: {
        auto *label = new QLabel(text, parent);
        label->setAlignment((row.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        if (row.border != 0)
            label->setFrameStyle(QFrame::Box | QFrame::Plain); // a single line around it
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour(row.fore, label));
        if (row.back != kTransparent) {
            palette.setColor(QPalette::Window, colour(row.back, label));
            label->setAutoFillBackground(true);
        }
        label->setPalette(palette);
        return label;
    }
    case Kind::BoardLabel: {
        auto *label = new AutoLabel(row.align == Align::Centre, parent);
        label->setText(text);
        label->setTextColour(colour(row.fore, label));
        if (row.back != kTransparent)
            label->setBackground(colour(row.back, label));
        return label;
    }
    case Kind::FittedText: {
        auto *label = new FittedLabel(parent);
        label->setText(text);
        label->setTextColour(colour(row.fore, label));
        return label;
    }
    case Kind::Shape:
    case Kind::RoundShape: {
        auto *shape = new Shape(row.kind == Kind::RoundShape, parent);
        shape->setFill(colour(row.back, shape));
        shape->setBorder(colour(row.fore, shape), row.border);
        return shape;
    }
    case Kind::Picture: {
        auto *picture = new Picture(parent);
        picture->setSource(qs(row.picture));
        return picture;
    }
    case Kind::Option:
        return new QRadioButton(text, parent);
    case Kind::Check:
        return new QCheckBox(text, parent);
    case Kind::Text: {
        auto *field = new QLineEdit(text, parent);
        field->setMaxLength(kFieldLimit);
        if (row.align == Align::Centre)
            field->setAlignment(Qt::AlignCenter);
        return field;
    }
    case Kind::Combo: {
        auto *combo = new QComboBox(parent);
        combo->setAccessibleName(text);
        return combo;
    }
    case Kind::Tree: {
        auto *tree = new QTreeWidget(parent);
        tree->setHeaderLabels(text.split(QLatin1Char('|')));
        return tree;
    }
    case Kind::Button: {
        auto *button = new PushButton(parent);
        button->setText(text);
        button->setFace(toQColor(row.back));
        if (!row.picture.empty())
            button->setPicture(qs(row.picture));
        return button;
    }
    case Kind::Line: {
        auto *line = new Line(parent);
        line->setColour(colour(row.fore, line));
        return line;
    }
    }
    return nullptr;
}

QRect placeOf(const Control &row, const QWidget *widget)
{
    if (row.kind == Kind::Option && row.text.empty()) {
        // A button without caption is its round indicator alone: give the
        // indicator its full size, centred on the design box.
        QRect box = pxRect(row.left, row.top, row.width, row.height);
        const int indicator = widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, widget);
        if (box.height() < indicator + 2)
            box.adjust(0, -(indicator + 2 - box.height()) / 2, 0, (indicator + 3 - box.height()) / 2);
        return box;
    }
    if (row.kind != Kind::Line)
        return pxRect(row.left, row.top, row.width, row.height);
    // A line's box: at least one pixel across, around the line.
    QRect box = pxRect(row.left, row.top, row.width, row.height).normalized();
    if (box.height() == 0)
        box = QRect(box.left(), box.top(), box.width(), 1);
    if (box.width() == 0)
        box = QRect(box.left(), box.top(), 1, box.height());
    return box;
}

} // namespace

void build(QWidget *client, std::span<const Control> table, Listed order)
{
    std::vector<std::pair<const Control *, QWidget *>> made;
    made.reserve(table.size());
    for (const Control &row : table) {
        QWidget *widget = make(row, parentOf(client, row));
        widget->setObjectName(qs(row.name));
        widget->setGeometry(placeOf(row, widget));
        if (row.font.points > 0) {
            QFont font(qs(row.font.family));
            font.setPointSizeF(row.font.points);
            font.setBold(row.font.bold);
            widget->setFont(font);
        }
        made.emplace_back(&row, widget);
    }

    // Stack the rows as listed, then lift the windowed controls above the
    // graphical ones of their container.
    if (order == Listed::FrontToBack) {
        std::for_each(made.rbegin(), made.rend(), [](const auto &entry) { entry.second->raise(); });
    }
    for (const auto &[row, widget] : made)
        if (!isGraphical(row->kind))
            widget->raise();
    for (const auto &[row, widget] : made)
        widget->setVisible(!row->hidden);
}

void buildFixedWindow(QWidget *window, std::string_view name, const QString &title, int width, int height,
                      std::span<const Control> table)
{
    window->setObjectName(qs(name));
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setFixedSize(px(width), px(height));
    build(window, table);
}

} // namespace ui
