// SPDX-License-Identifier: GPL-3.0-or-later
// The help page in the program's own viewer: a QTextBrowser that follows the page's links
// (sections of the page, other bundled pages) and hands web links to the desktop's browser.
// One viewer is kept and raised again; F1 opens it at the current window's topic.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace plovane {

// Thread-affine: the user-interface thread.
class HelpViewer : public QWidget {
    Q_OBJECT
  public:
    // `page`: the help page's file.
    explicit HelpViewer(const QString& page, QWidget* parent = nullptr);

    // Shows the section with this id ("stations"); empty: the top of the page.
    void ShowTopic(const QString& topic);
    QTextBrowser* browser() const { return browser_; }

  private:
    QString page_;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace plovane
