#include "controls/MarkListBox_qt.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon {

namespace {

QString MarkWord(TListMark mark) {
    switch (mark) {
    case TListMark::Check: return TMarkListBox::tr("checked");
    case TListMark::Dot: return TMarkListBox::tr("marked");
    case TListMark::Arrow: return TMarkListBox::tr("current");
    case TListMark::None: break;
    }
    return {};
}

void DrawMark(QPainter& p, TListMark mark, const QRect& box, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colour, 2));
    p.setBrush(colour);
    const QPointF c = QRectF(box).center();
    switch (mark) {
    case TListMark::Check: {
        QPainterPath path;
        path.moveTo(c.x() - 4, c.y());
        path.lineTo(c.x() - 1, c.y() + 3);
        path.lineTo(c.x() + 4, c.y() - 4);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        break;
    }
    case TListMark::Dot: p.drawEllipse(c, 3, 3); break;
    case TListMark::Arrow: {
        const QPointF tri[3] = {{c.x() - 3, c.y() - 4}, {c.x() + 3, c.y()}, {c.x() - 3, c.y() + 4}};
        p.setPen(Qt::NoPen);
        p.drawPolygon(tri, 3);
        break;
    }
    case TListMark::None: break;
    }
    p.restore();
}

}  // namespace

TMarkListBox::TMarkListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TMarkItemDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int TMarkListBox::AddRow(const QString& text, TListMark mark, const QPixmap& icon) {
    auto* it = new QListWidgetItem(text, this);
    if (!icon.isNull())
        it->setIcon(QIcon(icon));
    SetMark(count() - 1, mark);
    return count() - 1;
}

void TMarkListBox::SetMark(int row, TListMark mark) {
    if (QListWidgetItem* it = item(row)) {
        it->setData(kMarkRole, static_cast<int>(mark));
        const QString word = MarkWord(mark);
        it->setData(Qt::AccessibleTextRole, word.isEmpty() ? it->text() : it->text() + ", " + word);
    }
}

TListMark TMarkListBox::Mark(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? static_cast<TListMark>(it->data(kMarkRole).toInt()) : TListMark::None;
}

void TMarkListBox::SetIcon(int row, const QPixmap& icon) {
    if (QListWidgetItem* it = item(row))
        it->setIcon(icon.isNull() ? QIcon() : QIcon(icon));
}

void TMarkItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QRect gutter(option.rect.left(), option.rect.top(), TMarkListBox::kGutter, option.rect.height());
    QStyleOptionViewItem rest(option);
    rest.rect.setLeft(option.rect.left() + TMarkListBox::kGutter);
    painter->fillRect(gutter, option.palette.color(QPalette::Base));
    QStyledItemDelegate::paint(painter, rest, index);
    const auto mark = static_cast<TListMark>(index.data(TMarkListBox::kMarkRole).toInt());
    DrawMark(*painter, mark, gutter, option.palette.color(QPalette::Text));
}

QSize TMarkItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += TMarkListBox::kGutter;
    size.setHeight(std::max(size.height(), 18));
    return size;
}

}  // namespace quillon
