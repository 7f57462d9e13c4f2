#include "Clock.h"

namespace tolven {

namespace {
std::function<QDate()> g_today;
std::function<QDateTime()> g_now;
}

QDate Today()
{
    return g_today ? g_today() : Now().date();
}

void SetTodayProvider(std::function<QDate()> provider)
{
    g_today = std::move(provider);
}

QDateTime Now()
{
    return g_now ? g_now() : QDateTime::currentDateTime();
}

void SetNowProvider(std::function<QDateTime()> provider)
{
    g_now = std::move(provider);
}

} // namespace tolven
