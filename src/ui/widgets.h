#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QSvgRenderer;

// The plain controls of the designs that Qt has no ready widget for.
namespace ui {

// A container with a white face, an optional thin border and an optional
// caption set into the top border. Its children are clipped to it.
class Frame : public QWidget {
    Q_OBJECT
    // The caption, readable by tools and screen readers (also as the
    // accessible name).
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit Frame(QWidget *parent = nullptr);
    void setText(const QString &caption);
    QString text() const { return m_caption; }
    void setBorder(bool border);
    void setFace(const QColor &face);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_face = Qt::white;
    bool m_border = false;
};

// A filled rectangle, square or with rounded corners, with a border drawn
// inside its edge.
class Shape : public QWidget {
    Q_OBJECT
public:
    Shape(bool rounded, QWidget *parent = nullptr);
    void setFill(const QColor &fill);
    void setBorder(const QColor &colour, int width);
    QColor fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill = Qt::white;
    QColor m_borderColour = Qt::black;
    int m_borderWidth = 0;
    bool m_rounded;
};

// A vector picture stretched to the widget's box.
class Picture : public QWidget {
    Q_OBJECT
public:
    explicit Picture(QWidget *parent = nullptr);
    void setSource(const QString &resource);
    QString source() const { return m_source; }
    bool isValid() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_source;
    QSvgRenderer *m_renderer;
};

// A label that takes the size of its text, as the scoreboard's labels do.
// When its text or font changes it keeps its left edge or, centred, its
// middle. Writing a text repaints only the label (and, where its size
// changes, what it uncovers). Font sizes are kept to what the font system
// renders safely. A click on it emits clicked().
class AutoLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    // Centred: it grows and shrinks about its middle; else from its left edge.
    AutoLabel(bool centred, QWidget *parent);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // The font's size in points, clamped to the safe range.
    void setPoints(double points);
    void setCentred(bool centred);
    bool isCentred() const { return m_centred; }
    void setTextColour(const QColor &colour);
    QColor textColour() const { return m_colour; }
    // An invalid colour: transparent.
    void setBackground(const QColor &colour);

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void fitToText();

    QString m_text;
    QColor m_colour = Qt::black;
    QColor m_background;
    bool m_centred;
    bool m_pressed = false;
};

// A text in a box of its own, centred, as the scoreboard shows a performer's
// name: it wraps at word breaks and shrinks from its font's size until it
// fits, down to a quarter of it; what still does not fit is broken anywhere
// and cut at the box's edge. Nothing is ever drawn outside the box.
class FittedLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit FittedLabel(QWidget *parent);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // The largest size, in points, clamped to the safe range.
    void setPoints(double points);
    void setTextColour(const QColor &colour);
    QColor textColour() const { return m_colour; }
    // The font the text is drawn in, fitted to the box.
    QFont fittedFont() const { return m_fitted; }
    // The rectangle the text takes in the box, in the widget's coordinates.
    QRectF textArea() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fit();

    QString m_text;
    QColor m_colour = Qt::black;
    QFont m_fitted;
    int m_flags = Qt::AlignCenter | Qt::TextWordWrap;
};

// A straight line; the widget spans the line's box.
class Line : public QWidget {
    Q_OBJECT
public:
    explicit Line(QWidget *parent = nullptr);
    void setColour(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour = Qt::black;
};

} // namespace ui
