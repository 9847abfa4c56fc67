// The program's help, shown from its own HTML file in a window of its own.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace qmx {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows `path` from its start.
    void showFile(const QString& path);

private:
    QTextBrowser* browser_ = nullptr;
};

} // namespace qmx
