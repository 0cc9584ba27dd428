// The painted parts of the hero page and its curve dialogs: a small parameter graph of the page,
// the large graph of "Curve of Abilities" drawn with the mouse, the walk and face previews, and
// the graph and tables of "Curve of Experience".
#pragma once

#include "database/ED_Player.h"
#include "database/ED_PlayerExp.h"
#include "graphics/OrlenSheet.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace quillon {

class TPlayerParameterModel;

// A small graph (100 × 54): the hero's curve of one parameter in its colour, with "Máx:" and
// the value shown. Double-click, Enter or Space open the curve dialog on it.
class TPlayerSmallGraph : public QWidget {
    Q_OBJECT
public:
    explicit TPlayerSmallGraph(QWidget* parent = nullptr);
    // What it shows: the parameter, its value at each level, and the "Máx:" value.
    void Show(int parameter, std::function<std::int32_t(int level)> value, std::int32_t shownMax);
    int Parameter() const { return mParameter; }
    QSize sizeHint() const override;

signals:
    void OpenRequested(int parameter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int mParameter = 0;
    std::function<std::int32_t(int)> mValue;
    std::int32_t mMax = 0;
};

// The large graph (500 × 250) over the dialog's model: bars of the current tab, drawn with the
// mouse.
class TPlayerParameterGraph : public QWidget {
    Q_OBJECT
public:
    explicit TPlayerParameterGraph(QWidget* parent = nullptr);
    void SetModel(TPlayerParameterModel* model);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TPlayerParameterModel* mModel = nullptr;
};

// The walk graphic (a 24 × 32 frame drawn at twice its size, walking round every 200 ms) or the
// face (48 × 48 at twice its size) of a hero.
class TPlayerGraphicPreview : public QWidget {
    Q_OBJECT
public:
    explicit TPlayerGraphicPreview(QWidget* parent = nullptr);
    // walk: a character set and its character 0 .. 7; else a face set and its face 0 .. 15.
    void ShowGraphic(bool walk, const std::string& name, int index, bool transparent);
    // The walk counter starts again (a new entry).
    void Restart() { mCounter = 0; }
    int Counter() const { return mCounter; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render();
    bool mWalk = true;
    int mIndex = 0;
    bool mTransparent = false;
    int mCounter = 0;
    std::string mLoaded;
    TOrlenSheet mSheet;
    bool mHasSheet = false;
    TOrlenBoard mBoard;
    QTimer mTimer;
};

// "Curve of Experience": the bars of the totals, and one of the two tables.
class TPlayerExpGraph : public QWidget {
    Q_OBJECT
public:
    explicit TPlayerExpGraph(QWidget* parent = nullptr);
    void SetTotals(const TExpTotals* totals) {
        mTotals = totals;
        update();
    }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TExpTotals* mTotals = nullptr;
};

class TPlayerExpTable : public QWidget {
    Q_OBJECT
public:
    explicit TPlayerExpTable(QWidget* parent = nullptr);
    // next: the "Next Level" table, else "Total EXP".
    void SetTotals(const TExpTotals* totals, bool next);
    QSize sizeHint() const override;
    // The fifty lines as shown (UTF-8 made into text once per change).
    const QStringList& Lines() const { return mLines; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList mLines;
    bool mNext = false;
};

}  // namespace quillon
