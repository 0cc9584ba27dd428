// The editor's own help window, for when no web browser can be started: our HTML help pages in a
// text browser with "Back", "Forward" and "Index".
#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace quillon {

class TFormHelp : public QWidget {
    Q_OBJECT
public:
    explicit TFormHelp(QWidget* parent = nullptr);
    // Shows a page file (a missing one shows a short notice instead).
    void OpenPage(const QString& file);
    // The help index beside the page shown ("index.html" in its folder).
    void ShowIndex();
    QTextBrowser* Browser() const { return mBrowser; }
    QPushButton* ButtonBack() const { return mBack; }
    QPushButton* ButtonForward() const { return mForward; }
    QPushButton* ButtonIndex() const { return mIndex; }

private:
    void UpdateButtons();
    QTextBrowser* mBrowser;
    QPushButton* mBack;
    QPushButton* mForward;
    QPushButton* mIndex;
    QString mFolder;
};

// The help page file of a context in a folder of pages: "<folder>/<topic>.html".
QString HelpPageFile(const QString& folder, int context);
// Opens the program's help window (made on first use, kept for the run) on a page and brings it up.
void ShowHelpPage(const QString& file);
// The help window ShowHelpPage made; null before.
TFormHelp* HelpWindow();

}  // namespace quillon
