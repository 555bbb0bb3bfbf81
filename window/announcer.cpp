// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace edt {
namespace {

const char kNoteProperty[] = "edtNote";

// A label that screen readers take for a notification, named by its text.
class NoteInterface : public QAccessibleWidget {
public:
    explicit NoteInterface(QLabel* label) : QAccessibleWidget(label, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* noteFactory(const QString& className, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (className == QLatin1String("QLabel") && label && label->property(kNoteProperty).toBool())
        return new NoteInterface(label);
    return nullptr;
}

} // namespace

void makeNote(QLabel* label) {
    static const bool installed = (QAccessible::installFactory(noteFactory), true);
    (void)installed;
    label->setProperty(kNoteProperty, true);
}

void announce(QLabel* note) {
    if (note->text().isEmpty() || !note->isVisible())
        return;
    QAccessibleEvent shown(note, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace edt
