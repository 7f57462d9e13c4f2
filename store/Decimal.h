#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <optional>

namespace store {

// An exact decimal with four places, for the prices and quantities the store
// computes with: what crosses the interface as "12.50" is never a binary float.
class Decimal
{
public:
    static constexpr int Places = 4;

    constexpr Decimal() = default;
    static constexpr Decimal fromInteger(qint64 value) { return Decimal(value * Scale); }
    // "-12.5", "3", "0.1234"; "," also counts as the decimal point. More than
    // four places are rounded half away from zero. nullopt for anything else.
    static std::optional<Decimal> parse(QStringView text);

    // Rounded half away from zero to places (0 to 4), with "." as point.
    QString toString(int places) const;

    Decimal operator+(Decimal other) const { return Decimal(m_units + other.m_units); }
    Decimal operator-(Decimal other) const { return Decimal(m_units - other.m_units); }
    // Rounded to four places, half away from zero.
    Decimal operator*(Decimal other) const;
    Decimal dividedBy(qint64 divisor) const;
    // this × (100 + percent) / 100, rounded once to places (0 to 4).
    Decimal plusPercent(Decimal percent, int places) const;
    bool isZero() const { return m_units == 0; }
    auto operator<=>(const Decimal &) const = default;

private:
    static constexpr qint64 Scale = 10000;
    explicit constexpr Decimal(qint64 units) : m_units(units) {}
    static qint64 powerOfTen(int exponent);

    qint64 m_units = 0;
};

// A net price plus VAT: price × (100 + vatPercent) / 100, to two places.
inline QString PriceWithVat(Decimal net, Decimal vatPercent) { return net.plusPercent(vatPercent, 2).toString(2); }

} // namespace store
