#include "ui/widgets.h"

#include "ui/fontsize.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace ui {

Frame::Frame(QWidget *parent) : QWidget(parent) {}

void Frame::setText(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption);
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
    // Set once, while the window is built and before it shows.
    m_borderColour = colour;
    m_borderWidth = width;
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
    QPainter painter(this); // the renderer smooths the edges itself
    m_renderer->render(&painter, QRectF(rect()));
}

AutoLabel::AutoLabel(bool centred, QWidget *parent) : QWidget(parent), m_centred(centred) {}

void AutoLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    fitToText();
    update();
}

void AutoLabel::setPoints(double points)
{
    QFont font = this->font();
    font.setPointSizeF(safePoints(points));
    setFont(font); // refits, see changeEvent()
}

void AutoLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        fitToText();
        update();
    }
    QWidget::changeEvent(event);
}

void AutoLabel::setCentred(bool centred) { m_centred = centred; }

void AutoLabel::setTextColour(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void AutoLabel::setBackground(const QColor &colour)
{
    m_background = colour;
    update();
}

QSize AutoLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_text), metrics.height());
}

void AutoLabel::fitToText()
{
    const QSize size = sizeHint();
    if (size == this->size())
        return;
    const int left = m_centred ? x() + (width() - size.width()) / 2 : x();
    setGeometry(left, y(), size.width(), size.height());
}

void AutoLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background.isValid())
        painter.fillRect(rect(), m_background);
    painter.setPen(m_colour);
    painter.drawText(QPointF(0, QFontMetricsF(font()).ascent()), m_text);
}

void AutoLabel::mousePressEvent(QMouseEvent *event) { m_pressed = event->button() == Qt::LeftButton; }

void AutoLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

FittedLabel::FittedLabel(QWidget *parent) : QWidget(parent) { fit(); }

void FittedLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    fit();
}

void FittedLabel::setPoints(double points)
{
    QFont font = this->font();
    font.setPointSizeF(safePoints(points));
    setFont(font); // refits, see changeEvent()
}

void FittedLabel::setTextColour(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void FittedLabel::resizeEvent(QResizeEvent *event)
{
    fit();
    QWidget::resizeEvent(event);
}

void FittedLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fit();
    QWidget::changeEvent(event);
}

QRectF FittedLabel::textArea() const { return QFontMetricsF(m_fitted).boundingRect(QRectF(rect()), m_flags, m_text); }

void FittedLabel::fit()
{
    const QRectF box(rect());
    QFont font = this->font();
    auto fits = [&](double points, int flags) {
        font.setPointSizeF(points);
        const QRectF needs = QFontMetricsF(font).boundingRect(box, flags, m_text);
        return needs.width() <= box.width() && needs.height() <= box.height();
    };
    const double largest = font.pointSizeF();
    const int wrapped = Qt::AlignCenter | Qt::TextWordWrap;
    const double points = fittedPoints(largest, largest / 4, [&](double p) { return fits(p, wrapped); });
    // A word too long for the box even at the smallest size is broken anywhere.
    m_flags = fits(points, wrapped) ? wrapped : Qt::AlignCenter | Qt::TextWrapAnywhere;
    font.setPointSizeF(points);
    m_fitted = font;
    update();
}

void FittedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(m_fitted);
    painter.setPen(m_colour);
    painter.drawText(rect(), m_flags, m_text);
}

Line::Line(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

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
