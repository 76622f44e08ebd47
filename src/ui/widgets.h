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
public:
    explicit Frame(QWidget *parent = nullptr);
    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }
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
