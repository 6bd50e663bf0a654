// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer.
#include "ui/help_viewer.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/list_table_model.h"

namespace plovane {

HelpViewer::HelpViewer(const QString& page, QWidget* parent)
    : QWidget(parent, Qt::Window), page_(page) {
    setObjectName("helpViewer");
    setWindowTitle(tr("Plovane Help"));
    browser_ = new QTextBrowser(this);
    // Links inside the page and to other local pages stay here; the web goes to the browser.
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);
    auto* back = new QPushButton(tr("&Back"), this);
    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* close = new QPushButton(tr("Close"), this);
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(contents, &QPushButton::clicked, this, [this] { ShowTopic({}); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addLayout(buttons);
    ResizeWithinScreen(*this, QSize(720, 640));
}

void HelpViewer::ShowTopic(const QString& topic) {
    QUrl url = QUrl::fromLocalFile(page_);
    if (!topic.isEmpty())
        url.setFragment(topic);
    if (browser_->source().adjusted(QUrl::RemoveFragment) != url.adjusted(QUrl::RemoveFragment))
        browser_->setSource(url);
    if (topic.isEmpty())
        browser_->verticalScrollBar()->setValue(0);
    else
        browser_->scrollToAnchor(topic);
}

}  // namespace plovane
