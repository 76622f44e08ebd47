#include "timer/entryfilter.h"

#include "timer/clockrules.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace timer {

EntryFilter::EntryFilter(platform::Messages &messages, QObject *parent) : QObject(parent), m_messages(messages) {}

void EntryFilter::watch(QLineEdit *field) { field->installEventFilter(this); }

QString EntryFilter::admitted(QLineEdit *field, const QString &typed)
{
    QString kept;
    for (const char32_t character : typed.toUcs4()) {
        switch (entryOf(character)) {
        case Entry::Accept:
            kept += QString::fromUcs4(&character, 1);
            break;
        case Entry::Refuse:
            m_messages.show(field->window(), platform::MessageIcon::Warning,
                            QStringLiteral(" Only full numbers allowed !"));
            break;
        case Entry::Drop:
            break;
        }
    }
    return kept;
}

bool EntryFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Keys that move the focus or type no character work as usual
        // (some keyboards report a character for Tab and Delete).
        const int code = key->key();
        if (code == Qt::Key_Tab || code == Qt::Key_Backtab || code == Qt::Key_Delete)
            return false;
        // A printable key held with Ctrl, Alt or Meta types nothing here:
        // the clipboard shortcuts (Ctrl+V) are dropped, also where the
        // platform reports no character for them, and so are Shift+Insert
        // and the other ways of pasting or undoing by key.
        const bool withModifier = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if ((withModifier && code >= Qt::Key_Space && code <= Qt::Key_ydiaeresis) || key->matches(QKeySequence::Paste)
            || key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true;
        if (key->text().isEmpty())
            return false;
        return admitted(field, key->text()) != key->text();
    }
    if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method is typed text too: each of its
        // characters goes through the filter.
        auto *input = static_cast<QInputMethodEvent *>(event);
        const QString kept = admitted(field, input->commitString());
        if (kept != input->commitString()) {
            QInputMethodEvent filtered(input->preeditString(), input->attributes());
            filtered.setCommitString(kept, input->replacementStart(), input->replacementLength());
            QCoreApplication::sendEvent(field, &filtered);
            return true;
        }
    }
    return false;
}

void keepMinutesToOneDigit(QLineEdit *minutes)
{
    QObject::connect(minutes, &QLineEdit::textChanged, minutes, [minutes](const QString &text) {
        if (minutesTooLarge(text.toStdString()))
            minutes->setText(QStringLiteral("0"));
    });
}

} // namespace timer
