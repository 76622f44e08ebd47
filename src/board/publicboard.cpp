#include "board/publicboard.h"

namespace board {

PublicBoard::PublicBoard(QObject *parent) : QObject(parent) {}

void PublicBoard::announce(bool didChange, void (PublicBoard::*signal)())
{
    if (!didChange)
        return;
    (this->*signal)(); // emits it
    emit changed();
}

void PublicBoard::open(const QString &fieldNumber, bool mirrored)
{
    m_state = State::opened(fieldNumber.toStdString(), mirrored, m_state.performers);
    announce(true, &PublicBoard::opened);
}

void PublicBoard::setCounts(int red, int blue) { announce(m_state.setCounts(red, blue), &PublicBoard::countsChanged); }

void PublicBoard::write(Digit digit, const QString &text)
{
    if (!m_state.write(digit, text.toStdString()))
        return;
    emit digitChanged(digit);
    emit changed();
}

void PublicBoard::setClockColour(ui::BgrColour colour)
{
    announce(m_state.setClockColour(colour), &PublicBoard::clockColourChanged);
}

void PublicBoard::setClockShown(bool shown) { announce(m_state.setClockShown(shown), &PublicBoard::clockShownChanged); }

void PublicBoard::setFieldNumber(const QString &text)
{
    announce(m_state.setFieldNumber(text.toStdString()), &PublicBoard::fieldNumberChanged);
}

void PublicBoard::setMirrored(bool mirrored) { announce(m_state.setMirrored(mirrored), &PublicBoard::mirroredChanged); }

void PublicBoard::setPerformers(const Performers &performers)
{
    announce(m_state.setPerformers(performers), &PublicBoard::performersChanged);
}

} // namespace board
