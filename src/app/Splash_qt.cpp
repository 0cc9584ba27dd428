#include "app/Splash_qt.h"

#include "app/MainUnit.h"
#include "app/MainUnit_qt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

QPixmap SplashPicture() {
    InitResources();
    return QIcon(QStringLiteral(":/quillon/icons/splash.svg")).pixmap(QSize(400, 240));
}

TFormSplash::TFormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FormSplash"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image"));
    picture->setPixmap(SplashPicture());
    layout->addWidget(picture);
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    QTimer::singleShot(kSplashMillis, this, &QWidget::close);
}

TFormAboutBox::TFormAboutBox(QWidget* parent) : TFormKelBase(parent) {
    setObjectName(QStringLiteral("FormAboutBox"));
    setWindowTitle(tr("About %1").arg(QString::fromUtf8(kApplicationTitle)));
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image"));
    picture->setPixmap(SplashPicture());
    layout->addWidget(picture);
    auto* text = new QLabel(tr("%1 %2").arg(QString::fromUtf8(kApplicationTitle), QApplication::applicationVersion()), this);
    text->setObjectName(QStringLiteral("LabelVersion"));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormKelBase::Confirm);
    layout->addWidget(buttons);
}

}  // namespace quillon
