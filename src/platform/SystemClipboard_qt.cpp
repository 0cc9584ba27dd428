#include "platform/SystemClipboard_qt.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillon {

TSystemClipboard::TSystemClipboard() {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        mWatch = QObject::connect(clipboard, &QClipboard::dataChanged, [this] { Changed.Emit(); });
}

TSystemClipboard::~TSystemClipboard() { QObject::disconnect(mWatch); }

QString TSystemClipboard::MimeType(int format) {
    return QStringLiteral("application/x-quillon-%1").arg(format);
}

bool TSystemClipboard::HasFormat(int format) const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(MimeType(format));
}

std::optional<std::string> TSystemClipboard::GetData(int format) const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(MimeType(format)))
        return std::nullopt;
    const QByteArray bytes = data->data(MimeType(format));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void TSystemClipboard::SetData(int format, const std::string& bytes) {
    auto data = std::make_unique<QMimeData>();
    data->setData(MimeType(format), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard takes ownership
}

}  // namespace quillon
