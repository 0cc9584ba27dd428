// A dash box: a sunken caption box showing a value (a music name, a graphic, an area) that opens
// its chooser on a click, Enter or Space. To assistive tools it is a button named after its field,
// its text the description.
#pragma once

#include <QAbstractButton>

namespace quillon {

class TDashBox : public QAbstractButton {
    Q_OBJECT
public:
    // `fieldName`: what the box stands for ("Music", "Area"), its accessible name.
    explicit TDashBox(const QString& fieldName, QWidget* parent = nullptr);
    void SetText(const QString& text);
    QString Text() const { return text(); }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user asked for the chooser.
    void ChooseRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quillon
