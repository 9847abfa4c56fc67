// Captures what one logging category says while the object lives: the category is switched on,
// its messages are kept, everything else goes to the handler that was there before.
#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

class LogCapture {
public:
    explicit LogCapture(const char* category) : category_(category)
    {
        QLoggingCategory::setFilterRules(QLatin1String(category) + QLatin1String("=true"));
        self_ = this;
        previous_ = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& c, const QString& m) {
                if (self_ && QLatin1String(c.category) == QLatin1String(self_->category_))
                    self_->lines_ << m;
                else if (self_ && self_->previous_)
                    self_->previous_(type, c, m);
            });
    }
    ~LogCapture() { stop(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Ends the capture early; the lines stay readable.
    void stop()
    {
        if (self_ != this)
            return;
        qInstallMessageHandler(previous_);
        QLoggingCategory::setFilterRules(QString());
        self_ = nullptr;
    }
    const QStringList& lines() const { return lines_; }

private:
    inline static LogCapture* self_ = nullptr;
    const char* category_;
    QtMessageHandler previous_ = nullptr;
    QStringList lines_;
};
