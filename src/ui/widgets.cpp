#include "ui/widgets.h"

#include <QPainter>
#include <QSvgRenderer>

namespace ui {

Frame::Frame(QWidget *parent) : QWidget(parent) {}

void Frame::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void Frame::setBorder(bool border)
{
    m_border = border;
    update();
}

void Frame::setFace(const QColor &face)
{
    m_face = face;
    update();
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_face);
    if (!m_border && m_caption.isEmpty())
        return;

    const QFontMetrics metrics(font());
    const int captionTop = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    if (m_border) {
        painter.setPen(QColor(0xA0, 0xA0, 0xA0));
        painter.drawRect(rect().adjusted(0, captionTop, -1, -1));
    }
    if (!m_caption.isEmpty()) {
        const int inset = 6;
        QRect textBox(inset, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
        painter.fillRect(textBox, m_face);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(textBox, Qt::AlignCenter, m_caption);
    }
}

Shape::Shape(bool rounded, QWidget *parent) : QWidget(parent), m_rounded(rounded)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFill(const QColor &fill)
{
    m_fill = fill;
    update();
}

void Shape::setBorder(const QColor &colour, int width)
{
    m_borderColour = colour;
    m_borderWidth = width;
    update();
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, m_rounded);
    const qreal half = m_borderWidth / 2.0;
    const QRectF box = QRectF(rect()).adjusted(half, half, -half, -half);
    painter.setBrush(m_fill);
    if (m_borderWidth > 0)
        painter.setPen(QPen(m_borderColour, m_borderWidth));
    else
        painter.setPen(Qt::NoPen);
    if (m_rounded) {
        const qreal radius = qMin(box.width(), box.height()) / 8.0;
        painter.drawRoundedRect(box, radius, radius);
    } else {
        painter.drawRect(box);
    }
}

Picture::Picture(QWidget *parent) : QWidget(parent), m_renderer(new QSvgRenderer(this)) {}

void Picture::setSource(const QString &resource)
{
    m_source = resource;
    m_renderer->load(resource);
    update();
}

bool Picture::isValid() const { return m_renderer->isValid(); }

void Picture::paintEvent(QPaintEvent *)
{
    if (!m_renderer->isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&painter, QRectF(rect()));
}

Line::Line(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setColour(const QColor &colour)
{
    m_colour = colour;
    update();
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_colour);
    if (width() >= height())
        painter.drawLine(0, height() / 2, width() - 1, height() / 2);
    else
        painter.drawLine(width() / 2, 0, width() / 2, height() - 1);
}

} // namespace ui
