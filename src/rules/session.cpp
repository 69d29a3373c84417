#include "session.h"

namespace terravale {

Session &session()
{
    static Session record;
    return record;
}

void resetSession()
{
    session() = Session();
}

QString numText(int number)
{
    return number >= 0 ? QLatin1Char(' ') + QString::number(number) : QString::number(number);
}

} // namespace terravale
