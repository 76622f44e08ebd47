#include "ui/pushbutton.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace ui {

PushButton::PushButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void PushButton::setFace(const QColor &face)
{
    m_face = face;
    update();
}

void PushButton::setPicture(const QString &resource)
{
    m_picture = resource;
    if (!m_renderer)
        m_renderer = new QSvgRenderer(this);
    m_renderer->load(resource);
    update();
}

QSize PushButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text()) + 16, metrics.height() + 10);
}

void PushButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PushButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PushButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QColor face = m_face;
    if (!isEnabled())
        face = face.lighter(115);
    else if (isDown())
        face = face.darker(118);
    else if (m_hovered)
        face = face.lighter(106);

    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = 3.0;
    QPainterPath outline;
    outline.addRoundedRect(box, radius, radius);
    painter.fillPath(outline, face);
    // A faint light edge at the top gives the flat face a little body.
    painter.setPen(QPen(face.lighter(125), 1));
    painter.drawLine(QPointF(box.left() + radius, box.top() + 1), QPointF(box.right() - radius, box.top() + 1));
    painter.setPen(QPen(m_face.darker(isDown() ? 175 : 150), 1));
    painter.drawPath(outline);

    if (hasFocus()) {
        QPen focusPen(QColor(0x20, 0x20, 0x20), 1, Qt::DotLine);
        painter.setPen(focusPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(3, 3, -3, -3), 2, 2);
    }

    const QPointF shift = isDown() ? QPointF(1, 1) : QPointF(0, 0);
    if (m_renderer && m_renderer->isValid()) {
        const QSizeF art = m_renderer->defaultSize();
        const QRectF target(QPointF((width() - art.width()) / 2.0, (height() - art.height()) / 2.0) + shift, art);
        m_renderer->render(&painter, target);
    }
    if (!text().isEmpty()) {
        painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
        painter.drawText(QRectF(rect()).translated(shift), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}

} // namespace ui
