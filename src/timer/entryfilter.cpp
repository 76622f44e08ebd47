#include "timer/entryfilter.h"

#include "timer/clockrules.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace timer {

EntryFilter::EntryFilter(ui::Messages &messages, QObject *parent) : QObject(parent), m_messages(messages) {}

void EntryFilter::watch(QLineEdit *field) { field->installEventFilter(this); }

bool EntryFilter::admit(QLineEdit *field, const QString &typed)
{
    for (const char32_t character : typed.toUcs4()) {
        switch (entryOf(character)) {
        case Entry::Accept:
            continue;
        case Entry::Refuse:
            m_messages.show(field->window(), ui::MessageIcon::Warning, QStringLiteral(" Only full numbers allowed !"));
            return false;
        case Entry::Drop:
            return false;
        }
    }
    return true;
}

bool EntryFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // The clipboard and editing shortcuts (Ctrl+V, ...) are dropped, also
        // where the platform reports no character for them.
        const bool withControl = key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
        if (withControl && key->key() >= Qt::Key_Space && key->key() <= Qt::Key_ydiaeresis)
            return true;
        // Delete types no character, though some keyboards report one.
        if (key->text().isEmpty() || key->key() == Qt::Key_Delete)
            return false;
        return !admit(field, key->text());
    }
    if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method is typed text too.
        auto *input = static_cast<QInputMethodEvent *>(event);
        if (!input->commitString().isEmpty() && !admit(field, input->commitString())) {
            QInputMethodEvent without(input->preeditString(), input->attributes());
            QCoreApplication::sendEvent(field, &without);
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
