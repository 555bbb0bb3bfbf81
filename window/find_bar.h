// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;

namespace edt {

// The find field: a small bar that lies over the window while it is used, outside the
// window's design (no menu item, not in the tab order when hidden). Enter asks for the
// next match, Escape closes it; a short note says when the search went round the end.
class FindBar : public QFrame {
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent);

    // Shows the bar at the top right of `over` (in the parent's coordinates) with the
    // field focused and its text selected.
    void open(const QRect& over);
    QString query() const;
    void setNote(const QString& note);

signals:
    void next(bool forward);
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* field_;
    QLabel* note_;
};

} // namespace edt
