#include "tests/support/Wait.h"

#include <QDeadlineTimer>
#include <QTest>

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QTest::qWait(5);
    }
    return true;
}
