#include "controls/DashBox_qt.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quillon {

namespace {
constexpr int kDashWidth = 18;  // the "..." part at the right
}

TDashBox::TDashBox(const QString& fieldName, QWidget* parent) : QAbstractButton(parent) {
    setAccessibleName(fieldName);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &TDashBox::ChooseRequested);
}

void TDashBox::SetText(const QString& text) {
    setText(text);
    setAccessibleDescription(text);
    update();
}

QSize TDashBox::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return QSize(std::max(120, fm.horizontalAdvance(text()) + kDashWidth + 12), fm.height() + 8);
}

QSize TDashBox::minimumSizeHint() const { return QSize(kDashWidth + 24, fontMetrics().height() + 8); }

void TDashBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    const QPalette::ColorRole base = isEnabled() ? QPalette::Base : QPalette::Window;
    p.fillRect(rect(), palette().color(base));
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &p, this);
    const QRect inner = rect().adjusted(4, 2, -kDashWidth - 2, -2);
    const QRect dash(width() - kDashWidth - 2, 2, kDashWidth, height() - 4);
    if (isDown())
        p.fillRect(dash, palette().color(QPalette::Mid));
    else
        p.fillRect(dash, palette().color(QPalette::Button));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p.drawText(inner, Qt::AlignVCenter | Qt::AlignLeft,
               fontMetrics().elidedText(text(), Qt::ElideRight, inner.width()));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(dash, Qt::AlignCenter, QStringLiteral("..."));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inner.adjusted(-2, 0, 2, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void TDashBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (isEnabled())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace quillon
