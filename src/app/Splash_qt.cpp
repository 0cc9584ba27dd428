#include "app/Splash_qt.h"

#include "app/MainUnit.h"
#include "app/MainUnit_qt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

namespace {

// Where the subtitle goes: under the name, up to a margin before the picture's right edge.
constexpr int kSubtitleLeft = 133;
constexpr int kSubtitleBaseline = 122;
constexpr int kSubtitleRightMargin = 12;
constexpr int kSubtitlePixelSize = 15;
constexpr int kSubtitleSmallestPixelSize = 9;

}  // namespace

QPixmap SplashPicture() {
    InitResources();
    QPixmap picture = QIcon(QStringLiteral(":/quillon/icons/splash.svg")).pixmap(QSize(400, 240));
    // The subtitle is drawn here, in the font the system has, made small enough to fit.
    const QString subtitle = QCoreApplication::translate("quillon::TFormSplash",
                                                         "an editor for tile-based role-playing games");
    const int room = picture.width() / std::max(1.0, picture.devicePixelRatio()) - kSubtitleLeft - kSubtitleRightMargin;
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kSubtitlePixelSize);
    while (font.pixelSize() > kSubtitleSmallestPixelSize && QFontMetrics(font).horizontalAdvance(subtitle) > room)
        font.setPixelSize(font.pixelSize() - 1);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(QColor(0xdf, 0xe8, 0xf4));
    const QFontMetrics metrics(font);
    painter.drawText(kSubtitleLeft, kSubtitleBaseline, metrics.elidedText(subtitle, Qt::ElideRight, room));
    return picture;
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
