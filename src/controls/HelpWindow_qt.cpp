#include "controls/HelpWindow_qt.h"

#include "controls/Help.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon {

namespace {

QPointer<TFormHelp>& Window() {
    static QPointer<TFormHelp> window;
    return window;
}

}  // namespace

TFormHelp::TFormHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("FormHelp");
    setWindowTitle(tr("Help"));
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    mBack = new QPushButton(tr("&Back"), this);
    mBack->setObjectName("ButtonBack");
    mForward = new QPushButton(tr("&Forward"), this);
    mForward->setObjectName("ButtonForward");
    mIndex = new QPushButton(tr("&Index"), this);
    mIndex->setObjectName("ButtonIndex");
    buttons->addWidget(mBack);
    buttons->addWidget(mForward);
    buttons->addWidget(mIndex);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    mBrowser = new QTextBrowser(this);
    mBrowser->setObjectName("HelpBrowser");
    mBrowser->setAccessibleName(tr("Help page"));
    mBrowser->setOpenExternalLinks(true);  // links out of the help go to the browser, if any
    layout->addWidget(mBrowser, 1);
    setTabOrder(mBack, mForward);
    setTabOrder(mForward, mIndex);
    setTabOrder(mIndex, mBrowser);
    connect(mBack, &QPushButton::clicked, mBrowser, &QTextBrowser::backward);
    connect(mForward, &QPushButton::clicked, mBrowser, &QTextBrowser::forward);
    connect(mIndex, &QPushButton::clicked, this, &TFormHelp::ShowIndex);
    connect(mBrowser, &QTextBrowser::historyChanged, this, &TFormHelp::UpdateButtons);
    connect(mBrowser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QString title = mBrowser->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Help") : tr("Help - %1").arg(title));
        if (url.isLocalFile())
            mFolder = QFileInfo(url.toLocalFile()).absolutePath();
    });
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(720, 560);
    UpdateButtons();
}

void TFormHelp::OpenPage(const QString& file) {
    const QFileInfo info(file);
    mFolder = info.absolutePath();
    mBrowser->setSearchPaths({mFolder});
    if (info.isFile()) {
        mBrowser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    } else {
        mBrowser->setHtml(tr("<p>The help page %1 cannot be found.</p>").arg(info.fileName().toHtmlEscaped()));
    }
    UpdateButtons();
}

void TFormHelp::ShowIndex() { OpenPage(QDir(mFolder).filePath(QString::fromStdString(HelpTopicName(kHelpIndexContext)) + ".html")); }

void TFormHelp::UpdateButtons() {
    mBack->setEnabled(mBrowser->isBackwardAvailable());
    mForward->setEnabled(mBrowser->isForwardAvailable());
}

QString HelpPageFile(const QString& folder, int context) {
    return QDir(folder).filePath(QString::fromStdString(HelpTopicName(context)) + ".html");
}

void ShowHelpPage(const QString& file) {
    QPointer<TFormHelp>& window = Window();
    if (!window)
        window = new TFormHelp;
    // Asked for from inside a modal dialog, the window would be blocked by it: it is modal
    // itself then, and an ordinary window otherwise.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality modality = modal && modal != window ? Qt::ApplicationModal : Qt::NonModal;
    if (window->windowModality() != modality) {
        window->hide();
        window->setWindowModality(modality);
    }
    window->OpenPage(file);
    window->show();
    window->raise();
    window->activateWindow();
}

TFormHelp* HelpWindow() { return Window().data(); }

}  // namespace quillon
