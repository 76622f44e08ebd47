#pragma once

#include <QAbstractButton>
#include <QColor>

class QSvgRenderer;

namespace ui {

// The push button of every command of the program: a flat coloured face
// with its caption, or a picture, in the middle. The program changes its
// caption (setText), visibility and left edge at run time and reacts to
// clicked().
class PushButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PushButton(QWidget *parent = nullptr);

    void setFace(const QColor &face);
    QColor face() const { return m_face; }
    void setPicture(const QString &resource);
    QString picture() const { return m_picture; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QColor m_face = QColor(0xD5, 0xD7, 0xE1);
    QString m_picture;
    QSvgRenderer *m_renderer = nullptr;
    bool m_hovered = false;
};

} // namespace ui
