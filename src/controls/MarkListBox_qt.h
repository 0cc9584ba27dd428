// The owner-drawn list box: each row may carry a mark in a gutter at the left (a check, a dot, an
// arrow) and an icon before its text. The marks are drawn by the list, not the style, so they look
// alike everywhere; each row's accessible text says its mark.
#pragma once

#include <QListWidget>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace quillon {

enum class TListMark { None, Check, Dot, Arrow };

class TMarkListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kMarkRole = Qt::UserRole + 1;
    static constexpr int kGutter = 16;

    explicit TMarkListBox(QWidget* parent = nullptr);
    // Adds a row (icon may be null) and answers its index.
    int AddRow(const QString& text, TListMark mark = TListMark::None, const QPixmap& icon = {});
    void SetMark(int row, TListMark mark);
    TListMark Mark(int row) const;
    void SetIcon(int row, const QPixmap& icon);
};

// Paints a row: gutter with the mark, icon, text, selection as the style shows it.
class TMarkItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace quillon
