// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/find_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace edt {

FindBar::FindBar(QWidget* parent)
    : QFrame(parent), field_(new QLineEdit(this)), note_(new QLabel(this)) {
    setObjectName(QStringLiteral("FindBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    field_->setObjectName(QStringLiteral("FindField"));
    field_->setPlaceholderText(QStringLiteral("Find key or text"));
    field_->setClearButtonEnabled(true);
    field_->installEventFilter(this);
    note_->setObjectName(QStringLiteral("FindNote"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(field_, 1);
    row->addWidget(note_);
    connect(field_, &QLineEdit::returnPressed, this, [this] { emit next(true); });
    connect(field_, &QLineEdit::textEdited, this, [this] { note_->clear(); });
    hide();
}

void FindBar::open(const QRect& over) {
    const int width = qMin(over.width(), 320);
    setGeometry(over.right() - width - 18, over.top() + 2, width, sizeHint().height());
    show();
    raise();
    field_->setFocus();
    field_->selectAll();
}

QString FindBar::query() const {
    return field_->text();
}

void FindBar::setNote(const QString& note) {
    note_->setText(note);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace edt
