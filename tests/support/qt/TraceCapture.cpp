#include "tests/support/TraceCapture.h"

#include <QLoggingCategory>
#include <QString>

TraceCapture* TraceCapture::s_current = nullptr;

struct TraceSink {
    static void Collect(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        if (TraceCapture::s_current && context.category && std::string(context.category) == "lanvista.trace")
            TraceCapture::s_current->m_lines.push_back(message.toStdString());
    }
};

TraceCapture::TraceCapture()
{
    QLoggingCategory::setFilterRules(QStringLiteral("lanvista.trace.debug=true"));
    s_current = this;
    m_previous = reinterpret_cast<void*>(qInstallMessageHandler(&TraceSink::Collect));
}

TraceCapture::~TraceCapture()
{
    qInstallMessageHandler(reinterpret_cast<QtMessageHandler>(m_previous));
    s_current = nullptr;
    QLoggingCategory::setFilterRules(QString());
}
