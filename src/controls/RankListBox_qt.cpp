// Before any Qt header: Signal.h names a local "slots".
#include "controls/RankList.h"

#include "controls/RankListBox_qt.h"

#include "platform/Cp932Text_qt.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace quillon {

TRankListBox::TRankListBox(TRankListModel& model, QWidget* parent) : QTreeWidget(parent), mModel(model) {
    setColumnCount(2);
    setHeaderLabels({tr("Name"), tr("Rank")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    mChanged = std::make_unique<TConnection>(mModel.Changed.Connect([this](int row, int rank) { ShowRank(row, rank); }));
    Refresh();
}

TRankListBox::~TRankListBox() = default;

void TRankListBox::Refresh() {
    const int current = indexOfTopLevelItem(currentItem());
    clear();
    for (const TRankListModel::TRow& row : mModel.Rows()) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, Cp932ToQString(row.Name));
        item->setText(1, QString(QChar(RankLetter(row.Rank))));
        item->setTextAlignment(1, Qt::AlignCenter);
    }
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(std::clamp(current, 0, topLevelItemCount() - 1)));
}

void TRankListBox::ShowRank(int row, int rank) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setText(1, QString(QChar(RankLetter(rank))));
}

void TRankListBox::keyPressEvent(QKeyEvent* event) {
    const int row = indexOfTopLevelItem(currentItem());
    const QString text = event->text();
    if (row >= 0 && text.size() == 1 && RankOfLetter(text[0].toLatin1()) >= 0) {
        mModel.SetRank(row, RankOfLetter(text[0].toLatin1()));
        event->accept();
        return;
    }
    if (row >= 0) {
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Right:
        case Qt::Key_Space:
            mModel.StepRank(row, 1);
            event->accept();
            return;
        case Qt::Key_Minus:
        case Qt::Key_Left:
            mModel.StepRank(row, -1);
            event->accept();
            return;
        default: break;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

void TRankListBox::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 1) {
        const int step = event->button() == Qt::RightButton ? -1 : event->button() == Qt::LeftButton ? 1 : 0;
        if (step != 0)
            mModel.StepRank(index.row(), step);
    }
}

}  // namespace quillon
