#include "platform/base/clock.h"

#include <optional>

namespace {
std::optional<QDateTime> fixedMoment;
}

QDate Clock::today()
{
    return now().date();
}

QDateTime Clock::now()
{
    return fixedMoment ? *fixedMoment : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime& moment)
{
    if (moment.isValid())
        fixedMoment = moment;
    else
        fixedMoment.reset();
}

void Clock::reset()
{
    fixedMoment.reset();
}
