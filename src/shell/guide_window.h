#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// "Quorvane Guide": the program's own help, compiled into it, so that it reads the same
// without a network or a browser. One guide serves both windows.
class GuideWindow : public QWidget {
    Q_OBJECT
  public:
    // Shows the guide of `owner`, made on first use and raised from then on, at `section` (an
    // anchor of the guide) when one is given. The guide is a window of the owner's and goes with
    // it.
    static GuideWindow* showFor(QWidget* owner, const QString& section = QString());

    // F1 anywhere in `window` shows the guide of `owner`, or of the window itself without one,
    // at the window's `section`: the batch window passes the main window, so that both share
    // one guide that outlives an unload. `helpButton` keeps its own click; its tooltip says what
    // the click does (`helpDoes`) and names the guide, so that the mouse user learns of it too.
    static void addKey(QWidget* window, QPushButton* helpButton, const QString& helpDoes,
                       QWidget* owner = nullptr, const QString& section = QString());

    // The guide's text as the window shows it.
    QString plainText() const;

  private:
    explicit GuideWindow(QWidget* owner);

    QTextBrowser* text_;
};
