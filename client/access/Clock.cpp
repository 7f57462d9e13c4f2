#include "Clock.h"

namespace tolven {

namespace {
std::function<QDate()> g_today;
}

QDate Today()
{
    return g_today ? g_today() : QDate::currentDate();
}

void SetTodayProvider(std::function<QDate()> provider)
{
    g_today = std::move(provider);
}

} // namespace tolven
