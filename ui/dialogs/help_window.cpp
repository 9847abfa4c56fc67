#include "ui/dialogs/help_window.h"

#include "model/string_table.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qmx {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("Browser"));
    browser_->setOpenExternalLinks(false);
    v->addWidget(browser_);
    resize(860, 680);
}

void HelpWindow::showFile(const QString& path)
{
    setWindowTitle(LoadResString(1));
    browser_->setSource(QUrl::fromLocalFile(path));
}

} // namespace qmx
