#include "events/EvCmd10110_qt.h"

#include "events/EventCommands.h"
#include "platform/Cp932Text_qt.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

// --- the memo ---

TMessageMemo::TMessageMemo(int maxLines, QWidget* parent) : QPlainTextEdit(parent), mMaxLines(std::max(maxLines, 1)) {
    setObjectName(QStringLiteral("Memo"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    // Room for the lines and for the longer guide, nothing more.
    const QFontMetrics metrics(font);
    const int frame = 2 * frameWidth() + 2 * static_cast<int>(document()->documentMargin());
    setFixedHeight(metrics.lineSpacing() * mMaxLines + frame + 2);
    setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('0')) * (kGuideColumns[1] + 4) + frame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, &TMessageMemo::Check);
}

int TMessageMemo::GuideX(int column) const {
    const int origin = static_cast<int>(document()->documentMargin() + contentOffset().x());
    return origin + fontMetrics().horizontalAdvance(QString(column, QLatin1Char('0')));
}

// Keeps the memo within its lines and its code page: a change that goes beyond either is taken
// back (a paste keeps the lines that fit).
void TMessageMemo::Check() {
    if (mChecking)
        return;
    mChecking = true;
    QString text = toPlainText();
    if (!QStringToCp932(text)) {
        const int at = std::min(textCursor().position(), static_cast<int>(mAccepted.size()));
        setPlainText(mAccepted);
        QTextCursor cursor = textCursor();
        cursor.setPosition(at);
        setTextCursor(cursor);
    } else if (document()->blockCount() > mMaxLines) {
        const int at = textCursor().position();
        QStringList lines = text.split(QLatin1Char('\n'));
        lines = lines.mid(0, mMaxLines);
        text = lines.join(QLatin1Char('\n'));
        setPlainText(text);
        QTextCursor cursor = textCursor();
        cursor.setPosition(std::min(at, static_cast<int>(text.size())));
        setTextCursor(cursor);
        mAccepted = text;
    } else {
        mAccepted = text;
    }
    mChecking = false;
}

void TMessageMemo::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        emit ConfirmRequested();
        return;
    }
    // A new line only while there is room for it.
    if (enter && document()->blockCount() >= mMaxLines) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TMessageMemo::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    for (const int column : kGuideColumns) {
        const int x = GuideX(column);
        painter.drawLine(x, 0, x, viewport()->height());
    }
}

// --- the dialog ---

TFormEvCmd10110::TFormEvCmd10110(QWidget* parent, const TCommandForm& form, const TEventCommandContext& context,
                                 TKelEventScriptList& resultScript)
    : TFormEvCmdBase(parent, form, context, resultScript, TLayout::OwnLayout),
      mMemo(new TMessageMemo(static_cast<int>(form.MaxTextLines > 0 ? form.MaxTextLines : 4), Body())) {
    auto* layout = new QVBoxLayout(Body());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(form.Code == TCommandCode::Comment ? tr("&Comment:") : tr("&Message:"), Body());
    label->setObjectName(QStringLiteral("LabelMemo"));
    label->setBuddy(mMemo);
    layout->addWidget(label);
    layout->addWidget(mMemo);
    mMemo->setAccessibleName(form.Code == TCommandCode::Comment ? tr("Comment") : tr("Message"));

    QStringList lines;
    for (const std::string& line : Model().Record().Lines)
        lines << Cp932ToQString(line);
    mMemo->setPlainText(lines.join(QLatin1Char('\n')));
    mMemo->moveCursor(QTextCursor::End);
    connect(mMemo, &TMessageMemo::ConfirmRequested, ButtonOk(), &QPushButton::click);
    // Enter makes a new line in the memo; only Ctrl+Enter confirms.
    ButtonOk()->setDefault(false);
    ButtonOk()->setAutoDefault(false);
    ButtonsLastInTabOrder();
    FitToContents();
    mMemo->setFocus();
}

void TFormEvCmd10110::TakeInput() {
    QStringList lines = mMemo->toPlainText().split(QLatin1Char('\n'));
    // A line break at the very end starts no line of its own.
    if (lines.size() > 1 && lines.back().isEmpty())
        lines.removeLast();
    std::vector<std::string> bytes;
    for (const QString& line : lines.mid(0, mMemo->MaxLines()))
        bytes.push_back(QStringToCp932(line).value_or(std::string()));
    Model().Record().Lines = std::move(bytes);
}

}  // namespace quillon
